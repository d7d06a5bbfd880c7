#include "tests/support/MediaTestSupport.h"

#include "audio/Mci.h"

#include <gtest/gtest.h>
#include <lame/lame.h>
#include <mpg123.h>
#include <sndfile.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <unistd.h>

namespace vd::test {

Bytes vlq(std::uint32_t value) {
    Bytes out{static_cast<std::uint8_t>(value & 0x7F)};
    while ((value >>= 7) != 0)
        out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    return out;
}

SmfBuilder::Track& SmfBuilder::Track::event(std::uint32_t delta,
                                            std::initializer_list<std::uint8_t> bytes) {
    const Bytes time = vlq(delta);
    data.insert(data.end(), time.begin(), time.end());
    data.insert(data.end(), bytes.begin(), bytes.end());
    return *this;
}

SmfBuilder::Track& SmfBuilder::Track::tempo(std::uint32_t delta, std::uint32_t us) {
    return event(delta, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(us >> 16),
                         static_cast<std::uint8_t>(us >> 8), static_cast<std::uint8_t>(us)});
}

SmfBuilder::Track& SmfBuilder::Track::end(std::uint32_t delta) {
    return event(delta, {0xFF, 0x2F, 0x00});
}

SmfBuilder::Track& SmfBuilder::Track::raw(std::initializer_list<std::uint8_t> bytes) {
    data.insert(data.end(), bytes.begin(), bytes.end());
    return *this;
}

SmfBuilder::Track& SmfBuilder::track() {
    return tracks_.emplace_back();
}

namespace {

void put_be(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void put_le32(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void put_id(Bytes& out, const char* id) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(id[i]));
}

} // namespace

Bytes SmfBuilder::bytes() const {
    Bytes out;
    put_id(out, "MThd");
    put_be(out, 6, 4);
    put_be(out, format_, 2);
    put_be(out, static_cast<std::uint32_t>(tracks_.size()), 2);
    put_be(out, division_, 2);
    for (const Track& track : tracks_) {
        put_id(out, "MTrk");
        put_be(out, static_cast<std::uint32_t>(track.data.size()), 4);
        out.insert(out.end(), track.data.begin(), track.data.end());
    }
    return out;
}

