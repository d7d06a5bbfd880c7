// The command layer: device ids, open errors, the play/pause/resume/stop/seek state machine,
// status and capabilities, completion notices, error texts, and commands racing the audio thread.

#include "audio/Mci.h"
#include "tests/support/MediaTestSupport.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sndfile.h>
#include <sys/stat.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

namespace vd {
namespace {

using Notice = test::NoticeRecorder::Notice;

class MciCommands : public ::testing::Test {
protected:
    void SetUp() override {
        mciSetAudioOutput(&output);
        // One second of stereo tones at 44.1 kHz: output frames equal file frames.
        samples = test::tones(44100, 2, 44100, 441.0);
        test::write_wave(dir / "tone.wav", SF_FORMAT_PCM_16, 44100, 2, samples);
    }
    void TearDown() override {
        (void)mciSendCommand(MCI_ALL_DEVICE_ID, MCI_CLOSE, MCI_WAIT, nullptr);
        queue.run();
        mciSetAudioOutput(nullptr);
    }

    std::uint32_t open_tone() { return test::open_device(dir / "tone.wav"); }

    std::uint32_t open_path(const std::string& path,
                            std::uint32_t flags = MCI_WAIT | MCI_OPEN_ELEMENT) {
        MCI_OPEN_PARMS open{};
        open.lpstrElementName = path.c_str();
        return mciSendCommand(0, MCI_OPEN, flags, &open);
    }

    std::uint32_t send(std::uint32_t device, std::uint32_t message,
                       std::uint32_t flags = MCI_WAIT) {
        MCI_GENERIC_PARMS params{recorder.handle()};
        return mciSendCommand(device, message, flags, &params);
    }

    std::uint32_t seek_to(std::uint32_t device, std::uint32_t ms) {
        MCI_SEEK_PARMS seek{};
        seek.dwTo = ms;
        return mciSendCommand(device, MCI_SEEK, MCI_WAIT | MCI_TO, &seek);
    }

    std::uint32_t play(std::uint32_t device, std::uint32_t flags = MCI_NOTIFY,
                       std::uint32_t from = 0, std::uint32_t to = 0) {
        MCI_PLAY_PARMS params{recorder.handle(), from, to};
        return mciSendCommand(device, MCI_PLAY, flags, &params);
    }

    std::uint32_t mode(std::uint32_t device) { return test::status_of(device, MCI_STATUS_MODE); }
    std::uint32_t position(std::uint32_t device) {
        return test::status_of(device, MCI_STATUS_POSITION);
    }

