#include "audio/Mixer.h"
#include "audio/AudioOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <limits>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Renders a constant value into the first `frames_per_call` frames (all of them when 0).
class ConstantSource final : public vd::AudioSource {
public:
    explicit ConstantSource(float value, std::size_t frames_per_call = 0)
        : value_(value), frames_per_call_(frames_per_call) {}

    std::size_t render(std::span<float> out) override {
        std::size_t frames = out.size() / 2;
        if (frames_per_call_ != 0) {
            frames = std::min(frames, frames_per_call_);
        }
        std::fill_n(out.begin(), frames * 2, value_);
        return frames;
    }

private:
    float value_;
    std::size_t frames_per_call_;
};

std::vector<float> mix_once(vd::Mixer& mixer, std::size_t frames = 64) {
    std::vector<float> out(frames * 2, 123.0f); // garbage that mix() must overwrite
    mixer.mix(out);
    return out;
}

TEST(Mixer, EmptyMixerGivesSilence) {
    vd::Mixer mixer;
    for (float v : mix_once(mixer)) {
        ASSERT_EQ(v, 0.0f);
    }
}

TEST(Mixer, SumsTwoSources) {
    vd::Mixer mixer;
    mixer.attach(std::make_shared<ConstantSource>(0.25f));
    mixer.attach(std::make_shared<ConstantSource>(0.5f));
    for (float v : mix_once(mixer)) {
        ASSERT_FLOAT_EQ(v, 0.75f);
    }
}

TEST(Mixer, ClampsTheSumToFullScale) {
    vd::Mixer loud;
    loud.attach(std::make_shared<ConstantSource>(0.8f));
    loud.attach(std::make_shared<ConstantSource>(0.8f));
    for (float v : mix_once(loud)) {
        ASSERT_EQ(v, 1.0f);
    }
    vd::Mixer low;
    low.attach(std::make_shared<ConstantSource>(-0.8f));
    low.attach(std::make_shared<ConstantSource>(-0.8f));
    for (float v : mix_once(low)) {
        ASSERT_EQ(v, -1.0f);
    }
}

TEST(MixerVolume, ScalesTheSumAndStartsAtFullVolume) {
    vd::Mixer mixer;
    EXPECT_EQ(mixer.volume(), 1.0f);
    mixer.attach(std::make_shared<ConstantSource>(0.5f));
    mixer.attach(std::make_shared<ConstantSource>(-0.25f));
    mixer.set_volume(0.5f);
    for (float v : mix_once(mixer)) {
        ASSERT_FLOAT_EQ(v, 0.125f);
    }
    mixer.set_volume(0.0f);
    for (float v : mix_once(mixer)) {
        ASSERT_EQ(v, 0.0f);
    }
}

// A sum above full scale turned down to half must come out as half the sum, not as half of the
// clipped sum: the volume scales before the clamp.
TEST(MixerVolume, TurnsALoudSumDownWithoutClippingIt) {
    vd::Mixer mixer;
    mixer.attach(std::make_shared<ConstantSource>(0.8f));
    mixer.attach(std::make_shared<ConstantSource>(0.7f));
    mixer.set_volume(0.5f);
    for (float v : mix_once(mixer)) {
        ASSERT_FLOAT_EQ(v, 0.75f);
    }
}

