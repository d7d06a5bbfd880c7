#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vd::test {
namespace {

namespace fs = std::filesystem;
using Action = CommandLine::Action;

class CommandLineParse : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir_ / "my music"); }
    std::string Touch(const std::string& relative) {
        std::ofstream(dir_ / relative) << "x";
        return (dir_ / relative).string();
    }
    CommandLine Parse(std::vector<std::string> args) { return ParseCommandLine(args, dir_.Path()); }
    test::ScratchDir dir_{fs::temp_directory_path(), "vodezaru-cmdline"};
};

TEST_F(CommandLineParse, NoArgumentsStartsEmpty) {
    const CommandLine line = Parse({});
    EXPECT_EQ(line.action, Action::Start);
    EXPECT_FALSE(line.enqueue);
    EXPECT_FALSE(line.new_instance);
    EXPECT_TRUE(line.files.empty());
}

TEST_F(CommandLineParse, SeparateExistingFilesStaySeparateAndRelativeOnesAreMadeAbsolute) {
    const std::string a = Touch("a.mod");
    const std::string b = Touch("my music/b.xm");
    const CommandLine line = Parse({"a.mod", b, "list.pvl"});
    // list.pvl does not exist: each argument stays a path of its own, still absolute.
    ASSERT_EQ(line.files.size(), 3u);
    EXPECT_EQ(line.files[0], a);
    EXPECT_EQ(line.files[1], b);
    EXPECT_EQ(line.files[2], (dir_ / "list.pvl").string());
    const CommandLine both = Parse({"./a.mod", "my music/../my music/b.xm"});
    EXPECT_EQ(both.files, (std::vector<std::string>{a, b}));
}

TEST_F(CommandLineParse, ANameWithBlanksGivenWithoutQuotesIsJoinedOnlyAsTheFallback) {
    const std::string spaced = Touch("my music/old song.mod");
    EXPECT_EQ(Parse({"my", "music/old", "song.mod"}).files, std::vector<std::string>{spaced});
    // When the parts are files themselves they are taken as they are.
    const std::string old = Touch("old");
    const std::string song = Touch("song.mod");
    const std::string old_song = Touch("old song.mod");
    EXPECT_EQ(Parse({"old", "song.mod"}).files, (std::vector<std::string>{old, song}));
    fs::remove(old);
    EXPECT_EQ(Parse({"old", "song.mod"}).files, std::vector<std::string>{old_song});
}

TEST_F(CommandLineParse, OptionsAndControlActions) {
    const std::string a = Touch("a.mod");
    CommandLine line = Parse({"--enqueue", "a.mod"});
    EXPECT_TRUE(line.enqueue);
    EXPECT_EQ(line.files, std::vector<std::string>{a});
    EXPECT_TRUE(Parse({"-e", "a.mod"}).enqueue);
    EXPECT_TRUE(Parse({"--new-instance"}).new_instance);
    EXPECT_EQ(Parse({"--play-pause"}).action, Action::PlayPause);
    EXPECT_EQ(Parse({"--next"}).action, Action::Next);
    EXPECT_EQ(Parse({"--previous"}).action, Action::Previous);
    EXPECT_EQ(Parse({"--stop"}).action, Action::Stop);
    EXPECT_EQ(Parse({"a.mod", "--help", "--bogus"}).action, Action::Help);
    EXPECT_EQ(Parse({"-h"}).action, Action::Help);
    EXPECT_EQ(Parse({"--version"}).action, Action::Version);
    EXPECT_THROW((void)Parse({"--next", "--stop"}), CommandLineError);
}

TEST_F(CommandLineParse, UnknownOptionsAreRefusedWithTheirName) {
    try {
        (void)Parse({"a.mod", "--shuffle"});
        FAIL() << "an unknown option was taken";
    } catch (const CommandLineError& error) {
        EXPECT_NE(std::string(error.what()).find("'--shuffle'"), std::string::npos);
    }
    EXPECT_THROW((void)Parse({"-x"}), CommandLineError);
    EXPECT_THROW((void)Parse({"--next=1"}), CommandLineError);
}

TEST_F(CommandLineParse, TheWindowSystemsOwnOptionsAndDoubleDashPassThrough) {
    const std::string dash = Touch("-odd.mod");
    const CommandLine line =
        Parse({"-platform", "xcb", "-style=fusion", "-reverse", "--", "-odd.mod"});
    EXPECT_EQ(line.files, std::vector<std::string>{dash});
    // A lone dash is a file name too.
    EXPECT_EQ(Parse({"-"}).files.size(), 1u);
}

TEST(InstanceRequests, FollowTheCommandLine) {
    CommandLine line;
    EXPECT_EQ(RequestFor(line).kind, InstanceRequest::Kind::Activate);
    line.files = {"/a.mod", "/b.xm"};
    line.enqueue = true;
    const InstanceRequest open = RequestFor(line);
    EXPECT_EQ(open.kind, InstanceRequest::Kind::Open);
    EXPECT_EQ(open.files, line.files);
    EXPECT_TRUE(open.enqueue);
    line.action = Action::Previous;
    const InstanceRequest action = RequestFor(line);
    EXPECT_EQ(action.kind, InstanceRequest::Kind::Action);
    EXPECT_EQ(action.action, "previous");
    EXPECT_EQ(ActionNamed("play-pause"), Action::PlayPause);
    EXPECT_FALSE(ActionNamed("help").has_value());
}

TEST(InstanceRequests, TheSocketIsPerUserAndDisplayInTheRuntimeFolder) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved_display = display != nullptr ? display : "";
    setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    setenv("DISPLAY", ":7", 1);
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(InstanceSocketPath(), "/run/user/1000/io.github.vodezaru.VODezaru._7.socket");
    setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    EXPECT_EQ(InstanceSocketPath(), "/run/user/1000/io.github.vodezaru.VODezaru.wayland-0.socket");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(InstanceSocketPath().rfind(fs::temp_directory_path().string(), 0), 0u);
    if (display != nullptr)
        setenv("DISPLAY", saved_display.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

} // namespace
} // namespace vd::test
