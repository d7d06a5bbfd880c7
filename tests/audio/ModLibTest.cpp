#include "audio/ModLib.h"
#include "tests/support/TestModules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using vd::test::SongShape;

// The module library plays through the process-wide output: make it the silent, real-time
// sink before anything opens it.
const bool kSilentOutput = [] {
    ::setenv("VODEZARU_AUDIO_OUT", "null", 1);
    return true;
}();

constexpr std::int32_t kOrderRow11 = 65537; // order 1, row 1

int order_of(std::int32_t position) {
    return position & 0xffff;
}
int row_of(std::int32_t position) {
    return (position >> 16) & 0xffff;
}

// Polls `condition` until it holds or a generous limit passes (the limit is a safety net for a
// broken build, not a speed requirement).
template <class Condition>
bool eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

class ModLib : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kSilentOutput);
        MODLIB_Free();
        MODLIB_Init(-1, 44100, 32);
    }
    void TearDown() override {
        MODLIB_Free();
        for (const auto& path : files_) {
            fs::remove(path);
        }
    }

    // Writes `bytes` into a file in the working folder (inside the build tree).
    std::string write_file(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const fs::path path = fs::current_path() / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        files_.push_back(path);
        return path.string();
    }

    // LoadModule as the player does it.
    std::int32_t load(const SongShape& shape) {
        const std::string path = write_file("modlib_song.mod", vd::test::make_song_bytes(shape));
        MODLIB_Free();
        MODLIB_Init(-1, 44100, 32);
        return MODLIB_MusicLoad(0, path.c_str(), 0, 0, 512);
    }

    // Plays until the position has moved past the start of the song.
    void play_a_little() {
        MODLIB_MusicPlay();
        ASSERT_TRUE(eventually([] { return MODLIB_MusicGetPosition() != 0; }));
    }

private:
    std::vector<fs::path> files_;
};

TEST_F(ModLib, LoadStandsAtTheStartWithTitleAndOrders) {
    SongShape shape;
    shape.title = "Morning Test";
    shape.orders = 5;
    ASSERT_NE(load(shape), 0);
    EXPECT_STREQ(MODLIB_MusicGetName(), "Morning Test");
    EXPECT_EQ(MODLIB_MusicGetLength(0) & 0xffff, 5);
    EXPECT_EQ(MODLIB_MusicGetPosition(), 0);
    EXPECT_EQ(MODLIB_MusicIsActive(), 0);
    EXPECT_EQ(MODLIB_MusicHasEnded(), 0);
    EXPECT_EQ(MODLIB_MusicGetLength(1), 0); // only orders are a known unit
}