TEST(MixerVolume, KeepsTheGainWithinItsRange) {
    vd::Mixer mixer;
    mixer.set_volume(3.0f);
    EXPECT_EQ(mixer.volume(), 1.0f);
    mixer.set_volume(-1.0f);
    EXPECT_EQ(mixer.volume(), 0.0f);
    mixer.set_volume(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(mixer.volume(), 1.0f);
}

TEST(Mixer, NeverPassesNanOn) {
    vd::Mixer mixer;
    mixer.attach(std::make_shared<ConstantSource>(std::numeric_limits<float>::quiet_NaN()));
    for (float v : mix_once(mixer, 7)) { // odd length: the scalar tail too
        ASSERT_EQ(v, -1.0f);
    }
}

TEST(Mixer, ShortRenderLeavesSilenceAfterIt) {
    vd::Mixer mixer;
    mixer.attach(std::make_shared<ConstantSource>(0.5f, 10));
    const auto out = mix_once(mixer, 64);
    for (std::size_t i = 0; i < out.size(); ++i) {
        ASSERT_EQ(out[i], i < 20 ? 0.5f : 0.0f) << "at sample " << i;
    }
}

TEST(Mixer, AttachingTwiceMixesOnce) {
    vd::Mixer mixer;
    auto source = std::make_shared<ConstantSource>(0.25f);
    mixer.attach(source);
    mixer.attach(source);
    EXPECT_EQ(mixer.source_count(), 1U);
    EXPECT_FLOAT_EQ(mix_once(mixer)[0], 0.25f);
}

TEST(Mixer, DetachRemovesOnlyThatSource) {
    vd::Mixer mixer;
    auto a = std::make_shared<ConstantSource>(0.25f);
    auto b = std::make_shared<ConstantSource>(0.5f);
    mixer.attach(a);
    mixer.attach(b);
    mixer.detach(a.get());
    EXPECT_FLOAT_EQ(mix_once(mixer)[0], 0.5f);
    ConstantSource stranger(0.1f);
    mixer.detach(&stranger); // ignored
    mixer.detach(nullptr);   // ignored
    EXPECT_EQ(mixer.source_count(), 1U);
}

TEST(Mixer, DetachedSourceIsReleasedByTheDetachingThread) {
    vd::Mixer mixer;
    auto source = std::make_shared<ConstantSource>(0.25f);
    std::weak_ptr<ConstantSource> watch = source;
    mixer.attach(std::move(source));
    (void)mix_once(mixer);
    mixer.detach(watch.lock().get());
    EXPECT_TRUE(watch.expired()); // the mixer holds no reference after detach
}

// Counts the renders it sees and whether one is running; each render takes a while, so that a
// detach is likely to arrive while the audio thread is inside it.
class SlowSource final : public vd::AudioSource {
public:
    std::size_t render(std::span<float> out) override {
        inside_ = true;
        ++renders_;
        std::this_thread::sleep_for(200us);
        std::fill(out.begin(), out.end(), 0.01f);
        inside_ = false;
        return out.size() / 2;
    }
    std::atomic<bool> inside_{false};
    std::atomic<int> renders_{0};
};

TEST(AudioOutputDetach, NeverReturnsWhileTheSourceRenders) {
    const auto output = vd::AudioOutput::open("null");
    for (int round = 0; round < 20; ++round) {
        auto source = std::make_shared<SlowSource>();
        output->attach(source);
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (source->renders_ == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        ASSERT_GT(source->renders_, 0) << "the null sink does not render";
        output->detach(source.get());
        EXPECT_FALSE(source->inside_);
        const int renders = source->renders_;
        std::this_thread::sleep_for(15ms); // more than one block of the null sink
        EXPECT_EQ(source->renders_, renders) << "rendered after detach";
        source.reset(); // freed here; a render still running would touch freed memory
    }
}

// SDL's dummy driver needs no sound card but runs SDL's own audio thread and callback, as a
// real device would.
TEST(AudioOutputDetach, HoldsForTheSdlDeviceToo) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    const auto output = vd::AudioOutput::open("sdl");
    ::unsetenv("SDL_AUDIODRIVER");
    ASSERT_EQ(output->sink_name(), "sdl");
    for (int round = 0; round < 5; ++round) {
        auto source = std::make_shared<SlowSource>();
        output->attach(source);
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (source->renders_ == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        ASSERT_GT(source->renders_, 0) << "the SDL callback does not run";
        output->detach(source.get());
        EXPECT_FALSE(source->inside_);
        const int renders = source->renders_;
        std::this_thread::sleep_for(30ms);
        EXPECT_EQ(source->renders_, renders) << "rendered after detach";
    }
}

TEST(AudioOutputDetach, WorksOnAnOutputThatIsGone) {
    auto source = std::make_shared<SlowSource>();
    {
        const auto output = vd::AudioOutput::open("null");
        output->attach(source);
        output->detach(source.get());
        output->attach(source);
    } // the output stops with the source still attached and releases it
    EXPECT_EQ(source.use_count(), 1);
}

} // namespace
