// A device's mode and position, asked from the GUI thread while the audio thread is inside a
// decode block: the answer comes at once, without waiting for the block to end.

#include "audio/MciPlayback.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vd {
namespace {

using namespace std::chrono_literals;

// Decodes silence, but each read holds until the test lets it go (or a long while passes, so
// that a query which wrongly waits for the block shows as a failure rather than a hang).
class HeldDecoder final : public MciDecoder {
public:
    [[nodiscard]] std::uint64_t length_frames() const override { return 44100; }

    // audio thread
    std::size_t read(std::span<float> out) override {
        std::unique_lock lock(mutex_);
        in_read_ = true;
        changed_.notify_all();
        changed_.wait_for(lock, 20s, [this] { return released_; });
        released_ = false;
        in_read_ = false;
        std::ranges::fill(out, 0.0F);
        return out.size() / 2;
    }
    void seek(std::uint64_t /*frame*/) override {}

    // test thread
    void wait_until_reading() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return in_read_; });
    }
    void release() {
        const std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    [[nodiscard]] bool in_read() {
        const std::lock_guard lock(mutex_);
        return in_read_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool in_read_ = false;
    bool released_ = false;
};

TEST(MciPlayback, StatusAnswersWhileTheAudioThreadDecodes) {
    auto owned = std::make_unique<HeldDecoder>();
    HeldDecoder& decoder = *owned;
    MciPlayback playback(std::move(owned), nullptr);
    playback.seek(4410);
    ASSERT_TRUE(playback.play(22050).has_value());

    std::thread audio([&] {
        std::vector<float> block(2 * 512);
        (void)playback.render(block);
    });
    decoder.wait_until_reading();
    // The block is being decoded now; each query answers with the state before it.
    EXPECT_EQ(playback.position_frames(), 4410U);
    EXPECT_EQ(playback.position_ms(), 100U);
    EXPECT_EQ(playback.mode(), PlaybackMode::Playing);
    EXPECT_EQ(playback.end_frame(), 22050U);
    EXPECT_EQ(playback.length_ms(), 1000U);
    EXPECT_TRUE(decoder.in_read()) << "the queries waited for the decode block";
    decoder.release();
    audio.join();
    EXPECT_EQ(playback.position_frames(), 4410U + 512U);
    EXPECT_EQ(playback.mode(), PlaybackMode::Playing);
}

TEST(MciPlayback, TheEndOfARunShowsAsStoppedAtTheEndPoint) {
    auto owned = std::make_unique<HeldDecoder>();
    HeldDecoder& decoder = *owned;
    std::uint64_t ended = 0;
    MciPlayback playback(std::move(owned), [&](std::uint64_t generation) { ended = generation; });
    playback.seek(44100 - 300);
    const auto generation = playback.play(44100);
    ASSERT_TRUE(generation.has_value());
    decoder.release(); // the one read this run needs goes through at once
    std::vector<float> block(2 * 512);
    EXPECT_EQ(playback.render(block), 300U);
    EXPECT_EQ(playback.mode(), PlaybackMode::Stopped);
    EXPECT_EQ(playback.position_frames(), 44100U);
    EXPECT_EQ(playback.position_ms(), playback.length_ms());
    EXPECT_EQ(ended, *generation);
    // Stopped: further blocks render nothing and never reach the decoder.
    EXPECT_EQ(playback.render(block), 0U);
}

} // namespace
} // namespace vd
