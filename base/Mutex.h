#pragma once

#include "base/ThreadAnnotations.h"

#include <mutex>

namespace vd {

// A std::mutex the thread-safety analysis knows as a lock (libstdc++'s carries no attributes).
// Members it guards say so with GUARDED_BY; it is taken with MutexLock.
class CAPABILITY("mutex") Mutex {
public:
    Mutex() = default;
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void lock() ACQUIRE() { mutex_.lock(); }
    void unlock() RELEASE() { mutex_.unlock(); }
    [[nodiscard]] bool try_lock() TRY_ACQUIRE(true) { return mutex_.try_lock(); }

private:
    friend class MutexLock;
    std::mutex mutex_;
};

// Holds a Mutex from construction to destruction, like std::unique_lock: it may let go and take
// it again in between, and a std::condition_variable waits on it through unique_lock(). Waits are
// written as loops in the function that holds the lock (`while (!ready_) cv_.wait(...)`), not as
// predicates, so that the analysis sees the guarded members read under the lock.
class SCOPED_CAPABILITY MutexLock {
public:
    explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : lock_(mutex.mutex_) {}
    ~MutexLock() RELEASE() {}
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

    void lock() ACQUIRE() { lock_.lock(); }
    void unlock() RELEASE() { lock_.unlock(); }

    // For std::condition_variable::wait and wait_until; the mutex is held again when they return.
    [[nodiscard]] std::unique_lock<std::mutex>& unique_lock() { return lock_; }

private:
    std::unique_lock<std::mutex> lock_;
};

} // namespace vd
