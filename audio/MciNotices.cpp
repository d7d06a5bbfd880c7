#include "audio/MciLayer.h"

#include "base/Mutex.h"

#include <memory>
#include <utility>

namespace vd {
namespace {

// The way to the GUI thread: every notice and every end of playback travels through the
// dispatcher. The audio thread reads it too, hence the lock; it is never held while calling.
class NoticePost {
public:
    void set(MciNotifyDispatcher dispatcher) {
        auto shared = dispatcher
                          ? std::make_shared<const MciNotifyDispatcher>(std::move(dispatcher))
                          : nullptr;
        const MutexLock lock(mutex_);
        dispatcher_ = std::move(shared);
    }

    // any thread
    void post(std::function<void()> closure) {
        std::shared_ptr<const MciNotifyDispatcher> dispatcher;
        {
            const MutexLock lock(mutex_);
            dispatcher = dispatcher_;
        }
        if (dispatcher)
            (*dispatcher)(std::move(closure));
    }

private:
    Mutex mutex_;
    std::shared_ptr<const MciNotifyDispatcher> dispatcher_ GUARDED_BY(mutex_);
};

NoticePost& notice_post() {
    static NoticePost post;
    return post;
}

} // namespace

void post_to_gui_thread(std::function<void()> closure) {
    notice_post().post(std::move(closure));
}

void set_gui_thread_dispatcher(MciNotifyDispatcher dispatcher) {
    notice_post().set(std::move(dispatcher));
}

void post_notice(std::uintptr_t handle, std::uint32_t device_id, std::uint32_t code) {
    if (handle == 0)
        return;
    post_to_gui_thread([=] { mci_layer().invoke_callback(handle, device_id, code); });
}

std::uintptr_t MciLayer::register_callback(MciNotifyCallback callback) {
    const std::uintptr_t handle = next_callback_++;
    callbacks_.emplace(handle, std::move(callback));
    return handle;
}

void MciLayer::unregister_callback(std::uintptr_t handle) {
    callbacks_.erase(handle);
}

void MciLayer::invoke_callback(std::uintptr_t handle, std::uint32_t device_id, std::uint32_t code) {
    const auto found = callbacks_.find(handle);
    if (found == callbacks_.end() || !found->second)
        return;
    // A copy: the callback may unregister itself or send commands.
    const MciNotifyCallback callback = found->second;
    callback(device_id, code);
}

} // namespace vd
