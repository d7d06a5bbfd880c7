#include "app/InstanceMessage.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QStringList>

namespace vd::instance {
namespace {

ReadMessage Read(const QByteArray& bytes) {
    QDataStream in(bytes);
    return ReadInstanceMessage(in);
}

QByteArray Words(const QStringList& words) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << words;
    return bytes;
}

TEST(InstanceMessage, ARequestReadsBackAsItWasSentAndAPartOfItWaitsForTheRest) {
    InstanceRequest request;
    request.kind = InstanceRequest::Kind::Open;
    request.enqueue = true;
    request.files = {"/music/a b.mod", "/music/\xC3\xA9t\xC3\xA9.mid"};
    const QByteArray bytes = EncodeMessage(request);

    const ReadMessage whole = Read(bytes);
    EXPECT_EQ(whole.state, ReadMessage::State::Complete);
    EXPECT_EQ(whole.request, request);

    for (const qsizetype cut : {qsizetype{0}, qsizetype{3}, bytes.size() - 1}) {
        QDataStream in(bytes.left(cut));
        EXPECT_EQ(ReadInstanceMessage(in).state, ReadMessage::State::Incomplete) << cut;
        // Nothing was taken: the same stream reads on once the rest is there.
        EXPECT_EQ(in.device() ? in.device()->pos() : 0, 0) << cut;
    }
}

TEST(InstanceMessage, WhatIsNotARequestIsRefused) {
    EXPECT_EQ(Read(Words({})).state, ReadMessage::State::Invalid);
    EXPECT_EQ(Read(Words({"1", "0"})).state, ReadMessage::State::Invalid);
    EXPECT_EQ(Read(Words({"x", "0", ""})).state, ReadMessage::State::Invalid);
    EXPECT_EQ(Read(Words({"-1", "0", ""})).state, ReadMessage::State::Invalid);
    EXPECT_EQ(Read(Words({"3", "0", ""})).state, ReadMessage::State::Invalid);

    // A count of words no command line makes is refused at once, before any word comes.
    QByteArray huge;
    QDataStream(&huge, QIODevice::WriteOnly) << quint32{0xC0000000};
    EXPECT_EQ(Read(huge).state, ReadMessage::State::Invalid);
    // A count within reason waits for its words.
    QByteArray few;
    QDataStream(&few, QIODevice::WriteOnly) << quint32{1000} << QStringLiteral("1");
    EXPECT_EQ(Read(few).state, ReadMessage::State::Incomplete);

    const ReadMessage action = Read(Words({"2", "0", "next"}));
    ASSERT_EQ(action.state, ReadMessage::State::Complete);
    EXPECT_EQ(action.request.kind, InstanceRequest::Kind::Action);
    EXPECT_EQ(action.request.action, "next");
    EXPECT_TRUE(action.request.files.empty());
}

} // namespace
} // namespace vd::instance
