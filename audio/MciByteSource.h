#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace vd {

// The bytes of a media file, from disk or from memory, for the decoders' readers (libsndfile's and
// libmpg123's I/O callbacks and the MIDI file reader). Not thread-safe: one decoder owns it.
class MciByteSource {
public:
    virtual ~MciByteSource() = default;

    // Opens a regular file for reading. Throws MciError: MCIERR_FILE_NOT_FOUND when there is no
    // such file, MCIERR_FILE_READ when it exists but cannot be read (a folder, a FIFO or device,
    // which are refused without waiting; no permission).
    [[nodiscard]] static std::unique_ptr<MciByteSource>
    open_file(const std::filesystem::path& path);
    // A copy of `bytes`, read as if it were a file.
    [[nodiscard]] static std::unique_ptr<MciByteSource>
    from_memory(std::span<const std::uint8_t> bytes);

    // Reads up to out.size() bytes at the current offset; returns the count (0 at the end or on a
    // read error).
    virtual std::size_t read(std::span<std::uint8_t> out) = 0;
    // Moves the offset like lseek (SEEK_SET, SEEK_CUR, SEEK_END); returns the new offset, or -1 if
    // it would be negative or the whence is unknown. Offsets past the end are allowed.
    virtual std::int64_t seek(std::int64_t offset, int whence) = 0;
    [[nodiscard]] virtual std::int64_t tell() const = 0;
    [[nodiscard]] virtual std::int64_t size() const = 0;

    // Reads everything from offset 0. Throws MciError(MCIERR_INVALID_FILE) if the size is above
    // `max_bytes`, so that a huge file given to a reader meant for small ones fails cleanly.
    [[nodiscard]] std::vector<std::uint8_t> read_all(std::size_t max_bytes);
};

} // namespace vd
