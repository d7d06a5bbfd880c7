// The desktop's media controls drive the player over MPRIS, as playerctl and busctl do: on a
// private session bus, against the real player under Xvfb, its sound recorded.
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Process.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/TestSongs.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"
#include "tests/support/MediaTestSupport.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <future>
#include <thread>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

constexpr const char* kBusName = "org.mpris.MediaPlayer2.vodezaru";

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string playerctl(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"playerctl", "-p", "vodezaru"};
    argv.insert(argv.end(), args.begin(), args.end());
    return trimmed(run_capturing(argv, {}, 5s, ErrorOutput::Inherited, AtTimeout::CutOff).output);
}

// Watches the player's signals on the bus for `duration` while the test acts; the text
// dbus-monitor printed.
std::future<std::string> monitor_signals(std::chrono::milliseconds duration) {
    auto started = std::async(std::launch::async, [duration] {
        return run_capturing(
                   {"dbus-monitor", "--session", "type='signal',path='/org/mpris/MediaPlayer2'"},
                   {}, duration, ErrorOutput::Inherited, AtTimeout::CutOff)
            .output;
    });
    std::this_thread::sleep_for(500ms); // until the monitor is listening
    return started;
}

class Mpris : public WindowTest<> {
protected:
    void SetUp() override {
        WindowTest<>::SetUp();
        if (IsSkipped())
            return;
        if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr)
            GTEST_SKIP() << "no private session bus (the test runs under dbus-run-session)";
    }

    // A steady tone of `seconds` named `name` in the scratch folder.
    std::filesystem::path tone(const std::string& name, double frequency_hz, int seconds) {
        const std::filesystem::path path = *scratch_ / name;
        const auto frames = static_cast<std::size_t>(seconds) * 44100;
        test::write_wave(path, SF_FORMAT_PCM_16, 44100, 2,
                         test::tones(frames, 2, 44100, frequency_hz));
        return path;
    }

    // A playlist of `songs`; started with it, the player shows them and plays nothing.
    std::filesystem::path playlist(const std::vector<std::filesystem::path>& songs) {
        const std::filesystem::path path = *scratch_ / "list.pvl";
        std::ofstream out(path, std::ios::binary);
        for (const auto& song : songs)
            out << song.string() << "\r\n";
        return path;
    }

    // Waits until playerctl answers `expected` to `args`; the last answer.
    std::string wait_for(const std::vector<std::string>& args, const std::string& expected) {
        std::string answer;
        (void)wait_until(
            [&] {
                answer = playerctl(args);
                return answer == expected;
            },
            5s, 100ms);
        return answer;
    }

    std::unique_ptr<Player> start(const std::vector<std::string>& arguments) {
        auto player = std::make_unique<Player>(*x_, arguments, "wav:" + recording_.string());
        // The name is taken once the window is up; the bus may take a moment to say so.
        const bool named = wait_until([] { return !playerctl({"status"}).empty(); }, 5s, 100ms);
        if (!named)
            ADD_FAILURE() << "the player did not appear on the session bus as " << kBusName;
        return player;
    }
};

TEST_F(Mpris, PlaysFromTheListAndTellsWhatPlays) {
    const auto a = tone("first tone.wav", 440.0, 6);
    const auto b = tone("second.wav", 660.0, 8);
    auto player = start({playlist({a, b}).string()});
    EXPECT_EQ(playerctl({"status"}), "Stopped");
    EXPECT_EQ(playerctl({"metadata", "mpris:trackid"}),
              "'/org/mpris/MediaPlayer2/TrackList/NoTrack'");

    playerctl({"play"});
    EXPECT_EQ(wait_for({"status"}, "Playing"), "Playing");
    EXPECT_EQ(wait_for({"metadata", "--format", "{{xesam:title}}|{{mpris:length}}"},
                       "first tone.wav|6000000"),
              "first tone.wav|6000000");
    EXPECT_EQ(playerctl({"metadata", "xesam:url"}),
              "file://" + std::filesystem::absolute(a).parent_path().string() +
                  "/first%20tone.wav");

    playerctl({"next"});
    EXPECT_EQ(wait_for({"metadata", "xesam:title"}, "second.wav"), "second.wav");
    playerctl({"previous"});
    EXPECT_EQ(wait_for({"metadata", "xesam:title"}, "first tone.wav"), "first tone.wav");

    playerctl({"pause"});
    EXPECT_EQ(wait_for({"status"}, "Paused"), "Paused");
    playerctl({"play-pause"});
    EXPECT_EQ(wait_for({"status"}, "Playing"), "Playing");
    playerctl({"stop"});
    EXPECT_EQ(wait_for({"status"}, "Stopped"), "Stopped");
    EXPECT_TRUE(player->process().running());
}

