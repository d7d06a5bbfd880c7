#include "app/InstanceMessage.h"

#include <QDataStream>
#include <QIODevice>
#include <QStringList>

#include <optional>

namespace vd::instance {

namespace {

// Far more words than a command line can hold. The count comes first in a message, and a
// stranger's count must not decide how much the player reserves before the words are there.
constexpr quint32 kMostWords = 1U << 20;

// One request: kind, enqueue flag, action and files, as a list of texts.
QStringList Encode(const InstanceRequest& request) {
    QStringList words{QString::number(static_cast<int>(request.kind)),
                      request.enqueue ? QStringLiteral("1") : QStringLiteral("0"),
                      QString::fromStdString(request.action)};
    for (const std::string& file : request.files)
        words << QString::fromStdString(file);
    return words;
}

std::optional<InstanceRequest> Decode(const QStringList& words) {
    if (words.size() < 3)
        return std::nullopt;
    bool ok = false;
    const int kind = words[0].toInt(&ok);
    if (!ok || kind < 0 || kind > static_cast<int>(InstanceRequest::Kind::Action))
        return std::nullopt;
    InstanceRequest request;
    request.kind = static_cast<InstanceRequest::Kind>(kind);
    request.enqueue = words[1] == QLatin1String("1");
    request.action = words[2].toStdString();
    for (qsizetype i = 3; i < words.size(); ++i)
        request.files.push_back(words[i].toStdString());
    return request;
}

} // namespace

QByteArray EncodeMessage(const InstanceRequest& request) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << Encode(request);
    return bytes;
}

ReadMessage ReadInstanceMessage(QDataStream& in) {
    in.startTransaction();
    quint32 count = 0;
    in >> count;
    QStringList words;
    for (quint32 i = 0; i < count && count <= kMostWords && in.status() == QDataStream::Ok; ++i) {
        QString word;
        in >> word;
        words << word;
    }
    if (!in.commitTransaction())
        return {};
    if (count > kMostWords)
        return {ReadMessage::State::Invalid, {}};
    std::optional<InstanceRequest> request = Decode(words);
    if (!request)
        return {ReadMessage::State::Invalid, {}};
    return {ReadMessage::State::Complete, std::move(*request)};
}

} // namespace vd::instance
