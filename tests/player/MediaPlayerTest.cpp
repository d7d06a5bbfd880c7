#include "player/MediaPlayer.h"

#include "audio/Mci.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace vd {
namespace {

// A command layer that records what the component sends and answers as a device would.
struct RecordingLayer {
    struct Command {
        uint32_t device;
        uint32_t message;
        uint32_t flags;
        uint32_t item = 0; // for MCI_STATUS and MCI_GETDEVCAPS
        uint32_t to = 0;   // for MCI_SEEK
    };
    std::vector<Command> sent;
    uint32_t open_result = 0;
    uint32_t resume_result = 0;
    uint32_t length = 5000;
    uint32_t position = 0;
    uint32_t mode = MCI_MODE_STOP;
    std::string element;

    TMciCommandLayer Layer() {
        TMciCommandLayer layer;
        layer.send_command = [this](uint32_t device, uint32_t message, uint32_t flags,
                                    void* params) -> uint32_t {
            Command c{device, message, flags};
            uint32_t result = 0;
            switch (message) {
            case MCI_OPEN: {
                auto* p = static_cast<MCI_OPEN_PARMS*>(params);
                element = p->lpstrElementName;
                if (open_result == 0)
                    p->wDeviceID = 7;
                result = open_result;
                break;
            }
            case MCI_STATUS: {
                auto* p = static_cast<MCI_STATUS_PARMS*>(params);
                c.item = p->dwItem;
                p->dwReturn = p->dwItem == MCI_STATUS_LENGTH     ? length
                              : p->dwItem == MCI_STATUS_POSITION ? position
                                                                 : mode;
                break;
            }
            case MCI_GETDEVCAPS: {
                auto* p = static_cast<MCI_GETDEVCAPS_PARMS*>(params);
                c.item = p->dwItem;
                p->dwReturn = p->dwItem == MCI_GETDEVCAPS_CAN_PLAY ? 1 : 0;
                break;
            }
            case MCI_SEEK:
                c.to = static_cast<MCI_SEEK_PARMS*>(params)->dwTo;
                break;
            case MCI_RESUME:
                result = resume_result;
                break;
            default:
                break;
            }
            sent.push_back(c);
            return result;
        };
        layer.error_string = [](uint32_t code, char* buffer, uint32_t length) {
            if (code != MCIERR_FILE_NOT_FOUND)
                return false;
            std::strncpy(buffer, "The file was not found.", length);
            return true;
        };
        return layer;
    }
    [[nodiscard]] std::vector<uint32_t> Messages() const {
        std::vector<uint32_t> m;
        for (const Command& c : sent)
            m.push_back(c.message);
        return m;
    }
};

class MediaPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { player.SetCommandLayer(fake.Layer()); }
    void OpenFile() {
        player.SetFileName("/music/song.mid");
        player.Open();
        fake.sent.clear();
    }
    RecordingLayer fake;
    TMediaPlayer player{nullptr};
};

TEST_F(MediaPlayerTest, OpenSendsTheElementAndReadsLengthAndCapabilities) {
    player.SetFileName("/music/song.mid");
    player.Open();
    ASSERT_GE(fake.sent.size(), 2u);
    EXPECT_EQ(fake.sent[0].device, 0u);
    EXPECT_EQ(fake.sent[0].message, MCI_OPEN);
    EXPECT_EQ(fake.sent[0].flags, 0x0202u);
    EXPECT_EQ(fake.element, "/music/song.mid");
    EXPECT_EQ(fake.sent[1].message, MCI_STATUS);
    EXPECT_EQ(fake.sent[1].flags, 0x0102u);
    EXPECT_EQ(fake.sent[1].item, MCI_STATUS_LENGTH);
    EXPECT_EQ(fake.sent[2].message, MCI_GETDEVCAPS);
    EXPECT_EQ(fake.sent[2].flags, 0x0102u);
    EXPECT_TRUE(player.IsOpen());
    EXPECT_EQ(player.DeviceID(), 7u);
}

TEST_F(MediaPlayerTest, AFailedOpenCarriesTheDeviceTextOrOurOwn) {
    fake.open_result = MCIERR_FILE_NOT_FOUND;
    player.SetFileName("/nope.wav");
    try {
        player.Open();
        FAIL() << "open should fail";
    } catch (const EMCIDeviceError& e) {
        EXPECT_STREQ(e.what(), "The file was not found.");
    }
    EXPECT_FALSE(player.IsOpen());
    fake.open_result = MCIERR_INTERNAL; // no text for this one
    EXPECT_THROW(player.Open(), EMCIDeviceError);
    EXPECT_FALSE(player.IsOpen());
}

