#include "skin/VsControls.h"

#include <algorithm>

namespace vd {

TVsChangeLink::~TVsChangeLink() {
    if (sender_ != nullptr)
        sender_->UnregisterLink(this);
}

void TVsChangeLink::Change() {
    if (OnChange)
        OnChange(sender_);
}

TVsSharedComponent::~TVsSharedComponent() {
    while (!links_.empty())
        UnregisterLink(links_.back());
}

void TVsSharedComponent::RegisterLink(TVsChangeLink* link) {
    link->sender_ = this;
    links_.push_back(link);
}

void TVsSharedComponent::UnregisterLink(TVsChangeLink* link) {
    const auto it = std::find(links_.begin(), links_.end(), link);
    if (it == links_.end())
        return;
    link->sender_ = nullptr;
    links_.erase(it);
}

void TVsSharedComponent::NotifyLinks() {
    // A subscriber may unregister while being told; walk a copy.
    const std::vector<TVsChangeLink*> links = links_;
    for (TVsChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->Change();
}

} // namespace vd
