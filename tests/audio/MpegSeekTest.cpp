// Seeking the mpegvideo device through the command layer, as the slider does (a seek, then a
// resume while playing): the sound goes on from the very sample the target names, compared with
// libmpg123's own decoding of the whole file, at 44.1 kHz and at 22.05 kHz.

#include "audio/Mci.h"
#include "tests/support/MediaTestSupport.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vd {
namespace {

constexpr std::size_t kCompared = 4096; // output frames after the seek

struct SeekCase {
    int rate_hz;
    bool vbr;
};

class MpegCommandSeek : public ::testing::TestWithParam<SeekCase> {
protected:
    void SetUp() override { mciSetAudioOutput(&output_); }
    void TearDown() override { mciSetAudioOutput(nullptr); }

    // Left channel of output frames [first, first + count) as the device plays them.
    static std::vector<float> left(const std::vector<float>& stereo, std::size_t first,
                                   std::size_t count, std::size_t step = 1) {
        std::vector<float> out;
        for (std::size_t i = 0; i < count; ++i)
            out.push_back(stereo.at((first + i * step) * 2));
        return out;
    }

    static float max_difference(const std::vector<float>& a, const std::vector<float>& b) {
        float worst = 0.0F;
        for (std::size_t i = 0; i < a.size(); ++i)
            worst = std::max(worst, std::fabs(a[i] - b[i]));
        return worst;
    }

    test::ManualOutput output_;
    test::NoticeQueue queue_;
    test::ScratchDir dir_;
};

TEST_P(MpegCommandSeek, PlaysOnFromTheTargetSample) {
    const auto [rate_hz, vbr] = GetParam();
    const auto source = test::sweep(static_cast<std::size_t>(rate_hz) * 8, 2, rate_hz, 200, 2000);
    const auto mp3 = test::encode_mp3(source, 2, rate_hz, vbr, true);
    const auto path = dir_ / "sweep.mp3";
    test::write_file(path, mp3.bytes);
    int decoded_rate_hz = 0;
    const auto reference = test::mpg123_decode(mp3.bytes, decoded_rate_hz);
    ASSERT_EQ(decoded_rate_hz, rate_hz);
    ASSERT_EQ(reference.size(), source.size()) << "the reference decode lost its gapless trim";

    const std::uint32_t device = test::open_device(path);
    const std::uint32_t length_ms = test::status_of(device, MCI_STATUS_LENGTH);
    EXPECT_EQ(length_ms, 8000U);
    ASSERT_EQ(mciSendCommand(device, MCI_PLAY, 0, nullptr), 0U);
    (void)output_.render(10000);

    // Half the length, where the slider's middle points; a multiple of 20 ms is a whole number
    // of frames at both rates, and an even one at 44.1 kHz, where 22.05 kHz frames fall.
    const std::uint32_t target_ms = length_ms / 2;
    MCI_SEEK_PARMS seek{};
    seek.dwTo = target_ms;
    ASSERT_EQ(mciSendCommand(device, MCI_SEEK, MCI_WAIT | MCI_TO, &seek), 0U);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_POSITION), target_ms);
    ASSERT_EQ(mciSendCommand(device, MCI_RESUME, 0, nullptr), 0U);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_MODE), MCI_MODE_PLAY);
    const auto played = output_.render(kCompared);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_POSITION), target_ms + 92); // 4096 frames
    EXPECT_EQ(mciSendCommand(device, MCI_CLOSE, MCI_WAIT, nullptr), 0U);
    queue_.run();

    const std::size_t reference_frame = static_cast<std::size_t>(target_ms) * rate_hz / 1000;
    if (rate_hz == kOutputRateHz) {
        EXPECT_EQ(
            max_difference(left(played, 0, kCompared), left(reference, reference_frame, kCompared)),
            0.0F);
        return;
    }
    // At half the output rate every second output frame stands on an input frame: there the
    // resampled sound equals the decoded one, up to the filter's small error.
    const std::size_t count = kCompared / 2;
    const auto on_input_frames = left(played, 0, count, 2);
    EXPECT_LT(max_difference(on_input_frames, left(reference, reference_frame, count)), 0.01F);
    // One input frame off is far off: the comparison does catch a near miss.
    EXPECT_GT(max_difference(on_input_frames, left(reference, reference_frame + 1, count)), 0.05F);
}

INSTANTIATE_TEST_SUITE_P(Rates, MpegCommandSeek,
                         ::testing::Values(SeekCase{44100, false}, SeekCase{44100, true},
                                           SeekCase{22050, false}, SeekCase{22050, true}),
                         [](const auto& info) {
                             return std::to_string(info.param.rate_hz) +
                                    (info.param.vbr ? "Vbr" : "Cbr");
                         });

} // namespace
} // namespace vd
