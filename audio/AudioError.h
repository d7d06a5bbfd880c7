#pragma once

#include <stdexcept>
#include <string>

namespace vd {

// Failure of the sound layer: a sink that cannot open, a file that cannot be written, a module
// that the decoder rejects. The message is meant for a person.
class AudioError : public std::runtime_error {
public:
    explicit AudioError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace vd
