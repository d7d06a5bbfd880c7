#include "audio/MciByteSource.h"

#include "audio/Mci.h"
#include "audio/MciError.h"
#include "base/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace vd {
namespace {

// Resolves an lseek-style request against the current offset and size.
std::int64_t seek_target(std::int64_t offset, int whence, std::int64_t current, std::int64_t size) {
    std::int64_t base = 0;
    switch (whence) {
    case SEEK_SET:
        base = 0;
        break;
    case SEEK_CUR:
        base = current;
        break;
    case SEEK_END:
        base = size;
        break;
    default:
        return -1;
    }
    if (offset < 0 ? base < -offset : base > INT64_MAX - offset)
        return -1;
    return base + offset;
}

class FileByteSource final : public MciByteSource {
public:
    FileByteSource(std::FILE* file, std::int64_t size) : file_(file), size_(size) {}
    ~FileByteSource() override { std::fclose(file_); }
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    std::size_t read(std::span<std::uint8_t> out) override {
        if (out.empty() || offset_ >= size_)
            return 0;
        const std::size_t count = std::fread(out.data(), 1, out.size(), file_);
        offset_ += static_cast<std::int64_t>(count);
        return count;
    }

    std::int64_t seek(std::int64_t offset, int whence) override {
        const std::int64_t target = seek_target(offset, whence, offset_, size_);
        if (target < 0 || fseeko(file_, static_cast<off_t>(target), SEEK_SET) != 0)
            return -1;
        offset_ = target;
        return offset_;
    }

    std::int64_t tell() const override { return offset_; }
    std::int64_t size() const override { return size_; }

private:
    std::FILE* file_;
    std::int64_t size_;
    std::int64_t offset_ = 0;
};

class MemoryByteSource final : public MciByteSource {
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> bytes)
        : bytes_(bytes.begin(), bytes.end()) {}

    std::size_t read(std::span<std::uint8_t> out) override {
        const auto size = static_cast<std::int64_t>(bytes_.size());
        if (offset_ >= size)
            return 0;
        const auto count =
            static_cast<std::size_t>(std::min<std::int64_t>(size - offset_, std::ssize(out)));
        std::memcpy(out.data(), bytes_.data() + offset_, count);
        offset_ += static_cast<std::int64_t>(count);
        return count;
    }

    std::int64_t seek(std::int64_t offset, int whence) override {
        const std::int64_t target = seek_target(offset, whence, offset_, size());
        if (target >= 0)
            offset_ = target;
        return target;
    }

    std::int64_t tell() const override { return offset_; }
    std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }

private:
    std::vector<std::uint8_t> bytes_;
    std::int64_t offset_ = 0;
};

} // namespace

std::unique_ptr<MciByteSource> MciByteSource::open_file(const std::filesystem::path& path) {
    RegularFile opened = RegularFile::Open(path.string());
    if (opened.Fault() == RegularFile::Failure::missing)
        throw MciError(MCIERR_FILE_NOT_FOUND, "no such file: " + path.string());
    if (!opened.IsOpen())
        throw MciError(MCIERR_FILE_READ, "cannot open " + path.string() + ": " + opened.Reason());
    std::FILE* file = ::fdopen(opened.Descriptor(), "rb");
    if (file == nullptr)
        throw MciError(MCIERR_FILE_READ,
                       "cannot open " + path.string() + ": " + std::strerror(errno));
    (void)opened.Release(); // the stream closes it now
    off_t size = -1;
    if (fseeko(file, 0, SEEK_END) == 0)
        size = ftello(file);
    if (size < 0 || fseeko(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        throw MciError(MCIERR_FILE_READ, "cannot read " + path.string());
    }
    return std::make_unique<FileByteSource>(file, static_cast<std::int64_t>(size));
}

std::unique_ptr<MciByteSource> MciByteSource::from_memory(std::span<const std::uint8_t> bytes) {
    return std::make_unique<MemoryByteSource>(bytes);
}

std::vector<std::uint8_t> MciByteSource::read_all(std::size_t max_bytes) {
    const std::int64_t total = size();
    if (total < 0 || static_cast<std::uint64_t>(total) > max_bytes)
        throw MciError(MCIERR_INVALID_FILE,
                       "file too large for this device (" + std::to_string(total) + " bytes)");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(total));
    if (seek(0, SEEK_SET) != 0)
        throw MciError(MCIERR_FILE_READ, "cannot rewind the file");
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const std::size_t count = read(std::span(bytes).subspan(filled));
        if (count == 0)
            break;
        filled += count;
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace vd
