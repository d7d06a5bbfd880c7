// Any bytes written to the player's local socket are read as a request, refused, or waited on
// for more; a request read, written again, reads back alike.

#include "app/InstanceMessage.h"

#include "fuzz/FuzzCheck.h"

#include <QByteArray>
#include <QDataStream>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using vd::fuzz::Check;

namespace {

vd::instance::ReadMessage Reread(const vd::InstanceRequest& request) {
    const QByteArray bytes = vd::instance::EncodeMessage(request);
    QDataStream in(bytes);
    return vd::instance::ReadInstanceMessage(in);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vd::instance::ReadMessage;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QDataStream in(bytes);
    const ReadMessage message = vd::instance::ReadInstanceMessage(in);
    if (message.state != ReadMessage::State::Complete)
        return 0;

    // Words go between UTF-16 and UTF-8 both ways, and not every word of a stranger survives
    // that unchanged: the request keeps its shape, and is the same from then on.
    const ReadMessage reread = Reread(message.request);
    Check(reread.state == ReadMessage::State::Complete);
    Check(reread.request.kind == message.request.kind);
    Check(reread.request.enqueue == message.request.enqueue);
    Check(reread.request.files.size() == message.request.files.size());
    Check(Reread(reread.request).request == reread.request);
    return 0;
}