Bytes wrap_rmid(const Bytes& smf) {
    Bytes body;
    put_id(body, "RMID");
    // An INFO list first, as RMI writers put one, so the reader has to walk past it.
    put_id(body, "LIST");
    put_le32(body, 13);
    put_id(body, "INFO");
    put_id(body, "INAM");
    put_le32(body, 1);
    body.push_back('x');
    body.push_back(0); // pad byte of the odd-sized list
    put_id(body, "data");
    put_le32(body, static_cast<std::uint32_t>(smf.size()));
    body.insert(body.end(), smf.begin(), smf.end());
    if (smf.size() % 2 != 0)
        body.push_back(0);
    Bytes out;
    put_id(out, "RIFF");
    put_le32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

void write_file(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

Bytes read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<float> tones(std::size_t frames, int channels, int rate_hz, double frequency_hz) {
    std::vector<float> out(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            const double phase =
                2.0 * std::numbers::pi * frequency_hz * (c + 1) * static_cast<double>(i) / rate_hz;
            out[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
                static_cast<float>(std::round(0.5 * std::sin(phase) * 32768.0) / 32768.0);
        }
    return out;
}

namespace {

// libsndfile writing into a byte vector.
struct MemoryFile {
    Bytes bytes;
    sf_count_t position = 0;
};

sf_count_t mem_length(void* user) {
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size());
}
sf_count_t mem_seek(sf_count_t offset, int whence, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t base = whence == SEEK_SET   ? 0
                            : whence == SEEK_CUR ? file->position
                                                 : mem_length(user);
    file->position = base + offset;
    return file->position;
}
sf_count_t mem_read(void* out, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const auto available = std::max<sf_count_t>(0, mem_length(user) - file->position);
    const auto n = std::min(count, available);
    std::memcpy(out, file->bytes.data() + file->position, static_cast<std::size_t>(n));
    file->position += n;
    return n;
}
sf_count_t mem_write(const void* in, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const auto end = static_cast<std::size_t>(file->position + count);
    if (file->bytes.size() < end)
        file->bytes.resize(end);
    std::memcpy(file->bytes.data() + file->position, in, static_cast<std::size_t>(count));
    file->position += count;
    return count;
}
sf_count_t mem_tell(void* user) {
    return static_cast<MemoryFile*>(user)->position;
}

} // namespace

Bytes wave_bytes(int format, int rate_hz, int channels, std::span<const float> interleaved) {
    SF_VIRTUAL_IO io{mem_length, mem_seek, mem_read, mem_write, mem_tell};
    MemoryFile file;
    SF_INFO info{};
    info.samplerate = rate_hz;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | format;
    SNDFILE* out = sf_open_virtual(&io, SFM_WRITE, &info, &file);
    if (out == nullptr)
        throw std::runtime_error(std::string("sndfile cannot write: ") + sf_strerror(nullptr));
    const auto frames =
        static_cast<sf_count_t>(interleaved.size() / static_cast<std::size_t>(channels));
    if (sf_writef_float(out, interleaved.data(), frames) != frames)
        throw std::runtime_error("sndfile write failed");
    sf_close(out);
    return file.bytes;
}

void write_wave(const std::filesystem::path& path, int format, int rate_hz, int channels,
                std::span<const float> interleaved) {
    write_file(path, wave_bytes(format, rate_hz, channels, interleaved));
}

Mp3 encode_mp3(std::span<const float> interleaved, int channels, int rate_hz, bool vbr,
               bool info_frame) {
    lame_global_flags* lame = lame_init();
    lame_set_num_channels(lame, channels);
    lame_set_in_samplerate(lame, rate_hz);
    lame_set_out_samplerate(lame, rate_hz);
    lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
    lame_set_quality(lame, 7);
    if (vbr) {
        lame_set_VBR(lame, vbr_default);
        lame_set_VBR_quality(lame, 4.0F);
    } else {
        lame_set_brate(lame, 128);
    }
    lame_set_bWriteVbrTag(lame, info_frame ? 1 : 0);
    if (lame_init_params(lame) < 0)
        throw std::runtime_error("lame_init_params failed");

    const auto frames = static_cast<int>(interleaved.size() / static_cast<std::size_t>(channels));
    std::vector<float> left(static_cast<std::size_t>(frames));
    std::vector<float> right(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        left[static_cast<std::size_t>(i)] = interleaved[static_cast<std::size_t>(i * channels)];
        right[static_cast<std::size_t>(i)] =
            interleaved[static_cast<std::size_t>(i * channels + channels - 1)];
    }
    Mp3 mp3;
    std::vector<unsigned char> buffer(static_cast<std::size_t>(frames) * 5 / 4 + 7200 + 65536);
    int size = lame_encode_buffer_ieee_float(lame, left.data(), right.data(), frames, buffer.data(),
                                             static_cast<int>(buffer.size()));
    if (size < 0)
        throw std::runtime_error("lame encoding failed");
    mp3.bytes.assign(buffer.begin(), buffer.begin() + size);
    size = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
    if (size < 0)
        throw std::runtime_error("lame flush failed");
    mp3.bytes.insert(mp3.bytes.end(), buffer.begin(), buffer.begin() + size);
    if (info_frame) {
        // The stream begins with a placeholder frame; put the finished Info/Xing frame there.
        const std::size_t tag = lame_get_lametag_frame(lame, buffer.data(), buffer.size());
        if (tag == 0 || tag > mp3.bytes.size())
            throw std::runtime_error("no LAME tag frame");
        std::copy(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(tag),
                  mp3.bytes.begin());
    }
    mp3.mpeg_frames = lame_get_frameNum(lame);
    lame_close(lame);
    return mp3;
}

std::vector<float> sweep(std::size_t frames, int channels, int rate_hz, double start_hz,
                         double end_hz) {
    std::vector<float> out(frames * static_cast<std::size_t>(channels));
    const double seconds = static_cast<double>(frames) / rate_hz;
    const double rise_hz_per_s = (end_hz - start_hz) / seconds;
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate_hz;
        const double phase = 2 * std::numbers::pi * (start_hz * t + rise_hz_per_s * t * t / 2);
        const auto value = static_cast<float>(0.5 * std::sin(phase));
        for (int c = 0; c < channels; ++c)
            out[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] = value;
    }
    return out;
}

std::vector<float> mpg123_decode(std::span<const std::uint8_t> bytes, int& rate_hz) {
    mpg123_init();
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr)
        throw std::runtime_error("mpg123_new failed");
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    mpg123_format_none(handle);
    mpg123_format2(handle, 0, MPG123_STEREO, MPG123_ENC_FLOAT_32);
    std::vector<float> out;
    rate_hz = 0;
    if (mpg123_open_feed(handle) == MPG123_OK &&
        mpg123_feed(handle, bytes.data(), bytes.size()) == MPG123_OK) {
        std::vector<float> block(4096);
        for (;;) {
            size_t done = 0;
            const int result = mpg123_read(handle, reinterpret_cast<unsigned char*>(block.data()),
                                           block.size() * sizeof(float), &done);
            out.insert(out.end(), block.begin(),
                       block.begin() + static_cast<std::ptrdiff_t>(done / sizeof(float)));
            if (result == MPG123_NEW_FORMAT) {
                long rate = 0;
                int channels = 0;
                int encoding = 0;
                mpg123_getformat(handle, &rate, &channels, &encoding);
                rate_hz = static_cast<int>(rate);
            } else if (result != MPG123_OK) {
                break; // the end (the feed needs more) or an error
            }
        }
    }
    mpg123_delete(handle);
    return out;
}

