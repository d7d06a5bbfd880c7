#include "tests/e2e/support/Wav.h"

#include <fstream>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace vd::e2e {

namespace {

[[nodiscard]] std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

[[nodiscard]] std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

[[nodiscard]] std::vector<std::uint8_t> read_bytes(const std::filesystem::path& path,
                                                   std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::vector<std::uint8_t> bytes(limit);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// Where the samples start, after checking that the header announces 16-bit stereo at 44.1 kHz;
// nothing while the header is not complete yet.
[[nodiscard]] std::optional<std::size_t> data_offset(const std::vector<std::uint8_t>& b) {
    if (b.size() < 12)
        return std::nullopt;
    if (b[0] != 'R' || b[1] != 'I' || b[2] != 'F' || b[3] != 'F' || b[8] != 'W' || b[9] != 'A' ||
        b[10] != 'V' || b[11] != 'E')
        throw std::runtime_error("the capture is not a WAV file");
    std::size_t at = 12;
    bool format_ok = false;
    while (at + 8 <= b.size()) {
        const std::string id(b.begin() + static_cast<std::ptrdiff_t>(at),
                             b.begin() + static_cast<std::ptrdiff_t>(at + 4));
        const std::uint32_t size = le32(b, at + 4);
        if (id == "fmt ") {
            if (at + 8 + 16 > b.size())
                return std::nullopt;
            format_ok = le16(b, at + 8) == 1 && le16(b, at + 10) == 2 &&
                        le32(b, at + 12) == static_cast<std::uint32_t>(kRateHz) &&
                        le16(b, at + 22) == 16;
            if (!format_ok)
                throw std::runtime_error("the capture is not 16-bit stereo PCM at 44.1 kHz");
        } else if (id == "data") {
            if (!format_ok)
                throw std::runtime_error("the capture has samples before its format");
            return at + 8;
        }
        at += 8 + size + (size & 1U);
    }
    return std::nullopt;
}

} // namespace

Recording read_recording(const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    Recording r;
    if (error)
        return r;
    const std::vector<std::uint8_t> b = read_bytes(path, static_cast<std::size_t>(size));
    const std::optional<std::size_t> start = data_offset(b);
    if (!start)
        return r;
    const std::size_t frames = (b.size() - *start) / 4;
    r.mono.reserve(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const auto left = static_cast<std::int16_t>(le16(b, *start + i * 4));
        const auto right = static_cast<std::int16_t>(le16(b, *start + i * 4 + 2));
        r.mono.push_back((static_cast<float>(left) + static_cast<float>(right)) / 2.0f);
    }
    return r;
}

std::size_t recorded_frames(const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return 0;
    const std::optional<std::size_t> start = data_offset(read_bytes(path, 256));
    if (!start || size < *start)
        return 0;
    return static_cast<std::size_t>((size - *start) / 4);
}

} // namespace vd::e2e