TEST_F(MediaPlayerTest, EveryOperationOnAClosedDeviceFailsAndSendsNothing) {
    EXPECT_THROW(player.Play(), EMCIDeviceError);
    EXPECT_THROW(player.Stop(), EMCIDeviceError);
    EXPECT_THROW(player.Pause(), EMCIDeviceError);
    EXPECT_THROW(player.Resume(), EMCIDeviceError);
    EXPECT_THROW(player.Seek(10), EMCIDeviceError);
    EXPECT_THROW((void)player.Length(), EMCIDeviceError);
    EXPECT_THROW(player.Rewind(), EMCIDeviceError);
    EXPECT_TRUE(fake.sent.empty());
    player.Close(); // nothing open: nothing to do
    EXPECT_TRUE(fake.sent.empty());
}

TEST_F(MediaPlayerTest, CommandsAndFlagsOfEachOperation) {
    OpenFile();
    player.Stop();
    player.Seek(1234);
    player.Rewind();
    player.Close();
    ASSERT_EQ(fake.sent.size(), 4u);
    EXPECT_EQ(fake.sent[0].message, MCI_STOP);
    EXPECT_EQ(fake.sent[0].flags, MCI_WAIT);
    EXPECT_EQ(fake.sent[1].message, MCI_SEEK);
    EXPECT_EQ(fake.sent[1].flags, 0x000Au);
    EXPECT_EQ(fake.sent[1].to, 1234u);
    EXPECT_EQ(fake.sent[2].message, MCI_SEEK);
    EXPECT_EQ(fake.sent[2].flags, 0x0102u);
    EXPECT_EQ(fake.sent[3].message, MCI_CLOSE);
    EXPECT_EQ(fake.sent[3].flags, MCI_WAIT);
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(player.DeviceID(), 0u);
}

TEST_F(MediaPlayerTest, PlayAtTheEndRewindsFirst) {
    OpenFile();
    fake.position = 100;
    player.Play();
    EXPECT_EQ(fake.Messages(), (std::vector<uint32_t>{MCI_STATUS, MCI_STATUS, MCI_PLAY}));
    EXPECT_EQ(fake.sent.back().flags, MCI_NOTIFY);
    fake.sent.clear();
    fake.position = fake.length;
    player.Play();
    EXPECT_EQ(fake.Messages(), (std::vector<uint32_t>{MCI_STATUS, MCI_STATUS, MCI_SEEK, MCI_PLAY}));
    fake.sent.clear();
    player.SetAutoRewind(false);
    player.Play();
    EXPECT_EQ(fake.Messages(), (std::vector<uint32_t>{MCI_PLAY}));
}

TEST_F(MediaPlayerTest, PauseDependsOnTheModeAndResumeFallsBackToPlay) {
    OpenFile();
    fake.mode = MCI_MODE_PLAY;
    player.Pause();
    EXPECT_EQ(fake.Messages(), (std::vector<uint32_t>{MCI_STATUS, MCI_PAUSE}));
    fake.sent.clear();
    fake.mode = MCI_MODE_PAUSE;
    player.Pause();
    EXPECT_EQ(fake.Messages(), (std::vector<uint32_t>{MCI_STATUS, MCI_RESUME}));
    EXPECT_EQ(fake.sent.back().flags, MCI_NOTIFY);
    fake.sent.clear();
    fake.mode = MCI_MODE_STOP;
    player.Pause();
    EXPECT_EQ(fake.Messages(), (std::vector<uint32_t>{MCI_STATUS}));
    fake.sent.clear();
    fake.resume_result = MCIERR_UNSUPPORTED_FUNCTION;
    player.SetAutoRewind(false);
    player.Resume();
    EXPECT_EQ(fake.Messages(), (std::vector<uint32_t>{MCI_RESUME, MCI_PLAY}));
}

TEST_F(MediaPlayerTest, ModeIsTheStatusLessNotReady) {
    OpenFile();
    fake.mode = MCI_MODE_PAUSE;
    EXPECT_EQ(player.Mode(), TMPModes::mpPaused);
    fake.mode = MCI_MODE_OPEN;
    EXPECT_EQ(player.Mode(), TMPModes::mpOpen);
}

TEST_F(MediaPlayerTest, OpeningAnotherFileClosesTheFirstAndDestructionClosesTheLast) {
    OpenFile();
    player.SetFileName("/music/other.wav");
    player.Open();
    ASSERT_GE(fake.sent.size(), 2u);
    EXPECT_EQ(fake.sent[0].message, MCI_CLOSE);
    EXPECT_EQ(fake.sent[1].message, MCI_OPEN);
    fake.sent.clear();
    {
        TMediaPlayer other(nullptr);
        other.SetCommandLayer(fake.Layer());
        other.SetFileName("/x.mid");
        other.Open();
        fake.sent.clear();
    }
    ASSERT_EQ(fake.sent.size(), 1u);
    EXPECT_EQ(fake.sent[0].message, MCI_CLOSE);
}

} // namespace
} // namespace vd