    test::ScratchDir dir;
    test::ManualOutput output;
    test::NoticeQueue queue;
    test::NoticeRecorder recorder;
    std::vector<float> samples;
};

TEST_F(MciCommands, DeviceIdsStartAtOneAndAreReusedAfterClose) {
    const std::uint32_t first = open_tone();
    const std::uint32_t second = open_tone();
    EXPECT_EQ(first, 1U);
    EXPECT_EQ(second, 2U);
    EXPECT_EQ(send(first, MCI_CLOSE), 0U);
    EXPECT_EQ(send(first, MCI_CLOSE), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(send(first, MCI_PLAY, 0), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(open_tone(), 1U);
    EXPECT_EQ(send(77, MCI_STOP), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(send(0, MCI_STOP), MCIERR_INVALID_DEVICE_ID);
}

TEST_F(MciCommands, DeviceIsChosenByExtensionWhateverItsCase) {
    std::filesystem::copy_file(dir / "tone.wav", dir / "TONE.WaV");
    const std::uint32_t device = test::open_device(dir / "TONE.WaV");
    MCI_GETDEVCAPS_PARMS caps{};
    caps.dwItem = MCI_GETDEVCAPS_DEVICE_TYPE;
    ASSERT_EQ(mciSendCommand(device, MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, &caps), 0U);
    EXPECT_EQ(caps.dwReturn, MCI_DEVTYPE_WAVEFORM_AUDIO);

    // A wave file under a MIDI name goes to the sequencer, which refuses it.
    std::filesystem::copy_file(dir / "tone.wav", dir / "tone.MID");
    EXPECT_EQ(open_path((dir / "tone.MID").string()), MCIERR_INVALID_FILE);
    // Named explicitly, the device type wins over the extension.
    const std::string path = (dir / "tone.MID").string();
    MCI_OPEN_PARMS open{};
    open.lpstrElementName = path.c_str();
    open.lpstrDeviceType = "WaveAudio";
    EXPECT_EQ(mciSendCommand(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT | MCI_OPEN_TYPE, &open), 0U);
    open.lpstrDeviceType = "cdaudio";
    EXPECT_EQ(mciSendCommand(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT | MCI_OPEN_TYPE, &open),
              MCIERR_INVALID_DEVICE_NAME);
    open.dwDeviceTypeId = MCI_DEVTYPE_WAVEFORM_AUDIO;
    EXPECT_EQ(mciSendCommand(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT | MCI_OPEN_TYPE_ID, &open),
              0U);
}

TEST_F(MciCommands, OpenErrors) {
    EXPECT_EQ(open_path((dir / "missing.wav").string()), MCIERR_FILE_NOT_FOUND);
    std::filesystem::create_directory(dir / "folder.wav");
    EXPECT_EQ(open_path((dir / "folder.wav").string()), MCIERR_FILE_READ);
    // Nobody writes to the FIFO: opening it for reading would wait for good.
    ASSERT_EQ(::mkfifo((dir / "fifo.mid").c_str(), 0600), 0);
    EXPECT_EQ(open_path((dir / "fifo.mid").string()), MCIERR_FILE_READ);
    std::filesystem::create_symlink("/dev/zero", dir / "zero.wav");
    EXPECT_EQ(open_path((dir / "zero.wav").string()), MCIERR_FILE_READ);
    std::filesystem::copy_file(dir / "tone.wav", dir / "tone.ogg");
    EXPECT_EQ(open_path((dir / "tone.ogg").string()), MCIERR_EXTENSION_NOT_FOUND);
    EXPECT_EQ(open_path((dir / "tone").string()), MCIERR_EXTENSION_NOT_FOUND);
    test::write_file(dir / "junk.wav", test::Bytes(300, 0x5A));
    EXPECT_EQ(open_path((dir / "junk.wav").string()), MCIERR_INVALID_FILE);
    EXPECT_EQ(open_path((dir / "tone.wav").string(), MCI_WAIT), MCIERR_FILENAME_REQUIRED);
    EXPECT_EQ(open_path("", MCI_WAIT | MCI_OPEN_ELEMENT), MCIERR_FILENAME_REQUIRED);
    EXPECT_EQ(mciSendCommand(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, nullptr),
              MCIERR_NULL_PARAMETER_BLOCK);
    // Nothing was left open by the failures.
    EXPECT_EQ(open_tone(), 1U);
}

TEST_F(MciCommands, AliasesAreUniqueAndFindTheirDevice) {
    const std::string path = (dir / "tone.wav").string();
    MCI_OPEN_PARMS open{};
    open.lpstrElementName = path.c_str();
    open.lpstrAlias = "song";
    ASSERT_EQ(mciSendCommand(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT | MCI_OPEN_ALIAS, &open), 0U);
    EXPECT_EQ(mciGetDeviceID("SONG"), open.wDeviceID);
    EXPECT_EQ(mciSendCommand(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT | MCI_OPEN_ALIAS, &open),
              MCIERR_DUPLICATE_ALIAS);
    EXPECT_EQ(mciGetDeviceID("other"), 0U);
}

TEST_F(MciCommands, UnknownAndUnsupportedCommands) {
    const std::uint32_t device = open_tone();
    EXPECT_EQ(send(device, 0x0999), MCIERR_UNRECOGNIZED_COMMAND);
    EXPECT_EQ(send(device, MCI_RECORD), MCIERR_UNSUPPORTED_FUNCTION);
    EXPECT_EQ(send(device, MCI_SAVE), MCIERR_UNSUPPORTED_FUNCTION);
    EXPECT_EQ(mciSendCommand(device, MCI_STOP, MCI_NOTIFY, nullptr), MCIERR_NULL_PARAMETER_BLOCK);
}

TEST_F(MciCommands, StatusAndCapabilities) {
    const std::uint32_t device = open_tone();
    EXPECT_EQ(test::status_of(device, MCI_STATUS_LENGTH), 1000U);
    EXPECT_EQ(position(device), 0U);
    EXPECT_EQ(mode(device), MCI_MODE_STOP);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_TIME_FORMAT), MCI_FORMAT_MILLISECONDS);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_READY), 1U);

    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_LENGTH;
    EXPECT_EQ(mciSendCommand(device, MCI_STATUS, MCI_WAIT, &status), MCIERR_MISSING_PARAMETER);
    status.dwItem = 99;
    EXPECT_EQ(mciSendCommand(device, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, &status),
              MCIERR_BAD_CONSTANT);
    EXPECT_EQ(mciSendCommand(device, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, nullptr),
              MCIERR_NULL_PARAMETER_BLOCK);

