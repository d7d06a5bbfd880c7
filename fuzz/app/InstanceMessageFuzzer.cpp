// Any bytes written to the player's local socket are read as a request, refused, or waited on
// for more; a request read, written again, reads back the same.

#include "app/InstanceMessage.h"

#include "fuzz/FuzzCheck.h"

#include <QByteArray>
#include <QDataStream>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using vd::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vd::instance::ReadMessage;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QDataStream in(bytes);
    const ReadMessage message = vd::instance::ReadInstanceMessage(in);
    if (message.state != ReadMessage::State::Complete)
        return 0;

    const QByteArray again = vd::instance::EncodeMessage(message.request);
    QDataStream back(again);
    const ReadMessage reread = vd::instance::ReadInstanceMessage(back);
    Check(reread.state == ReadMessage::State::Complete);
    Check(reread.request == message.request);
    return 0;
}