TEST_F(Mpris, PositionSeeksAndAnnouncesTheJump) {
    auto player = start({tone("long.wav", 440.0, 30).string()});
    ASSERT_EQ(wait_for({"status"}, "Playing"), "Playing");
    auto signals = monitor_signals(2500ms);
    playerctl({"position", "10"});
    const std::string seen = signals.get();
    EXPECT_NE(seen.find("member=Seeked"), std::string::npos) << seen;
    const double at_s = std::stod(playerctl({"position"}));
    EXPECT_GE(at_s, 10.0);
    EXPECT_LT(at_s, 13.0);

    // A track change is no seek.
    auto more = monitor_signals(2000ms);
    playerctl({"next"}); // the only entry again, from its start
    const std::string after = more.get();
    EXPECT_EQ(after.find("member=Seeked"), std::string::npos) << after;
}

TEST_F(Mpris, VolumeHalvesTheLoudness) {
    auto player = start({tone("steady.wav", 440.0, 20).string()});
    ASSERT_TRUE(wait_until([&] { return recorded_frames(recording_) >= frames_of_ms(2000); }, 10s));
    playerctl({"volume", "0.5"});
    const std::size_t turned_at = recorded_frames(recording_);
    ASSERT_TRUE(wait_until(
        [&] { return recorded_frames(recording_) >= turned_at + frames_of_ms(1500); }, 10s));
    EXPECT_EQ(playerctl({"volume"}), "0.500000");

    const Recording r = read_recording(recording_);
    const std::span<const float> all(r.mono);
    const double before = test::rms(all.subspan(frames_of_ms(1000), frames_of_ms(800)));
    const double after = test::rms(all.subspan(turned_at + frames_of_ms(500), frames_of_ms(800)));
    ASSERT_GT(before, 1000.0);
    EXPECT_NEAR(after / before, 0.5, 0.05);
}

TEST_F(Mpris, QuitEndsThePlayerAndKeepsItsPlace) {
    auto player = start({});
    playerctl({"volume", "0.3"});
    ASSERT_EQ(wait_for({"volume"}, "0.300000"), "0.300000");
    const WindowInfo w = player->window();
    run_program({"busctl", "--user", "call", kBusName, "/org/mpris/MediaPlayer2",
                 "org.mpris.MediaPlayer2", "Quit"},
                5s);
    ASSERT_TRUE(player->process().wait_for_exit(5s)) << "the player did not end on Quit";
    std::ifstream in(settings_file());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Left=" + std::to_string(w.x)), std::string::npos) << text;
    EXPECT_NE(text.find("Top=" + std::to_string(w.y)), std::string::npos) << text;
    EXPECT_NE(text.find("Volume=30"), std::string::npos) << text;

    // The next start begins at that volume.
    auto again = start({});
    EXPECT_EQ(playerctl({"volume"}), "0.300000");
}

TEST_F(Mpris, TheWindowsOwnButtonsAreAnnounced) {
    auto player = start({tone("button.wav", 440.0, 20).string()});
    ASSERT_EQ(wait_for({"status"}, "Playing"), "Playing");
    auto signals = monitor_signals(2500ms);
    const auto [x, y] = player->screen_point(58 + 11, 195 + 7); // PauseBtn
    xdo::move_to(x, y);
    xdo::click(1);
    const std::string seen = signals.get();
    EXPECT_NE(seen.find("PropertiesChanged"), std::string::npos) << seen;
    EXPECT_NE(seen.find("\"Paused\""), std::string::npos) << seen;
    EXPECT_EQ(playerctl({"status"}), "Paused");
}

