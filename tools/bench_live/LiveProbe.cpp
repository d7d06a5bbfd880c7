// live_probe [--map] [--warmup S] [--measure S] -- PROGRAM ARGS...
// Starts PROGRAM, and with --map waits for the first window mapped on the display ($DISPLAY)
// after the start, from X's MapNotify on the root window (no polling, so the time is the
// server's). After the warm-up it measures the program's CPU time (all its threads) over the
// measuring time (threads that end within it are not counted), then reads its resident memory, ends
// it by its PID and prints one line:
//   cpu_pct=12.3 rss_kib=40000 map_ms=150.2
// cpu_pct is a share of one core; map_ms is -1 without --map. Exit status 1 when the program
// did not map a window within 10 s or ended before the measurement was over.

#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

[[nodiscard]] double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of all the process's threads, in nanoseconds (the scheduler's own account, far finer
// than the clock ticks of /proc/PID/stat); -1 once the process is gone.
[[nodiscard]] long long cpu_ns(pid_t pid) {
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    long long total = 0;
    bool any = false;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream in(task.path() / "schedstat");
        long long run_ns = 0;
        if (in >> run_ns) {
            total += run_ns;
            any = true;
        }
    }
    return any ? total : -1;
}

[[nodiscard]] long long rss_kib(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("VmRSS:")) {
            return std::stoll(line.substr(6));
        }
    }
    return -1;
}

void end_child(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Waits for the first MapNotify on the root window; its time since `start` in ms, or -1.
[[nodiscard]] double wait_for_map(Display* display, Clock::time_point start) {
    const int fd = ConnectionNumber(display);
    while (ms_since(start) < 10'000) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify) {
                return ms_since(start);
            }
        }
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 100);
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    bool want_map = false;
    double warmup_s = 5;
    double measure_s = 20;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string_view arg = argv[first];
        if (arg == "--map") {
            want_map = true;
        } else if (arg == "--warmup" && first + 1 < argc) {
            warmup_s = std::atof(argv[++first]);
        } else if (arg == "--measure" && first + 1 < argc) {
            measure_s = std::atof(argv[++first]);
        } else if (arg == "--") {
            ++first;
            break;
        } else {
            break;
        }
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: live_probe [--map] [--warmup S] [--measure S] -- PROGRAM "
                             "ARGS...\n");
        return 2;
    }

    Display* display = nullptr;
    if (want_map) {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            std::fprintf(stderr, "live_probe: no X display\n");
            return 2;
        }
        XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
        XSync(display, False);
    }

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (display != nullptr) {
            close(ConnectionNumber(display));
        }
        execvp(argv[first], argv + first);
        std::perror("live_probe: exec");
        _exit(127);
    }

    double map_ms = -1;
    if (display != nullptr) {
        map_ms = wait_for_map(display, start);
        XCloseDisplay(display);
        if (map_ms < 0) {
            std::fprintf(stderr, "live_probe: no window mapped within 10 s\n");
            end_child(pid);
            return 1;
        }
    }

    const auto warm_until = start + std::chrono::duration<double>(warmup_s);
    std::this_thread::sleep_until(warm_until);
    const long long ns_before = cpu_ns(pid);
    const Clock::time_point measure_start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(measure_s));
    const long long ns_after = cpu_ns(pid);
    const double measured_s = ms_since(measure_start) / 1000.0;
    const long long rss = rss_kib(pid);
    end_child(pid);
    if (ns_before < 0 || ns_after < 0 || rss < 0) {
        std::fprintf(stderr, "live_probe: %s ended before the measurement was over\n", argv[first]);
        return 1;
    }
    const double cpu_pct = 100.0 * static_cast<double>(ns_after - ns_before) / 1e9 / measured_s;
    std::printf("cpu_pct=%.2f rss_kib=%lld map_ms=%.1f\n", cpu_pct, rss, map_ms);
    return 0;
}