// The desktop's media controls speak in time; the slider in orders. Four orders of 64 rows at
// speed 1, tempo 255 last 64 * 2500 / 255 ms each, about 627 ms.
TEST_F(ModLib, TellsItsLengthInTimeAndTheOrderAtATime) {
    SongShape shape;
    shape.orders = 4;
    ASSERT_NE(load(shape), 0);
    const vd::ModuleDetails details = vd::modlib_details();
    EXPECT_NEAR(static_cast<double>(details.duration_ms), 4 * 64 * 2500.0 / 255, 30.0);
    EXPECT_EQ(vd::modlib_order_at_ms(0), 0);
    EXPECT_EQ(vd::modlib_order_at_ms(300), 0);
    EXPECT_EQ(vd::modlib_order_at_ms(900), 1);
    EXPECT_EQ(vd::modlib_order_at_ms(1500), 2);
    EXPECT_EQ(vd::modlib_order_at_ms(2200), 3);
    EXPECT_EQ(vd::modlib_order_at_ms(999'999), 3);
    EXPECT_EQ(vd::modlib_position_ms(), 0) << "measuring the orders leaves the song at its start";
    EXPECT_EQ(MODLIB_MusicGetPosition(), 0);

    MODLIB_MusicSetPosition(2);
    EXPECT_NEAR(static_cast<double>(vd::modlib_position_ms()), 2 * 64 * 2500.0 / 255, 30.0);

    MODLIB_Free();
    EXPECT_EQ(vd::modlib_details().duration_ms, 0);
    EXPECT_EQ(vd::modlib_position_ms(), 0);
    EXPECT_EQ(vd::modlib_order_at_ms(1000), 0);
}

TEST_F(ModLib, LoadsPartOfAFileAndFromMemory) {
    SongShape shape;
    shape.title = "Embedded";
    shape.orders = 3;
    const auto song = vd::test::make_song_bytes(shape);
    std::vector<std::uint8_t> wrapped(100 + song.size() + 50, 0xEE);
    std::ranges::copy(song, wrapped.begin() + 100);

    const std::string path = write_file("modlib_wrapped.bin", wrapped);
    const auto length = static_cast<std::int32_t>(song.size());
    ASSERT_NE(MODLIB_MusicLoad(0, path.c_str(), 100, length, 512), 0);
    EXPECT_STREQ(MODLIB_MusicGetName(), "Embedded");
    EXPECT_EQ(MODLIB_MusicGetLength(0), 3);
    EXPECT_EQ(vd::modlib_file_name(), path);

    const auto* memory = reinterpret_cast<const char*>(wrapped.data());
    ASSERT_NE(MODLIB_MusicLoad(1, memory, 100, length, 0), 0);
    EXPECT_STREQ(MODLIB_MusicGetName(), "Embedded");
    EXPECT_EQ(vd::modlib_file_name(), "");              // memory has no file name
    EXPECT_EQ(MODLIB_MusicLoad(1, memory, 0, 0, 0), 0); // memory needs a length
}

TEST_F(ModLib, PlayingAdvancesThePosition) {
    ASSERT_NE(load({}), 0);
    EXPECT_NE(MODLIB_MusicPlay(), 0);
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    ASSERT_TRUE(eventually([] { return row_of(MODLIB_MusicGetPosition()) >= 8; }));
    ASSERT_TRUE(eventually([] { return order_of(MODLIB_MusicGetPosition()) >= 1; }));
}

TEST_F(ModLib, PauseKeepsThePositionAndPlayResumes) {
    ASSERT_NE(load({}), 0);
    play_a_little();
    EXPECT_NE(MODLIB_MusicPause(), 0);
    EXPECT_EQ(MODLIB_MusicIsActive(), 0);
    const std::int32_t paused_at = MODLIB_MusicGetPosition();
    std::this_thread::sleep_for(60ms); // several rows' worth of time
    EXPECT_EQ(MODLIB_MusicGetPosition(), paused_at);
    EXPECT_EQ(MODLIB_MusicHasEnded(), 0);

    MODLIB_MusicPlay();
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    ASSERT_TRUE(eventually([&] { return MODLIB_MusicGetPosition() != paused_at; }));
}

TEST_F(ModLib, StopHaltsAndSetPositionMovesToOrderAndRow) {
    ASSERT_NE(load({}), 0);
    play_a_little();
    EXPECT_NE(MODLIB_MusicStop(), 0);
    EXPECT_EQ(MODLIB_MusicIsActive(), 0);

    // The player's stop: order 1, row 1, which is where the next play starts.
    EXPECT_NE(MODLIB_MusicSetPosition(kOrderRow11), 0);
    EXPECT_EQ(MODLIB_MusicGetPosition(), kOrderRow11);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(MODLIB_MusicGetPosition(), kOrderRow11) << "a stopped song moved";

    MODLIB_MusicPlay(); // TogglePause after a stop
    ASSERT_TRUE(eventually([] { return row_of(MODLIB_MusicGetPosition()) > 1; }));
    EXPECT_EQ(order_of(MODLIB_MusicGetPosition()), 1);
}

TEST_F(ModLib, SetPositionWhilePlayingContinuesThere) {
    SongShape shape;
    shape.orders = 6;
    ASSERT_NE(load(shape), 0);
    play_a_little();
    MODLIB_MusicSetPosition(4); // the slider: order 4, row 0
    const std::int32_t now = MODLIB_MusicGetPosition();
    EXPECT_EQ(order_of(now), 4);
    EXPECT_LE(row_of(now), 1);
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    ASSERT_TRUE(eventually([] { return row_of(MODLIB_MusicGetPosition()) >= 4; }));
    EXPECT_EQ(order_of(MODLIB_MusicGetPosition()), 4);
}

TEST_F(ModLib, SetPositionOutsideTheSongKeepsThePosition) {
    SongShape shape;
    shape.orders = 2;
    ASSERT_NE(load(shape), 0);
    MODLIB_MusicSetPosition(kOrderRow11);
    MODLIB_MusicSetPosition(7); // order 7 does not exist
    EXPECT_EQ(MODLIB_MusicGetPosition(), kOrderRow11);
    MODLIB_MusicSetPosition(1 | 200 << 16); // nor does row 200
    EXPECT_EQ(MODLIB_MusicGetPosition(), kOrderRow11);
}

TEST_F(ModLib, ASongEndsOnceAndStaysEndedUntilMoved) {
    SongShape shape;
    shape.orders = 1;
    shape.last_row = 3;
    ASSERT_NE(load(shape), 0);
    MODLIB_MusicPlay();
    ASSERT_TRUE(eventually([] { return MODLIB_MusicHasEnded() != 0; }));
    EXPECT_EQ(MODLIB_MusicIsActive(), 0);

    MODLIB_MusicPlay(); // the end is the end: nothing to play from there
    EXPECT_EQ(MODLIB_MusicIsActive(), 0);
    EXPECT_NE(MODLIB_MusicHasEnded(), 0);

    MODLIB_MusicSetPosition(0);
    EXPECT_EQ(MODLIB_MusicHasEnded(), 0);
    EXPECT_EQ(MODLIB_MusicGetPosition(), 0);
    MODLIB_MusicPlay();
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    ASSERT_TRUE(eventually([] { return MODLIB_MusicHasEnded() != 0; }));
}

TEST_F(ModLib, ARejectedFileLoadsNothing) {
    ASSERT_NE(load({}), 0);
    MODLIB_MusicPlay();
    const std::string text =
        write_file("modlib_text.mod", {'n', 'o', 't', ' ', 'a', ' ', 'm', 'o', 'd'});
    ASSERT_EQ(MODLIB_MusicLoad(0, text.c_str(), 0, 0, 0), 0);
    EXPECT_EQ(vd::modlib_file_name(), text); // still the file the player asked for
    MODLIB_Free();
    EXPECT_EQ(vd::modlib_file_name(), "");
    ASSERT_NE(load({}), 0);
    MODLIB_MusicPlay();
    EXPECT_EQ(MODLIB_MusicLoad(0, text.c_str(), 0, 0, 512), 0);
    EXPECT_STREQ(MODLIB_MusicGetName(), "");
    EXPECT_EQ(MODLIB_MusicGetLength(0), 0);
    EXPECT_EQ(MODLIB_MusicPlay(), 0);
    EXPECT_EQ(MODLIB_MusicIsActive(), 0);
    EXPECT_EQ(MODLIB_MusicLoad(0, "no-such-file.mod", 0, 0, 512), 0);
    EXPECT_EQ(MODLIB_MusicLoad(0, nullptr, 0, 0, 512), 0);
}

TEST_F(ModLib, AFifoFolderOrDeviceLoadsNothingAndDoesNotWait) {
    const fs::path fifo =
        fs::temp_directory_path() / ("modlib_fifo_" + std::to_string(::getpid()) + ".mod");
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Nobody writes to it: a load that opened it for reading would wait for good.
    EXPECT_EQ(MODLIB_MusicLoad(0, fifo.c_str(), 0, 0, 512), 0);
    fs::remove(fifo);
    EXPECT_EQ(MODLIB_MusicLoad(0, fs::temp_directory_path().c_str(), 0, 0, 512), 0);
    EXPECT_EQ(MODLIB_MusicLoad(0, "/dev/zero", 0, 0, 512), 0);
    EXPECT_STREQ(MODLIB_MusicGetName(), "");
    // A real module after them loads as ever.
    EXPECT_NE(load({}), 0);
}

TEST_F(ModLib, CallsWithoutAModuleAreHarmless) {
    MODLIB_Free();
    EXPECT_STREQ(MODLIB_MusicGetName(), "");
    EXPECT_EQ(MODLIB_MusicPlay(), 0);
    EXPECT_EQ(MODLIB_MusicIsActive(), 0);
    EXPECT_EQ(MODLIB_MusicPause(), 0);
    EXPECT_EQ(MODLIB_MusicStop(), 0);
    EXPECT_EQ(MODLIB_MusicSetPosition(kOrderRow11), 0);
    EXPECT_EQ(MODLIB_MusicGetPosition(), 0);
    EXPECT_EQ(MODLIB_MusicGetLength(0), 0);
    EXPECT_EQ(MODLIB_MusicHasEnded(), 0);
    EXPECT_NE(MODLIB_Free(), 0);
}

TEST_F(ModLib, LoadingASecondModuleReplacesTheFirst) {
    SongShape first;
    first.title = "First";
    ASSERT_NE(load(first), 0);
    play_a_little();
    SongShape second;
    second.title = "Second";
    second.orders = 2;
    ASSERT_NE(load(second), 0);
    EXPECT_STREQ(MODLIB_MusicGetName(), "Second");
    EXPECT_EQ(MODLIB_MusicIsActive(), 0);
    EXPECT_EQ(MODLIB_MusicGetPosition(), 0);
    EXPECT_EQ(MODLIB_MusicGetLength(0), 2);
}

// The GUI thread's commands race the audio thread's rendering; run under the thread sanitizer
// this shows that they are properly ordered.
TEST_F(ModLib, CommandsWhileRenderingAreSafe) {
    SongShape shape;
    shape.orders = 8;
    for (int round = 0; round < 3; ++round) {
        ASSERT_NE(load(shape), 0);
        MODLIB_MusicPlay();
        for (int i = 0; i < 300; ++i) {
            switch (i % 5) {
            case 0:
                MODLIB_MusicPause();
                break;
            case 1:
                MODLIB_MusicPlay();
                break;
            case 2:
                MODLIB_MusicSetPosition(i % 8);
                break;
            case 3:
                (void)MODLIB_MusicIsActive();
                break;
            default:
                std::this_thread::sleep_for(100us);
                break;
            }
            (void)MODLIB_MusicGetPosition();
        }
    }
    MODLIB_Free();
    EXPECT_EQ(MODLIB_MusicIsActive(), 0);
}

} // namespace