    const auto capability = [device](std::uint32_t item) {
        MCI_GETDEVCAPS_PARMS caps{};
        caps.dwItem = item;
        EXPECT_EQ(mciSendCommand(device, MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, &caps),
                  0U);
        return caps.dwReturn;
    };
    EXPECT_EQ(capability(MCI_GETDEVCAPS_CAN_PLAY), 1U);
    EXPECT_EQ(capability(MCI_GETDEVCAPS_CAN_RECORD), 0U);
    EXPECT_EQ(capability(MCI_GETDEVCAPS_CAN_EJECT), 0U);
    EXPECT_EQ(capability(MCI_GETDEVCAPS_HAS_VIDEO), 0U);
    EXPECT_EQ(capability(MCI_GETDEVCAPS_USES_FILES), 1U);
    MCI_GETDEVCAPS_PARMS caps{};
    caps.dwItem = 42;
    EXPECT_EQ(mciSendCommand(device, MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, &caps),
              MCIERR_BAD_CONSTANT);
}

TEST_F(MciCommands, PlayPauseResumeStopAndTheirModes) {
    const std::uint32_t device = open_tone();
    ASSERT_EQ(play(device), 0U);
    EXPECT_EQ(mode(device), MCI_MODE_PLAY);
    auto heard = output.render(4410);
    EXPECT_EQ(position(device), 100U);
    EXPECT_TRUE(std::equal(heard.begin(), heard.end(), samples.begin()));

    ASSERT_EQ(send(device, MCI_PAUSE), 0U);
    EXPECT_EQ(mode(device), MCI_MODE_PAUSE);
    EXPECT_EQ(output.attached(), 0U);
    EXPECT_EQ(position(device), 100U);

    ASSERT_EQ(send(device, MCI_RESUME, MCI_NOTIFY), 0U);
    EXPECT_EQ(mode(device), MCI_MODE_PLAY);
    heard = output.render(4410);
    EXPECT_TRUE(std::equal(heard.begin(), heard.end(), samples.begin() + 4410 * 2))
        << "resume continues";

    ASSERT_EQ(send(device, MCI_STOP), 0U);
    EXPECT_EQ(mode(device), MCI_MODE_STOP);
    EXPECT_EQ(position(device), 200U);
    EXPECT_EQ(output.attached(), 0U);
    // Pausing a stopped device leaves it stopped.
    EXPECT_EQ(send(device, MCI_PAUSE), 0U);
    EXPECT_EQ(mode(device), MCI_MODE_STOP);

    queue.run();
    // The play was aborted by the pause, the resume by the stop.
    EXPECT_EQ(recorder.notices,
              (std::vector<Notice>{{device, MCI_NOTIFY_ABORTED}, {device, MCI_NOTIFY_ABORTED}}));
}

TEST_F(MciCommands, SeekStopsAndResumePlaysOnFromThere) {
    const std::uint32_t device = open_tone();
    ASSERT_EQ(play(device), 0U);
    (void)output.render(1000);
    ASSERT_EQ(seek_to(device, 500), 0U);
    EXPECT_EQ(mode(device), MCI_MODE_STOP);
    EXPECT_EQ(position(device), 500U);
    EXPECT_EQ(output.attached(), 0U);
    ASSERT_EQ(send(device, MCI_RESUME, 0), 0U);
    EXPECT_EQ(mode(device), MCI_MODE_PLAY);
    const auto heard = output.render(100);
    EXPECT_TRUE(std::equal(heard.begin(), heard.end(), samples.begin() + 22050 * 2));

    ASSERT_EQ(seek_to(device, 1000), 0U);
    EXPECT_EQ(position(device), 1000U);
    EXPECT_EQ(seek_to(device, 1001), MCIERR_OUTOFRANGE);
    MCI_SEEK_PARMS seek{};
    EXPECT_EQ(mciSendCommand(device, MCI_SEEK, MCI_WAIT, &seek), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(
        mciSendCommand(device, MCI_SEEK, MCI_WAIT | MCI_SEEK_TO_START | MCI_SEEK_TO_END, &seek),
        MCIERR_FLAGS_NOT_COMPATIBLE);
    ASSERT_EQ(mciSendCommand(device, MCI_SEEK, MCI_WAIT | MCI_SEEK_TO_START, &seek), 0U);
    EXPECT_EQ(position(device), 0U);
    ASSERT_EQ(mciSendCommand(device, MCI_SEEK, MCI_WAIT | MCI_SEEK_TO_END, &seek), 0U);
    EXPECT_EQ(position(device), 1000U);
}

TEST_F(MciCommands, PlayToTheEndNotifiesOnceAndLeavesPositionAtLength) {
    const std::uint32_t device = open_tone();
    ASSERT_EQ(play(device), 0U);
    (void)output.render(44099);
    queue.run();
    EXPECT_TRUE(recorder.notices.empty());
    EXPECT_EQ(mode(device), MCI_MODE_PLAY);
    (void)output.render(1000);
    EXPECT_EQ(mode(device), MCI_MODE_STOP);
    EXPECT_EQ(position(device), 1000U);
    EXPECT_TRUE(recorder.notices.empty()) << "notices arrive through the dispatcher only";
    queue.run();
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{device, MCI_NOTIFY_SUCCESSFUL}}));
    EXPECT_EQ(output.attached(), 0U);

    // At the end, a play is over at once; the component rewinds first when it wants more.
    recorder.notices.clear();
    ASSERT_EQ(play(device), 0U);
    EXPECT_EQ(mode(device), MCI_MODE_STOP);
    queue.run();
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{device, MCI_NOTIFY_SUCCESSFUL}}));
    // Resume at the end, too.
    recorder.notices.clear();
    ASSERT_EQ(send(device, MCI_RESUME, MCI_NOTIFY), 0U);
    queue.run();
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{device, MCI_NOTIFY_SUCCESSFUL}}));
}