namespace {

class BitWriter {
public:
    void put(std::uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            if (used_ % 8 == 0)
                bytes_.push_back(0);
            if ((value >> i) & 1U)
                bytes_.back() |= static_cast<std::uint8_t>(0x80U >> (used_ % 8));
            ++used_;
        }
    }
    [[nodiscard]] Bytes take(std::size_t size) {
        bytes_.resize(size, 0); // the rest of the frame is ancillary data
        return std::move(bytes_);
    }

private:
    Bytes bytes_;
    std::size_t used_ = 0;
};

} // namespace

Bytes layer2_tone(int mpeg_frames) {
    // 128 kbit/s mono at 48 kHz uses the allocation table of 27 subbands: 4 allocation bits for
    // subbands 0-10, 3 for 11-22, 2 for 23-26. Allocation 3 in subband 0 means 15 levels, 4 bits
    // a sample, ungrouped; code 7 is zero and each step is about 2/15 of the scale factor.
    constexpr int kSubbands = 27;
    constexpr std::size_t kFrameBytes = 384;
    constexpr int kScaleIndex = 6; // 2^(-6/3) = 0.5
    // One period of the subband signal at its 1500 Hz rate: 250 Hz after synthesis.
    constexpr std::array<std::uint32_t, 6> kPeriod{7, 12, 12, 7, 2, 2};
    Bytes out;
    for (int frame = 0; frame < mpeg_frames; ++frame) {
        BitWriter bits;
        bits.put(0xFFF, 12); // sync
        bits.put(1, 1);      // MPEG-1
        bits.put(2, 2);      // layer II
        bits.put(1, 1);      // no CRC
        bits.put(8, 4);      // 128 kbit/s
        bits.put(1, 2);      // 48 kHz
        bits.put(0, 2);      // no padding, no private bit
        bits.put(3, 2);      // single channel
        bits.put(0, 6);      // mode extension, copyright, original, no emphasis
        for (int sb = 0; sb < kSubbands; ++sb)
            bits.put(sb == 0 ? 3 : 0, sb <= 10 ? 4 : sb <= 22 ? 3 : 2);
        bits.put(2, 2); // one scale factor for the whole frame
        bits.put(kScaleIndex, 6);
        for (int sample = 0; sample < 36; ++sample)
            bits.put(kPeriod[static_cast<std::size_t>(sample) % kPeriod.size()], 4);
        const Bytes bytes = bits.take(kFrameBytes);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

VectorInput::VectorInput(std::vector<float> stereo, int rate_hz, std::uint64_t declared_frames)
    : stereo_(std::move(stereo)), rate_hz_(rate_hz),
      declared_(declared_frames != 0 ? declared_frames : stereo_.size() / 2) {}

std::size_t VectorInput::read(std::span<float> out) {
    const std::uint64_t have = stereo_.size() / 2;
    if (position_ >= have)
        return 0;
    const auto count =
        static_cast<std::size_t>(std::min<std::uint64_t>(out.size() / 2, have - position_));
    std::copy_n(stereo_.begin() + static_cast<std::ptrdiff_t>(position_ * 2), count * 2,
                out.begin());
    position_ += count;
    return count;
}

std::vector<float> read_all(MciDecoder& decoder, std::size_t limit, std::size_t block) {
    std::vector<float> out;
    std::vector<float> buffer(block * 2);
    while (out.size() / 2 < limit) {
        const std::size_t want = std::min(block, limit - out.size() / 2);
        const std::size_t got = decoder.read(std::span(buffer).first(want * 2));
        out.insert(out.end(), buffer.begin(),
                   buffer.begin() + static_cast<std::ptrdiff_t>(got * 2));
        if (got < want)
            break;
    }
    return out;
}

double rms(std::span<const float> samples) {
    if (samples.empty())
        return 0.0;
    double sum = 0.0;
    for (const float s : samples)
        sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

void ManualOutput::attach(std::shared_ptr<AudioSource> source) {
    const std::lock_guard lock(mutex_);
    if (std::ranges::find(sources_, source) == sources_.end())
        sources_.push_back(std::move(source));
}

void ManualOutput::detach(const AudioSource* source) {
    const std::lock_guard lock(mutex_);
    std::erase_if(sources_, [source](const auto& s) { return s.get() == source; });
}

std::vector<float> ManualOutput::render(std::size_t frames) {
    std::vector<float> mix(frames * 2, 0.0F);
    std::vector<float> block(frames * 2);
    // Rendering under the lock is what makes detach() wait for a render in progress.
    const std::lock_guard lock(mutex_);
    for (const auto& source : sources_) {
        const std::size_t got = source->render(block);
        for (std::size_t i = 0; i < got * 2; ++i)
            mix[i] += block[i];
    }
    return mix;
}

std::size_t ManualOutput::attached() const {
    const std::lock_guard lock(mutex_);
    return sources_.size();
}

NoticeQueue::NoticeQueue() {
    mciSetNotifyDispatcher([this](std::function<void()> closure) {
        const std::lock_guard lock(mutex_);
        closures_.push_back(std::move(closure));
        queued_.notify_all();
    });
}

NoticeQueue::~NoticeQueue() {
    mciSetNotifyDispatcher(nullptr);
}

std::size_t NoticeQueue::run() {
    std::size_t count = 0;
    for (;;) {
        std::vector<std::function<void()>> batch;
        {
            const std::lock_guard lock(mutex_);
            batch.swap(closures_);
        }
        if (batch.empty())
            return count;
        for (auto& closure : batch)
            closure();
        count += batch.size();
    }
}

std::size_t NoticeQueue::wait_and_run(double timeout_s) {
    {
        std::unique_lock lock(mutex_);
        queued_.wait_for(lock, std::chrono::duration<double>(timeout_s),
                         [this] { return !closures_.empty(); });
    }
    return run();
}

NoticeRecorder::NoticeRecorder()
    : handle_(mciRegisterNotifyCallback([this](std::uint32_t device, std::uint32_t code) {
          notices.push_back({device, code});
      })) {}

NoticeRecorder::~NoticeRecorder() {
    mciUnregisterNotifyCallback(handle_);
}

std::uint32_t open_device(const std::filesystem::path& path) {
    const std::string name = path.string();
    MCI_OPEN_PARMS open{};
    open.lpstrElementName = name.c_str();
    const std::uint32_t result = mciSendCommand(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, &open);
    EXPECT_EQ(result, 0U) << "opening " << name;
    return open.wDeviceID;
}

std::uint32_t status_of(std::uint32_t device, std::uint32_t item) {
    MCI_STATUS_PARMS status{};
    status.dwItem = item;
    EXPECT_EQ(mciSendCommand(device, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, &status), 0U);
    return static_cast<std::uint32_t>(status.dwReturn);
}

std::uint32_t play_to_end(std::uint32_t device, ManualOutput& output, NoticeQueue& queue,
                          const NoticeRecorder& recorder) {
    MCI_PLAY_PARMS play{};
    play.dwCallback = recorder.handle();
    const std::uint32_t result = mciSendCommand(device, MCI_PLAY, MCI_NOTIFY, &play);
    for (int block = 0; block < 100 && status_of(device, MCI_STATUS_MODE) == MCI_MODE_PLAY; ++block)
        (void)output.render(1024);
    queue.run();
    return result;
}

} // namespace vd::test
