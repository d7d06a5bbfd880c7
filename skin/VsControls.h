#pragma once

#include "framework/Component.h"

#include <functional>
#include <vector>

namespace vd {

class TVsSharedComponent;

// Common base of the skin engine's non-visual components.
class TVsComponent : public TComponent {
public:
    using TComponent::TComponent;
};

// One subscriber's registration with a shared component. Belongs to the subscriber.
class TVsChangeLink {
public:
    TVsChangeLink() = default;
    ~TVsChangeLink();
    TVsChangeLink(const TVsChangeLink&) = delete;
    TVsChangeLink& operator=(const TVsChangeLink&) = delete;

    [[nodiscard]] TVsSharedComponent* Sender() const { return sender_; }
    // Calls OnChange with the sender, if set.
    void Change();

    std::function<void(TVsSharedComponent* sender)> OnChange;

private:
    friend class TVsSharedComponent;
    TVsSharedComponent* sender_ = nullptr;
};

// A component that tells its registered links when it changes.
class TVsSharedComponent : public TVsComponent {
public:
    using TVsComponent::TVsComponent;
    ~TVsSharedComponent() override;

    void RegisterLink(TVsChangeLink* link);
    void UnregisterLink(TVsChangeLink* link);
    // Calls Change on every link, in registration order.
    void NotifyLinks();
    [[nodiscard]] int LinkCount() const { return static_cast<int>(links_.size()); }

private:
    std::vector<TVsChangeLink*> links_; // not owned
};

} // namespace vd
