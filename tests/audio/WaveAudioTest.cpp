// The waveaudio device: every common encoding at several rates decodes to the tones it was
// written with, seeks land on the exact frame, damaged files fail to open or play what they hold.

#include "audio/Mci.h"
#include "audio/MciDeviceType.h"
#include "audio/MciError.h"
#include "audio/WaveAudioDecoder.h"
#include "tests/support/MediaTestSupport.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <numbers>

namespace vd {
namespace {

std::unique_ptr<MciDecoder> wave_decoder(const test::Bytes& bytes) {
    return open_mci_decoder(MciDeviceType::WaveAudio, MciByteSource::from_memory(bytes));
}

struct Encoding {
    const char* name;
    int format;
    double tolerance; // RMS error the encoding itself may add, as a fraction of full scale
};

struct WaveCase {
    Encoding encoding;
    int rate_hz;
    int channels;
};

class WaveEncoding : public ::testing::TestWithParam<WaveCase> {};

TEST_P(WaveEncoding, DecodesToTheTonesWritten) {
    const auto [encoding, rate, channels] = GetParam();
    const std::size_t frames = static_cast<std::size_t>(rate) / 4; // a quarter second
    const double frequency = 441.0;
    const auto samples = test::tones(frames, channels, rate, frequency);
    auto decoder = wave_decoder(test::wave_bytes(encoding.format, rate, channels, samples));

    // ADPCM pads its last block, so the length may be slightly above what was written.
    const auto written_ms = static_cast<std::uint32_t>(frames * 1000 / static_cast<unsigned>(rate));
    EXPECT_GE(decoder->length_ms(), written_ms);
    EXPECT_LE(decoder->length_ms(), written_ms + 2048U * 1000U / static_cast<unsigned>(rate));
    const auto out = test::read_all(*decoder);
    ASSERT_EQ(out.size() / 2, decoder->length_frames());

    // Channel c holds a sine of (c + 1) * 441 Hz at half scale; mono is on both sides.
    double worst = 0.0;
    double squares = 0.0;
    std::size_t count = 0;
    for (std::size_t i = 300; i + 300 < 11025; ++i) {
        const double t = static_cast<double>(i) / 44100.0;
        for (int side = 0; side < 2; ++side) {
            const int channel = channels == 1 ? 0 : side;
            const double expected =
                0.5 * std::sin(2 * std::numbers::pi * frequency * (channel + 1) * t);
            const double error = out[2 * i + static_cast<std::size_t>(side)] - expected;
            worst = std::max(worst, std::abs(error));
            squares += error * error;
            ++count;
        }
    }
    const double rms_error = std::sqrt(squares / static_cast<double>(count));
    EXPECT_LT(rms_error, encoding.tolerance) << "largest error " << worst;
}

constexpr Encoding kEncodings[] = {
    {"U8", SF_FORMAT_PCM_U8, 0.01},        {"S16", SF_FORMAT_PCM_16, 1e-4},
    {"S24", SF_FORMAT_PCM_24, 1e-4},       {"S32", SF_FORMAT_PCM_32, 1e-4},
    {"Float", SF_FORMAT_FLOAT, 1e-4},      {"ImaAdpcm", SF_FORMAT_IMA_ADPCM, 0.04},
    {"MsAdpcm", SF_FORMAT_MS_ADPCM, 0.04}, {"ULaw", SF_FORMAT_ULAW, 0.01},
    {"ALaw", SF_FORMAT_ALAW, 0.01},
};

std::vector<WaveCase> wave_cases() {
    std::vector<WaveCase> cases;
    for (const Encoding& encoding : kEncodings)
        for (const int rate : {8000, 22050, 44100, 48000})
            for (const int channels : {1, 2})
                cases.push_back({encoding, rate, channels});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Encodings, WaveEncoding, ::testing::ValuesIn(wave_cases()),
                         [](const auto& info) {
                             return std::string(info.param.encoding.name) + "_" +
                                    std::to_string(info.param.rate_hz) + "Hz_" +
                                    (info.param.channels == 1 ? "mono" : "stereo");
                         });

TEST(WaveAudio, SeekLandsOnTheExactFrame) {
    const auto samples = test::tones(44100, 2, 44100, 441.0);
    auto decoder = wave_decoder(test::wave_bytes(SF_FORMAT_PCM_16, 44100, 2, samples));
    for (const std::uint32_t ms : {0U, 1U, 123U, 998U}) {
        const std::uint64_t frame = ms_to_output_frames(ms);
        decoder->seek(frame);
        const auto part = test::read_all(*decoder, 64);
        ASSERT_EQ(part.size(), 128U);
        for (std::size_t i = 0; i < part.size(); ++i)
            ASSERT_EQ(part[i], samples[frame * 2 + i]) << "seek to " << ms << " ms, sample " << i;
    }
}

TEST(WaveAudio, MoreThanTwoChannelsPlayTheFirstTwo) {
    const auto samples = test::tones(4410, 4, 44100, 441.0);
    auto decoder = wave_decoder(test::wave_bytes(SF_FORMAT_PCM_16, 44100, 4, samples));
    const auto out = test::read_all(*decoder);
    ASSERT_EQ(out.size(), 4410U * 2);
    for (std::size_t i = 0; i < 4410; ++i) {
        ASSERT_EQ(out[2 * i], samples[4 * i]);
        ASSERT_EQ(out[2 * i + 1], samples[4 * i + 1]);
    }
}

TEST(WaveAudio, DamagedFilesAreInvalid) {
    const auto good =
        test::wave_bytes(SF_FORMAT_PCM_16, 44100, 2, test::tones(441, 2, 44100, 441.0));
    test::Bytes noise(4000);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<std::uint8_t>(i * 2654435761U >> 13);
    test::Bytes header_only(good.begin(), good.begin() + 20);
    test::Bytes bad_rate = good;
    bad_rate[24] = 1; // 1 Hz
    bad_rate[25] = bad_rate[26] = bad_rate[27] = 0;
    for (const auto& bytes : {test::Bytes{}, noise, header_only, bad_rate}) {
        try {
            (void)wave_decoder(bytes);
            ADD_FAILURE() << "opened a damaged file of " << bytes.size() << " bytes";
        } catch (const MciError& e) {
            EXPECT_EQ(e.code(), MCIERR_INVALID_FILE);
        }
    }
}

TEST(WaveAudio, OtherContainersAreNotWaveFiles) {
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_AIFF | SF_FORMAT_PCM_16;
    test::ScratchDir dir;
    const auto path = dir / "sound.aiff";
    SNDFILE* out = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(out, nullptr);
    const std::vector<float> silence(800, 0.0F);
    sf_writef_float(out, silence.data(), 800);
    sf_close(out);
    try {
        (void)wave_decoder(test::read_file(path));
        ADD_FAILURE() << "an AIFF file opened as wave audio";
    } catch (const MciError& e) {
        EXPECT_EQ(e.code(), MCIERR_INVALID_FILE);
    }
}

TEST(WaveAudio, TruncatedFilePlaysToItsEndThroughTheCommandLayer) {
    test::ManualOutput output;
    mciSetAudioOutput(&output);
    test::NoticeQueue queue;
    test::NoticeRecorder recorder;
    test::ScratchDir dir;
    auto bytes = test::wave_bytes(SF_FORMAT_PCM_16, 22050, 1, test::tones(22050, 1, 22050, 441.0));
    bytes.resize(bytes.size() / 2); // the header still claims a second
    test::write_file(dir / "cut.wav", bytes);

    const std::uint32_t device = test::open_device(dir / "cut.wav");
    const std::uint32_t length = test::status_of(device, MCI_STATUS_LENGTH);
    EXPECT_GT(length, 0U);
    EXPECT_LE(length, 1000U);
    ASSERT_EQ(test::play_to_end(device, output, queue, recorder), 0U);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_POSITION), length);
    EXPECT_EQ(recorder.notices,
              (std::vector<test::NoticeRecorder::Notice>{{device, MCI_NOTIFY_SUCCESSFUL}}));
    EXPECT_EQ(output.attached(), 0U);
    EXPECT_EQ(mciSendCommand(device, MCI_CLOSE, MCI_WAIT, nullptr), 0U);
    mciSetAudioOutput(nullptr);
}

TEST(WaveAudio, DataChunkCutShortOfItsHeaderStillPlaysWhatItHolds) {
    // A header that claims more data than the file holds, read from memory: the decoder delivers
    // what is there and then ends.
    auto bytes = test::wave_bytes(SF_FORMAT_PCM_16, 44100, 2, test::tones(44100, 2, 44100, 441.0));
    bytes.resize(bytes.size() - 4 * 22050);
    auto decoder = wave_decoder(bytes);
    const auto out = test::read_all(*decoder);
    EXPECT_GE(out.size() / 2, 22049U);
    EXPECT_LE(out.size() / 2, 22050U);
}

} // namespace
} // namespace vd
