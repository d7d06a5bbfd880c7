// A playing module tells of each new row, of a jump and of its end, so that the display can sleep
// between rows instead of polling; it tells of nothing else.
#include "audio/ModLib.h"
#include "audio/ModulePlayer.h"
#include "tests/support/TestModules.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The process-wide output stays silent and needs no sound card.
const bool kSilentOutput = ::setenv("VODEZARU_AUDIO_OUT", "null", 1) == 0;

std::vector<std::byte> song_bytes(const vd::test::SongShape& shape) {
    const auto bytes = vd::test::make_song_bytes(shape);
    const auto* first = reinterpret_cast<const std::byte*>(bytes.data());
    return {first, first + bytes.size()};
}

struct Rendered {
    int blocks = 0;
    int moves = 0; // blocks after which the position differed from before
};

// Renders small blocks by hand, as the audio thread would, counting the moves it sees.
Rendered render_blocks(vd::ModulePlayer& player, int blocks) {
    std::vector<float> block(64 * vd::kOutputChannels);
    Rendered seen;
    for (int i = 0; i < blocks && !player.has_ended(); ++i) {
        const vd::ModulePosition before = player.position();
        player.render(block);
        ++seen.blocks;
        if (!(player.position() == before))
            ++seen.moves;
    }
    return seen;
}

TEST(ModuleChange, EachNewRowIsToldOnceAndUnchangedBlocksAreNot) {
    vd::ModulePlayer player(song_bytes({}));
    int notices = 0;
    player.set_change_listener([&] { ++notices; });
    player.play();
    const Rendered seen = render_blocks(player, 200);
    EXPECT_GT(seen.moves, 10) << "the song moves on";
    EXPECT_LT(seen.moves, seen.blocks) << "rows last several blocks here";
    EXPECT_EQ(notices, seen.moves);
}

TEST(ModuleChange, APausedModuleTellsNothingUntilItIsMoved) {
    vd::ModulePlayer player(song_bytes({}));
    int notices = 0;
    player.set_change_listener([&] { ++notices; });
    player.play();
    render_blocks(player, 20);
    player.pause();
    const int before = notices;
    render_blocks(player, 50);
    EXPECT_EQ(notices, before);
    // A click on the slider while paused shows the new place at once.
    player.set_position({2, 0});
    EXPECT_EQ(notices, before + 1);
    EXPECT_EQ(player.position(), (vd::ModulePosition{2, 0}));
}

TEST(ModuleChange, TheEndOfTheSongIsTold) {
    vd::test::SongShape shape;
    shape.orders = 1;
    shape.last_row = 3;
    vd::ModulePlayer player(song_bytes(shape));
    bool told_at_end = false;
    player.set_change_listener([&] { told_at_end = player.has_ended(); });
    player.play();
    render_blocks(player, 10000);
    ASSERT_TRUE(player.has_ended());
    EXPECT_TRUE(told_at_end) << "the last notice comes with the end";
}

// A device that holds its sound for a while: what a block renders is heard later.
constexpr std::int64_t kFarAhead_ns = 3'600'000'000'000; // an hour: no test waits for it

TEST(ModuleChange, APositionRenderedAheadIsAnsweredOnlyOnceItIsHeard) {
    vd::ModulePlayer player(song_bytes({}));
    player.play();
    std::vector<float> block(4096 * vd::kOutputChannels);
    const vd::ModulePosition start = player.position();
    while (player.next_change_in_ns() == std::nullopt && !player.has_ended())
        player.render_timed(block, vd::ModulePlayer::now_ns() + kFarAhead_ns);
    EXPECT_EQ(player.position(), start) << "what was rendered is not heard yet";
    EXPECT_GT(*player.next_change_in_ns(), kFarAhead_ns / 2);

    // Rendered for a device that plays at once, the position is the one rendered.
    vd::ModulePlayer now_player(song_bytes({}));
    now_player.play();
    for (int i = 0; i < 20; ++i)
        now_player.render_timed(block, vd::ModulePlayer::now_ns() - kFarAhead_ns);
    EXPECT_FALSE(now_player.position() == start);
    EXPECT_EQ(now_player.next_change_in_ns(), std::nullopt);
}

