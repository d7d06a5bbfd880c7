// The mpegvideo device: exact lengths (also VBR without a header frame), sample-accurate seeks,
// mono and other rates brought to 44.1 kHz stereo, damaged and cut files.

#include "audio/Mci.h"
#include "audio/MciDeviceType.h"
#include "audio/MciError.h"
#include "audio/MpegAudioDecoder.h"
#include "tests/support/MediaTestSupport.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vd {
namespace {

std::unique_ptr<MciDecoder> mpeg_decoder(const test::Bytes& bytes) {
    return open_mci_decoder(MciDeviceType::MpegVideo, MciByteSource::from_memory(bytes));
}

// Half a second of silence, then half a second of loud noise: a VBR encoder starts with its
// smallest frames, so a length estimated from the first frame's bit rate is far off.
std::vector<float> silence_then_noise(int rate_hz) {
    const auto half = static_cast<std::size_t>(rate_hz) / 2;
    std::vector<float> out(half * 4, 0.0F);
    std::uint32_t state = 12345;
    for (std::size_t i = half * 2; i < out.size(); ++i) {
        state = state * 1664525U + 1013904223U;
        out[i] = (static_cast<float>(state >> 8) / 16777216.0F - 0.5F) * 1.6F;
    }
    return out;
}

TEST(MpegAudio, VbrWithoutHeaderFrameHasItsExactLength) {
    const auto mp3 = test::encode_mp3(silence_then_noise(44100), 2, 44100, true, false);
    MpegAudioDecoder decoder(MciByteSource::from_memory(mp3.bytes));
    // No header frame, so no gapless trimming: every frame's 1152 samples play.
    EXPECT_EQ(decoder.length_frames(), static_cast<std::uint64_t>(mp3.mpeg_frames) * 1152);
}

TEST(MpegAudio, HeaderFrameTrimsEncoderDelayAndPadding) {
    const auto tones = test::tones(22127, 2, 44100, 441.0);
    const auto mp3 = test::encode_mp3(tones, 2, 44100, false, true);
    auto decoder = mpeg_decoder(mp3.bytes);
    EXPECT_EQ(decoder->length_frames(), 22127U);
    EXPECT_EQ(decoder->length_ms(), 501U);
    EXPECT_EQ(test::read_all(*decoder).size() / 2, 22127U);
}

TEST(MpegAudio, MonoAtAnotherRateBecomesStereoAt44100) {
    const auto tones = test::tones(11025, 1, 22050, 441.0);
    const auto mp3 = test::encode_mp3(tones, 1, 22050, false, true);
    auto decoder = mpeg_decoder(mp3.bytes);
    EXPECT_EQ(decoder->length_frames(), 22050U);
    EXPECT_EQ(decoder->length_ms(), 500U);
    const auto out = test::read_all(*decoder);
    ASSERT_EQ(out.size() / 2, 22050U);
    double squares = 0.0;
    for (std::size_t i = 1000; i < 21000; ++i) {
        ASSERT_EQ(out[2 * i], out[2 * i + 1]);
        const double expected =
            0.5 * std::sin(2 * std::numbers::pi * 441.0 * static_cast<double>(i) / 44100.0);
        squares += (out[2 * i] - expected) * (out[2 * i] - expected);
    }
    // The tone comes back in time and level (an encoder's error, not a shift or a wrong rate).
    EXPECT_LT(std::sqrt(squares / 20000.0), 0.02);
}

class MpegSeek : public ::testing::TestWithParam<bool> {};

TEST_P(MpegSeek, GivesTheSameFramesAsPlayingThrough) {
    const bool vbr = GetParam();
    auto tones = test::tones(44100, 2, 44100, 441.0);
    for (std::size_t i = 0; i < tones.size(); i += 2)
        tones[i] *= static_cast<float>(i) / static_cast<float>(tones.size()); // no two frames alike
    const auto mp3 = test::encode_mp3(tones, 2, 44100, vbr, !vbr);
    auto through = mpeg_decoder(mp3.bytes);
    const auto all = test::read_all(*through);
    auto seeking = mpeg_decoder(mp3.bytes);
    for (const std::uint32_t ms : {1U, 100U, 503U, 907U}) {
        const std::uint64_t frame = ms_to_output_frames(ms);
        seeking->seek(frame);
        const auto part = test::read_all(*seeking, 300);
        ASSERT_EQ(part.size(), 600U);
        for (std::size_t i = 0; i < part.size(); ++i)
            ASSERT_EQ(part[i], all[frame * 2 + i]) << "seek to " << ms << " ms, sample " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Bitrates, MpegSeek, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Vbr" : "Cbr"; });

TEST(MpegAudio, DamagedFilesAreInvalid) {
    test::Bytes noise(20000);
    std::uint32_t state = 99;
    for (auto& byte : noise) {
        state = state * 1664525U + 1013904223U;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    const test::Bytes zeros(4000, 0);
    const test::Bytes id3_only{'I', 'D', '3', 3, 0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (const auto& bytes : {test::Bytes{}, noise, zeros, id3_only}) {
        try {
            (void)mpeg_decoder(bytes);
            ADD_FAILURE() << "opened a damaged file of " << bytes.size() << " bytes";
        } catch (const MciError& e) {
            EXPECT_EQ(e.code(), MCIERR_INVALID_FILE);
        }
    }
}

// The first `count` frames of a 128 kbit/s CBR layer III stream at 44.1 kHz without a header frame.
test::Bytes layer3_frames(int count) {
    const auto mp3 = test::encode_mp3(test::tones(44100, 2, 44100, 441.0), 2, 44100, false, false);
    std::size_t end = 0;
    for (int i = 0; i < count; ++i)
        end += 417 + ((mp3.bytes.at(end + 2) >> 1) & 1); // the padding bit adds a byte
    return {mp3.bytes.begin(), mp3.bytes.begin() + static_cast<std::ptrdiff_t>(end)};
}

TEST(MpegAudio, FilesOfOneOrTwoFramesPlayWhatTheyHold) {
    const test::Bytes id3v2{'I', 'D', '3', 3, 0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    test::Bytes id3v1(128, 0);
    id3v1[0] = 'T';
    id3v1[1] = 'A';
    id3v1[2] = 'G';
    for (const int frames : {1, 2}) {
        for (const bool tags : {false, true}) {
            auto layer2 = test::layer2_tone(frames);
            if (tags) {
                layer2.insert(layer2.begin(), id3v2.begin(), id3v2.end());
                layer2.insert(layer2.end(), id3v1.begin(), id3v1.end());
            }
            SCOPED_TRACE(testing::Message() << frames << " layer II frames, tags " << tags);
            MpegAudioDecoder raw(MciByteSource::from_memory(layer2));
            EXPECT_EQ(raw.rate_hz(), 48000);
            EXPECT_EQ(raw.length_frames(), 1152U * static_cast<unsigned>(frames));
            auto decoder = mpeg_decoder(layer2);
            const std::uint64_t expected =
                (1152U * static_cast<unsigned>(frames) * 441 + 479) / 480;
            EXPECT_EQ(decoder->length_frames(), expected);
            const auto out = test::read_all(*decoder);
            ASSERT_EQ(out.size() / 2, expected);
            // The tone, past the synthesis filter's start-up: about 0.4 peak.
            EXPECT_GT(test::rms(std::span(out).last(out.size() / 2)), 0.15);
        }
        SCOPED_TRACE(testing::Message() << frames << " layer III frames");
        auto decoder = mpeg_decoder(layer3_frames(frames));
        EXPECT_EQ(decoder->length_frames(), 1152U * static_cast<unsigned>(frames));
        const auto out = test::read_all(*decoder);
        ASSERT_EQ(out.size() / 2, 1152U * static_cast<unsigned>(frames));
        // The encoder's delay fills most of the first frame; its end holds the tone's start.
        EXPECT_GT(test::rms(std::span(out).last(200)), 0.01);
    }
}

TEST(MpegAudio, AStraySyncWordIsNoSingleFrame) {
    // One whole frame stands alone only when it spans the data: bytes before or after it (beyond
    // an ID3v1 tag's 128) make it a chance header in something else.
    auto before = test::layer2_tone(1);
    before.insert(before.begin(), 5, 0x55);
    auto after = test::layer2_tone(1);
    after.resize(after.size() + 129, 0x55);
    for (const auto& bytes : {before, after}) {
        try {
            (void)mpeg_decoder(bytes);
            ADD_FAILURE() << "took a frame amid other data for a stream";
        } catch (const MciError& e) {
            EXPECT_EQ(e.code(), MCIERR_INVALID_FILE);
        }
    }
}

TEST(MpegAudio, CutFilePlaysToItsEndThroughTheCommandLayer) {
    test::ManualOutput output;
    mciSetAudioOutput(&output);
    test::NoticeQueue queue;
    test::NoticeRecorder recorder;
    test::ScratchDir dir;
    auto mp3 = test::encode_mp3(test::tones(44100, 2, 44100, 441.0), 2, 44100, false, true);
    mp3.bytes.resize(mp3.bytes.size() / 2 +
                     77); // mid-frame; the header frame still claims a second
    test::write_file(dir / "cut.Mp2", mp3.bytes);

    const std::uint32_t device = test::open_device(dir / "cut.Mp2");
    MCI_GETDEVCAPS_PARMS caps{};
    caps.dwItem = MCI_GETDEVCAPS_DEVICE_TYPE;
    EXPECT_EQ(mciSendCommand(device, MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, &caps), 0U);
    EXPECT_EQ(caps.dwReturn, MCI_DEVTYPE_DIGITAL_VIDEO);
    const std::uint32_t length = test::status_of(device, MCI_STATUS_LENGTH);
    EXPECT_GT(length, 0U);
    ASSERT_EQ(test::play_to_end(device, output, queue, recorder), 0U);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_POSITION), length);
    EXPECT_EQ(recorder.notices,
              (std::vector<test::NoticeRecorder::Notice>{{device, MCI_NOTIFY_SUCCESSFUL}}));
    EXPECT_EQ(mciSendCommand(device, MCI_CLOSE, MCI_WAIT, nullptr), 0U);
    mciSetAudioOutput(nullptr);
}

} // namespace
} // namespace vd