TEST_F(MciCommands, PlayFromAndTo) {
    const std::uint32_t device = open_tone();
    ASSERT_EQ(play(device, MCI_NOTIFY | MCI_FROM | MCI_TO, 200, 300), 0U);
    const auto heard = output.render(10000);
    EXPECT_TRUE(std::equal(heard.begin(), heard.begin() + 4410 * 2, samples.begin() + 8820 * 2));
    EXPECT_EQ(heard[4410 * 2], 0.0F) << "nothing after the end point";
    EXPECT_EQ(position(device), 300U);
    EXPECT_EQ(mode(device), MCI_MODE_STOP);
    queue.run();
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{device, MCI_NOTIFY_SUCCESSFUL}}));

    EXPECT_EQ(play(device, MCI_FROM, 1001), MCIERR_OUTOFRANGE);
    EXPECT_EQ(play(device, MCI_TO, 0, 1001), MCIERR_OUTOFRANGE);
    EXPECT_EQ(play(device, MCI_FROM | MCI_TO, 500, 400), MCIERR_OUTOFRANGE);
    EXPECT_EQ(play(device, MCI_TO, 0, 100), MCIERR_OUTOFRANGE) << "the end point lies behind";
    EXPECT_EQ(position(device), 300U) << "refused commands change nothing";
}