TEST(ModuleChange, APauseHoldsWhatIsHeardAndPlayingGoesOnFromThere) {
    vd::ModulePlayer player(song_bytes({}));
    player.play();
    const vd::ModulePosition start = player.position();
    // About 370 ms rendered, heard from 300 ms on: a device that holds it for a while.
    constexpr std::int64_t kHeldFor_ns = 300'000'000;
    const std::int64_t first_heard_at = vd::ModulePlayer::now_ns() + kHeldFor_ns;
    std::vector<float> block(4096 * vd::kOutputChannels);
    std::int64_t heard_at = first_heard_at;
    for (int i = 0; i < 4; ++i) {
        player.render_timed(block, heard_at);
        heard_at += 4096LL * 1'000'000'000 / vd::kOutputRateHz;
    }
    player.pause();
    if (vd::ModulePlayer::now_ns() >= first_heard_at)
        GTEST_SKIP() << "rendering took longer than the device holds";
    EXPECT_TRUE(player.is_paused());
    // Long enough for the rows rendered to be heard, had the device gone on playing.
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(player.position(), start) << "nothing heard moves while paused";
    EXPECT_EQ(player.next_change_in_ns(), std::nullopt);
    player.play();
    EXPECT_EQ(player.position(), start) << "what was held is heard from now on, from its start";
    ASSERT_TRUE(player.next_change_in_ns().has_value());
    EXPECT_GT(*player.next_change_in_ns(), kHeldFor_ns / 2);
}

TEST(ModuleChange, TheEndRenderedAheadIsNotHeardYet) {
    vd::test::SongShape shape;
    shape.orders = 1;
    shape.last_row = 3;
    vd::ModulePlayer player(song_bytes(shape));
    player.play();
    std::vector<float> block(4096 * vd::kOutputChannels);
    for (int i = 0; i < 100 && player.is_playing(); ++i)
        player.render_timed(block, vd::ModulePlayer::now_ns() + kFarAhead_ns);
    ASSERT_FALSE(player.is_playing()) << "rendered to its end";
    EXPECT_FALSE(player.has_ended());
    // A new position drops what was rendered ahead, the end with it.
    player.set_position({0, 0});
    EXPECT_FALSE(player.has_ended());
    EXPECT_EQ(player.next_change_in_ns(), std::nullopt);
}

TEST(ModuleChange, TimedBlocksTellOnlyWhenTheDisplayWaitsForThem) {
    vd::ModulePlayer player(song_bytes({}));
    int notices = 0;
    player.set_change_listener([&] { ++notices; });
    player.play();
    std::vector<float> block(4096 * vd::kOutputChannels);
    auto render_until_a_notice = [&] {
        const int before = notices;
        for (int i = 0; i < 50 && notices == before; ++i)
            player.render_timed(block, vd::ModulePlayer::now_ns() + kFarAhead_ns);
        return notices > before;
    };
    ASSERT_TRUE(render_until_a_notice()) << "nothing was waited for yet";
    for (int i = 0; i < 20; ++i)
        player.render_timed(block, vd::ModulePlayer::now_ns() + kFarAhead_ns);
    EXPECT_EQ(notices, 1) << "the display knows when the rows it was told of are heard";
    // Asked when nothing differs from what is heard, the next row is told again.
    vd::ModulePlayer fresh(song_bytes({}));
    int fresh_notices = 0;
    fresh.set_change_listener([&] { ++fresh_notices; });
    fresh.play();
    EXPECT_EQ(fresh.next_change_in_ns(), std::nullopt);
    for (int i = 0; i < 50 && fresh_notices == 0; ++i)
        fresh.render_timed(block, vd::ModulePlayer::now_ns() + kFarAhead_ns);
    EXPECT_EQ(fresh_notices, 1);
}

TEST(ModuleChange, TheLibraryHandsItsListenerToEveryModuleUntilItIsTakenAway) {
    ASSERT_TRUE(kSilentOutput);
    std::atomic<int> notices{0};
    vd::modlib_set_change_listener([&] { notices.fetch_add(1); });
    const std::vector<std::byte> bytes = song_bytes({});
    for (int load = 0; load < 2; ++load) {
        MODLIB_Free();
        MODLIB_Init(-1, 44100, 32);
        ASSERT_TRUE(vd::modlib_load_from_memory(bytes));
        const int before = notices;
        MODLIB_MusicPlay();
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (notices < before + 3 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        EXPECT_GE(notices, before + 3) << "load " << load;
    }
    // Once taken away, the old listener (here about to go out of scope) is never called again.
    vd::modlib_set_change_listener(nullptr);
    const int after = notices;
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(notices, after);
    MODLIB_Free();
}

} // namespace
