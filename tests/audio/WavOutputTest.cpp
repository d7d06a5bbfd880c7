#include "audio/AudioError.h"
#include "audio/AudioOutput.h"
#include "audio/WavFileWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// A file in the test's working folder (inside the build tree), removed afterwards.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& name) : path_(fs::current_path() / name) {
        fs::remove(path_);
    }
    ~ScratchFile() { fs::remove(path_); }
    [[nodiscard]] const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::vector<std::uint8_t> read_all(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 |
           static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

std::string tag(const std::vector<std::uint8_t>& b, std::size_t at) {
    return {b.begin() + static_cast<std::ptrdiff_t>(at),
            b.begin() + static_cast<std::ptrdiff_t>(at + 4)};
}

// Checks that the file is a 16-bit stereo 44.1 kHz WAV file; returns its samples. A file still
// being written may have been read between a block and its header update: then the header may
// count less data than the file holds, but never more.
std::vector<std::int16_t> expect_valid_wav(const fs::path& path, bool still_writing = false) {
    const auto b = read_all(path);
    EXPECT_GE(b.size(), 44U);
    if (b.size() < 44) {
        return {};
    }
    EXPECT_EQ(tag(b, 0), "RIFF");
    EXPECT_EQ(u32(b, 4), u32(b, 40) + 36);
    EXPECT_EQ(tag(b, 8), "WAVE");
    EXPECT_EQ(tag(b, 12), "fmt ");
    EXPECT_EQ(u32(b, 16), 16U);
    EXPECT_EQ(u16(b, 20), 1);      // PCM
    EXPECT_EQ(u16(b, 22), 2);      // stereo
    EXPECT_EQ(u32(b, 24), 44100U); // rate
    EXPECT_EQ(u32(b, 28), 44100U * 4);
    EXPECT_EQ(u16(b, 32), 4);
    EXPECT_EQ(u16(b, 34), 16);
    EXPECT_EQ(tag(b, 36), "data");
    const std::size_t data_bytes = u32(b, 40);
    EXPECT_EQ(data_bytes % 4, 0U);
    if (still_writing) {
        EXPECT_LE(data_bytes, b.size() - 44);
    } else {
        EXPECT_EQ(data_bytes, b.size() - 44);
    }
    std::vector<std::int16_t> samples;
    for (std::size_t i = 44; i + 1 < 44 + std::min(data_bytes, b.size() - 44); i += 2) {
        samples.push_back(static_cast<std::int16_t>(u16(b, i)));
    }
    return samples;
}

TEST(WavFileWriter, HeaderIsCompleteAfterEveryAppend) {
    ScratchFile file("wav_header.wav");
    vd::WavFileWriter writer(file.path());
    EXPECT_TRUE(expect_valid_wav(file.path()).empty());
    for (std::size_t frames : {1U, 512U, 3U}) {
        const std::vector<float> block(frames * 2, 0.25f);
        writer.append(block);
        expect_valid_wav(file.path());
    }
    EXPECT_EQ(writer.frames_written(), 516U);
    EXPECT_EQ(expect_valid_wav(file.path()).size(), 516U * 2);
}

TEST(WavFileWriter, RoundsAndClampsSamples) {
    EXPECT_EQ(vd::to_pcm16(0.0f), 0);
    EXPECT_EQ(vd::to_pcm16(1.0f), 32767);
    EXPECT_EQ(vd::to_pcm16(-1.0f), -32767);
    EXPECT_EQ(vd::to_pcm16(7.5f), 32767);
    EXPECT_EQ(vd::to_pcm16(-7.5f), -32767);
    EXPECT_EQ(vd::to_pcm16(0.5f), 16384);
    EXPECT_EQ(vd::to_pcm16(-0.25f), -8192);

    ScratchFile file("wav_values.wav");
    {
        vd::WavFileWriter writer(file.path());
        const std::vector<float> frame = {1.5f, -0.25f};
        writer.append(frame);
    }
    const auto samples = expect_valid_wav(file.path());
    ASSERT_EQ(samples.size(), 2U);
    EXPECT_EQ(samples[0], 32767);
    EXPECT_EQ(samples[1], -8192);
}

TEST(WavFileWriter, UnwritablePathThrows) {
    EXPECT_THROW(vd::WavFileWriter("no-such-folder/x.wav"), vd::AudioError);
}

class SineSource final : public vd::AudioSource {
public:
    std::size_t render(std::span<float> out) override {
        for (std::size_t i = 0; i + 1 < out.size(); i += 2) {
            const auto v = static_cast<float>(0.5 * std::sin(phase_));
            out[i] = v;
            out[i + 1] = v;
            phase_ += 2 * std::numbers::pi * 440.0 / vd::kOutputRateHz;
        }
        return out.size() / 2;
    }

private:
    double phase_ = 0;
};

TEST(WavSink, RecordsWhatIsPlayedWithAValidHeader) {
    ScratchFile file("wav_sink.wav");
    {
        const auto output = vd::AudioOutput::open("wav:" + file.path().string());
        EXPECT_EQ(output->sink_name(), "wav:" + file.path().string());
        output->attach(std::make_shared<SineSource>());
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (fs::file_size(file.path()) < 44 + 4 * 4096 &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(5ms);
            expect_valid_wav(file.path(), true); // valid while being written, too
        }
    }
    const auto samples = expect_valid_wav(file.path());
    ASSERT_GE(samples.size(), 2U * 4096);
    int peak = 0;
    for (std::int16_t s : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    EXPECT_NEAR(peak, 16384, 100);
}

TEST(AudioOutputOpen, RejectsUnknownSinks) {
    EXPECT_THROW((void)vd::AudioOutput::open("speaker"), vd::AudioError);
    EXPECT_THROW((void)vd::AudioOutput::open("wav:"), vd::AudioError);
    EXPECT_THROW((void)vd::AudioOutput::open("wav:no-such-folder/x.wav"), vd::AudioError);
}

TEST(AudioOutputOpen, DeviceFallsBackToNullWithoutSoundCard) {
#if defined(__SANITIZE_THREAD__)
    // ALSA's search for a card takes seconds under the thread sanitizer; no threads run here.
    GTEST_SKIP() << "slow under the thread sanitizer";
#endif
    const auto output = vd::AudioOutput::open("sdl");
    const std::string name = output->sink_name();
    EXPECT_TRUE(name == "sdl" || name == "null") << name;
}

} // namespace