TEST_F(MciCommands, NewPlaySupersedesTheNoticeOfTheOld) {
    const std::uint32_t device = open_tone();
    ASSERT_EQ(play(device), 0U);
    (void)output.render(100);
    test::NoticeRecorder second;
    MCI_PLAY_PARMS params{second.handle(), 0, 0};
    ASSERT_EQ(mciSendCommand(device, MCI_PLAY, MCI_NOTIFY, &params), 0U);
    (void)output.render(50000);
    queue.run();
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{device, MCI_NOTIFY_SUPERSEDED}}));
    EXPECT_EQ(second.notices, (std::vector<Notice>{{device, MCI_NOTIFY_SUCCESSFUL}}));
}

TEST_F(MciCommands, OtherCommandsNotifyWhenDone) {
    const std::uint32_t device = open_tone();
    MCI_SEEK_PARMS seek{recorder.handle(), 10};
    ASSERT_EQ(mciSendCommand(device, MCI_SEEK, MCI_NOTIFY | MCI_TO, &seek), 0U);
    MCI_STATUS_PARMS status{recorder.handle(), 0, MCI_STATUS_POSITION, 0};
    ASSERT_EQ(mciSendCommand(device, MCI_STATUS, MCI_NOTIFY | MCI_STATUS_ITEM, &status), 0U);
    EXPECT_EQ(status.dwReturn, 10U);
    // A failing command sends no notice.
    MCI_SEEK_PARMS bad{recorder.handle(), 5000};
    EXPECT_EQ(mciSendCommand(device, MCI_SEEK, MCI_NOTIFY | MCI_TO, &bad), MCIERR_OUTOFRANGE);
    queue.run();
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{device, MCI_NOTIFY_SUCCESSFUL},
                                                     {device, MCI_NOTIFY_SUCCESSFUL}}));
}

TEST_F(MciCommands, CloseAbortsAPendingNoticeAndEndsLateOnes) {
    const std::uint32_t device = open_tone();
    ASSERT_EQ(play(device), 0U);
    (void)output.render(44100); // the end is reached; its closure waits in the queue
    ASSERT_EQ(send(device, MCI_CLOSE), 0U);
    EXPECT_EQ(output.attached(), 0U);
    queue.run();
    // The end came first, but the close took the notice before the end's closure ran.
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{device, MCI_NOTIFY_ABORTED}}));
}

TEST_F(MciCommands, UnregisteredCallbackHearsNothing) {
    const std::uint32_t device = open_tone();
    auto gone = std::make_unique<test::NoticeRecorder>();
    MCI_PLAY_PARMS params{gone->handle(), 0, 0};
    ASSERT_EQ(mciSendCommand(device, MCI_PLAY, MCI_NOTIFY, &params), 0U);
    gone.reset();
    (void)output.render(50000);
    EXPECT_EQ(queue.run(), 1U);
}

