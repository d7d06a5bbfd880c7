#pragma once

#include "app/SingleInstance.h"

#include <QByteArray>

class QDataStream;

// A request as it travels over the local socket, apart from the socket itself, so that what a
// stranger may write there can be read without one.
namespace vd::instance {

[[nodiscard]] QByteArray EncodeMessage(const InstanceRequest& request);

struct ReadMessage {
    enum class State {
        Incomplete, // the rest is still on its way; nothing was taken from the stream
        Invalid,    // not a request: the sender is dropped
        Complete,
    };
    State state = State::Incomplete;
    InstanceRequest request;
};

// Reads one message from `in` inside a transaction: an incomplete one leaves the stream as it was.
[[nodiscard]] ReadMessage ReadInstanceMessage(QDataStream& in);

} // namespace vd::instance
