#include "framework/TerminationSignals.h"

#include "framework/Controls.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace vd {
namespace {

constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};

// The pipe's write end, for the handler; -1 while no one listens.
std::atomic<int> g_write_fd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free int");

// Any thread, in signal context: only async-signal-safe calls.
extern "C" void OnTerminationSignal(int signal) {
    const int saved_errno = errno;
    const int fd = g_write_fd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const auto byte = static_cast<unsigned char>(signal);
        // A full pipe already holds a request: losing this byte loses nothing.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    errno = saved_errno;
}

} // namespace

struct TerminationSignals::Platform {
    std::array<int, 2> pipe{-1, -1};
    std::array<struct sigaction, kSignals.size()> previous{};
    std::unique_ptr<QSocketNotifier> notifier;
};

TerminationSignals::TerminationSignals(std::function<void(int signal)> on_signal)
    : platform_(std::make_unique<Platform>()) {
    Platform& p = *platform_;
    if (::pipe2(p.pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("No pipe for the termination signals");
    g_write_fd.store(p.pipe[1]);
    p.notifier = std::make_unique<QSocketNotifier>(p.pipe[0], QSocketNotifier::Read);
    QObject::connect(p.notifier.get(), &QSocketNotifier::activated,
                     [read_fd = p.pipe[0], on_signal = std::move(on_signal)] {
                         unsigned char byte = 0;
                         while (::read(read_fd, &byte, 1) == 1)
                             SafeCall([&] { on_signal(byte); });
                     });
    struct sigaction action {};
    action.sa_handler = &OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, &p.previous[i]);
}

TerminationSignals::~TerminationSignals() {
    Platform& p = *platform_;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &p.previous[i], nullptr);
    g_write_fd.store(-1);
    p.notifier.reset();
    ::close(p.pipe[0]);
    ::close(p.pipe[1]);
}

} // namespace vd