TEST_F(Mpris, OpenUriAddsAndPlaysAndAStalePositionIsIgnored) {
    const auto first = tone("first.wav", 440.0, 30);
    auto player = start({first.string()});
    ASSERT_EQ(wait_for({"status"}, "Playing"), "Playing");
    const std::string old_track = playerctl({"metadata", "mpris:trackid"});

    const auto added = tone("added song.wav", 660.0, 30);
    playerctl({"open", "file://" + std::filesystem::absolute(added).string()});
    EXPECT_EQ(wait_for({"metadata", "xesam:title"}, "added song.wav"), "added song.wav");
    EXPECT_EQ(playerctl({"status"}), "Playing");

    // SetPosition names the track it means: one that is no longer playing is not moved in.
    std::string stale = old_track;
    stale.erase(std::remove(stale.begin(), stale.end(), '\''), stale.end());
    ASSERT_FALSE(stale.empty());
    run_program({"busctl", "--user", "call", kBusName, "/org/mpris/MediaPlayer2",
                 "org.mpris.MediaPlayer2.Player", "SetPosition", "ox", stale, "20000000"},
                5s);
    std::this_thread::sleep_for(300ms);
    EXPECT_LT(std::stod(playerctl({"position"})), 5.0);

    std::string current = playerctl({"metadata", "mpris:trackid"});
    current.erase(std::remove(current.begin(), current.end(), '\''), current.end());
    run_program({"busctl", "--user", "call", kBusName, "/org/mpris/MediaPlayer2",
                 "org.mpris.MediaPlayer2.Player", "SetPosition", "ox", current, "20000000"},
                5s);
    EXPECT_TRUE(wait_until([] { return std::stod(playerctl({"position"})) >= 20.0; }, 3s));
}

TEST_F(Mpris, AModuleTellsItsNameAndLengthAndTheSliderSeeksIt) {
    const std::filesystem::path song = *scratch_ / "rhythm.mod";
    modwriter::save_mod(rhythm_song("Rhythm Check", 7), song);
    auto player = start({song.string()});
    ASSERT_EQ(wait_for({"status"}, "Playing"), "Playing");
    EXPECT_EQ(playerctl({"metadata", "xesam:title"}), "Rhythm Check");
    // Four orders of 64 rows at 40 ms a row.
    const double length_s = std::stod(playerctl({"metadata", "mpris:length"})) / 1e6;
    EXPECT_NEAR(length_s, 4 * 64 * 0.04, 0.2);

    // Past the first position refresh, which gives the slider its maximum.
    std::this_thread::sleep_for(600ms);
    auto signals = monitor_signals(2500ms);
    // The thumb (20 pixels wide, at the start of the first order) dragged to the third order:
    // 150 of the 275 pixels it travels over the slider's 4 orders.
    const auto [x, y] = player->screen_point(4 + 10, 182 + 4);
    xdo::move_to(x, y);
    xdo::press(1);
    for (int step = 1; step <= 4; ++step) {
        std::this_thread::sleep_for(50ms);
        xdo::move_to(x + 150 * step / 4, y);
    }
    std::this_thread::sleep_for(50ms);
    xdo::release(1);
    const std::string seen = signals.get();
    EXPECT_NE(seen.find("member=Seeked"), std::string::npos) << seen;
    EXPECT_GT(std::stod(playerctl({"position"})), 2 * 64 * 0.04);
}

TEST_F(Mpris, TheRootInterfaceNamesThePlayer) {
    auto player = start({});
    const std::string identity =
        run_capturing({"busctl", "--user", "get-property", kBusName, "/org/mpris/MediaPlayer2",
                       "org.mpris.MediaPlayer2", "Identity"},
                      {}, 5s, ErrorOutput::Inherited, AtTimeout::CutOff)
            .output;
    EXPECT_EQ(trimmed(identity), "s \"VO Dezaru\"");
    const std::string entry =
        run_capturing({"busctl", "--user", "get-property", kBusName, "/org/mpris/MediaPlayer2",
                       "org.mpris.MediaPlayer2", "DesktopEntry"},
                      {}, 5s, ErrorOutput::Inherited, AtTimeout::CutOff)
            .output;
    EXPECT_EQ(trimmed(entry), "s \"io.github.vodezaru.VODezaru\"");
    EXPECT_EQ(playerctl({"loop"}), "Playlist");
    EXPECT_EQ(playerctl({"shuffle"}), "Off");
}

} // namespace
} // namespace vd::e2e
