// pause_probe SOURCE ACTION...
// Records the sound server's SOURCE (the null sink's monitor), and once sound has come for half a
// second runs ACTION (a command that presses Pause or Stop). Prints the milliseconds from the
// start of ACTION until the sound fell silent for good (300 ms and more), e.g.
//   silence_ms=12.3
// The time includes starting ACTION, so it errs on the long side by that much. Exit status 1
// when no sound came, or when it did not stop within two seconds.

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRateHz = 44100;
constexpr int kChunkFrames = kRateHz / 1000 * 2; // 2 ms
constexpr int kQuiet = 16;                       // of 32767: below any note, above dither
constexpr double kForGoodMs = 300;

[[nodiscard]] bool silent(const std::vector<short>& chunk) {
    for (const short s : chunk)
        if (s > kQuiet || s < -kQuiet)
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: pause_probe SOURCE ACTION...\n");
        return 2;
    }
    std::string action;
    for (int i = 2; i < argc; ++i)
        action += std::string(i > 2 ? " " : "") + argv[i];

    const pa_sample_spec spec{PA_SAMPLE_S16NE, kRateHz, 2};
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.fragsize = kChunkFrames * 4; // hand over every 2 ms
    int error = 0;
    pa_simple* in = pa_simple_new(nullptr, "pause_probe", PA_STREAM_RECORD, argv[1], "probe", &spec,
                                  nullptr, &attr, &error);
    if (in == nullptr) {
        std::fprintf(stderr, "pause_probe: %s\n", pa_strerror(error));
        return 2;
    }
    std::vector<short> chunk(kChunkFrames * 2);
    auto read = [&] {
        return pa_simple_read(in, chunk.data(), chunk.size() * sizeof(short), &error) == 0;
    };
    auto ms_since = [](Clock::time_point t) {
        return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
    };

    // Sound first, for half a second of chunks in a row (the recording may start with silence).
    const Clock::time_point start = Clock::now();
    double sounding_ms = 0;
    while (sounding_ms < 500) {
        if (!read() || ms_since(start) > 10'000) {
            std::fprintf(stderr, "pause_probe: no sound came\n");
            pa_simple_free(in);
            return 1;
        }
        sounding_ms = silent(chunk) ? 0 : sounding_ms + 2;
    }
    // Whatever the server buffered for us so far is old: the clock starts now.
    pa_simple_flush(in, &error);
    const Clock::time_point pressed = Clock::now();
    if (std::system(action.c_str()) != 0)
        std::fprintf(stderr, "pause_probe: the action failed\n");

    double silent_since = -1;
    while (ms_since(pressed) < 2000 + kForGoodMs) {
        if (!read())
            break;
        // The chunk just read ended at about now.
        const double now_ms = ms_since(pressed);
        if (!silent(chunk)) {
            silent_since = -1;
        } else if (silent_since < 0) {
            silent_since = now_ms - 2;
        } else if (now_ms - silent_since >= kForGoodMs) {
            std::printf("silence_ms=%.1f\n", std::max(0.0, silent_since));
            pa_simple_free(in);
            return 0;
        }
    }
    std::fprintf(stderr, "pause_probe: the sound did not stop\n");
    pa_simple_free(in);
    return 1;
}
