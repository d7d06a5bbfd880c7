#include "base/Mutex.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <thread>

namespace vd {
namespace {

// Whether another thread finds the mutex free (it lets go again at once if so).
bool free_for_another_thread(Mutex& mutex) {
    return std::async(std::launch::async,
                      [&mutex] {
                          if (!mutex.try_lock())
                              return false;
                          mutex.unlock();
                          return true;
                      })
        .get();
}

TEST(MutexLock, HoldsTheMutexForItsScope) {
    Mutex mutex;
    {
        const MutexLock lock(mutex);
        EXPECT_FALSE(free_for_another_thread(mutex));
    }
    EXPECT_TRUE(free_for_another_thread(mutex));
}

TEST(MutexLock, LetsGoAndTakesAgain) {
    Mutex mutex;
    MutexLock lock(mutex);
    lock.unlock();
    EXPECT_TRUE(free_for_another_thread(mutex));
    lock.lock();
    EXPECT_FALSE(free_for_another_thread(mutex));
}

TEST(MutexLock, DestroyedAfterUnlockLeavesTheMutexFree) {
    Mutex mutex;
    {
        MutexLock lock(mutex);
        lock.unlock();
    }
    EXPECT_TRUE(free_for_another_thread(mutex));
}

struct Flag {
    Mutex mutex;
    std::condition_variable changed;
    bool ready GUARDED_BY(mutex) = false;
};

// A condition variable waits on the scoped lock: the mutex is free while it waits, so that the
// other thread can set the flag, and held again when the wait returns.
TEST(MutexLock, ConditionVariableWaitsThroughIt) {
    Flag flag;
    std::thread setter([&flag] {
        {
            const MutexLock lock(flag.mutex);
            flag.ready = true;
        }
        flag.changed.notify_all();
    });
    MutexLock lock(flag.mutex);
    while (!flag.ready)
        flag.changed.wait(lock.unique_lock());
    EXPECT_TRUE(flag.ready);
    EXPECT_FALSE(free_for_another_thread(flag.mutex));
    lock.unlock();
    setter.join();
}

} // namespace
} // namespace vd