TEST_F(MciCommands, CloseAllClosesEveryDevice) {
    const std::uint32_t first = open_tone();
    const std::uint32_t second = open_tone();
    ASSERT_EQ(play(first), 0U);
    ASSERT_EQ(play(second, 0), 0U);
    EXPECT_EQ(output.attached(), 2U);
    ASSERT_EQ(send(MCI_ALL_DEVICE_ID, MCI_CLOSE, MCI_WAIT | MCI_NOTIFY), 0U);
    EXPECT_EQ(output.attached(), 0U);
    EXPECT_EQ(send(first, MCI_STOP), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(send(second, MCI_STOP), MCIERR_INVALID_DEVICE_ID);
    queue.run();
    EXPECT_EQ(recorder.notices, (std::vector<Notice>{{first, MCI_NOTIFY_ABORTED},
                                                     {MCI_ALL_DEVICE_ID, MCI_NOTIFY_SUCCESSFUL}}));
}

TEST_F(MciCommands, CommandsWhileTheAudioThreadRenders) {
    // The GUI thread's commands against a rendering thread; run under ThreadSanitizer this shows
    // the locking. No timing is asserted: only that every answer stays consistent.
    const std::uint32_t device = open_tone();
    std::atomic<bool> done{false};
    std::thread audio([&] {
        while (!done.load())
            (void)output.render(256);
    });
    for (int round = 0; round < 300; ++round) {
        ASSERT_EQ(play(device), 0U);
        const std::uint32_t at = position(device);
        EXPECT_LE(at, 1000U);
        ASSERT_EQ(send(device, round % 2 == 0 ? MCI_PAUSE : MCI_STOP), 0U);
        EXPECT_NE(mode(device), MCI_MODE_PLAY);
        ASSERT_EQ(seek_to(device, static_cast<std::uint32_t>(round * 37 % 1000)), 0U);
        ASSERT_EQ(send(device, MCI_RESUME, MCI_NOTIFY), 0U);
        queue.run();
    }
    // Play with MCI_WAIT returns once the audio thread has reached the end.
    ASSERT_EQ(play(device, MCI_WAIT | MCI_NOTIFY | MCI_FROM, 900), 0U);
    EXPECT_EQ(mode(device), MCI_MODE_STOP);
    EXPECT_EQ(position(device), 1000U);
    done = true;
    audio.join();
    queue.run();
    EXPECT_EQ(recorder.notices.back(), (Notice{device, MCI_NOTIFY_SUCCESSFUL}));
}

TEST(MciErrorText, EveryCodeHasAText) {
    char text[4096];
    for (const std::uint32_t code : {MCIERR_INVALID_DEVICE_ID,
                                     MCIERR_UNRECOGNIZED_COMMAND,
                                     MCIERR_INVALID_DEVICE_NAME,
                                     MCIERR_OUT_OF_MEMORY,
                                     MCIERR_CANNOT_LOAD_DRIVER,
                                     MCIERR_MISSING_PARAMETER,
                                     MCIERR_UNSUPPORTED_FUNCTION,
                                     MCIERR_FILE_NOT_FOUND,
                                     MCIERR_DEVICE_NOT_READY,
                                     MCIERR_INTERNAL,
                                     MCIERR_EXTENSION_NOT_FOUND,
                                     MCIERR_OUTOFRANGE,
                                     MCIERR_FLAGS_NOT_COMPATIBLE,
                                     MCIERR_DUPLICATE_ALIAS,
                                     MCIERR_BAD_CONSTANT,
                                     MCIERR_INVALID_FILE,
                                     MCIERR_NULL_PARAMETER_BLOCK,
                                     MCIERR_NONAPPLICABLE_FUNCTION,
                                     MCIERR_FILENAME_REQUIRED,
                                     MCIERR_SEQ_NOMIDIPRESENT,
                                     MCIERR_FILE_READ,
                                     MCIERR_HARDWARE}) {
        ASSERT_TRUE(mciGetErrorString(code, text, sizeof text)) << code;
        EXPECT_GT(std::strlen(text), 20U) << code;
    }
    ASSERT_TRUE(mciGetErrorString(MCIERR_FILE_NOT_FOUND, text, sizeof text));
    EXPECT_NE(std::string(text).find("not be found"), std::string::npos);
}

TEST(MciErrorText, UnknownCodesAndSmallBuffers) {
    char text[16] = "untouched";
    EXPECT_FALSE(mciGetErrorString(12345, text, sizeof text));
    EXPECT_STREQ(text, "");
    EXPECT_FALSE(mciGetErrorString(MCIERR_INVALID_FILE, text, 0));
    EXPECT_FALSE(mciGetErrorString(MCIERR_INVALID_FILE, nullptr, 16));
    ASSERT_TRUE(mciGetErrorString(MCIERR_INVALID_FILE, text, 8));
    EXPECT_EQ(std::strlen(text), 7U);
}

} // namespace
} // namespace vd
