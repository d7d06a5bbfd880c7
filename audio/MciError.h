#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vd {

// A failure inside a media device, carrying the MCIERR_* code the command layer returns and a
// detailed message for logs and tests (the person sees the code's text from mciGetErrorString).
class MciError : public std::runtime_error {
public:
    MciError(std::uint32_t code, const std::string& detail)
        : std::runtime_error(detail), code_(code) {}

    [[nodiscard]] std::uint32_t code() const noexcept { return code_; }

private:
    std::uint32_t code_;
};

} // namespace vd
