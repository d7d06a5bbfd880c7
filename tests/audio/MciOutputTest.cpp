// A device playing through the process's real audio output (its null sink, which keeps real time
// without a sound card): the end of playback comes back as a notice through the dispatcher.

#include "audio/Mci.h"
#include "tests/support/MediaTestSupport.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdlib>

namespace vd {
namespace {

TEST(MciOutput, ShortFilePlaysToTheEndOnTheAudioThread) {
    ::setenv("VODEZARU_AUDIO_OUT", "null", 1);
    test::ScratchDir dir;
    test::write_wave(dir / "beep.wav", SF_FORMAT_PCM_16, 22050, 1,
                     test::tones(2205, 1, 22050, 441.0));
    test::NoticeQueue queue;
    test::NoticeRecorder recorder;
    const std::uint32_t device = test::open_device(dir / "beep.wav");
    MCI_PLAY_PARMS play{recorder.handle(), 0, 0};
    ASSERT_EQ(mciSendCommand(device, MCI_PLAY, MCI_NOTIFY, &play), 0U);
    // A tenth of a second of sound; the wait only guards against a hang.
    for (int turn = 0; turn < 100 && recorder.notices.empty(); ++turn)
        queue.wait_and_run(0.5);
    EXPECT_EQ(recorder.notices,
              (std::vector<test::NoticeRecorder::Notice>{{device, MCI_NOTIFY_SUCCESSFUL}}));
    EXPECT_EQ(test::status_of(device, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_POSITION), 100U);
    EXPECT_EQ(mciSendCommand(device, MCI_CLOSE, MCI_WAIT, nullptr), 0U);
}

} // namespace
} // namespace vd
