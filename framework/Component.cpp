#include "framework/Component.h"

#include <algorithm>
#include <cctype>
#include <typeinfo>

namespace vd {

void TPersistent::Assign(const TPersistent* source) {
    if (source != nullptr) {
        source->AssignTo(this);
        return;
    }
    throw Exception("Cannot assign nil to a " + std::string(typeid(*this).name()));
}

void TPersistent::AssignTo(TPersistent* dest) const {
    throw Exception("Cannot assign a " + std::string(typeid(*this).name()) + " to a " +
                    std::string(typeid(*dest).name()));
}

TComponent::TComponent(TComponent* owner) {
    if (owner != nullptr)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    BeginDestruction();
    DestroyComponents();
    if (owner_ != nullptr)
        owner_->RemoveComponent(this);
    for (TComponent* other : free_notifies_)
        std::erase(other->free_notifies_, this);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return components_[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    auto same = [name](const std::string& other) {
        return std::equal(other.begin(), other.end(), name.begin(), name.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) ==
                   std::tolower(static_cast<unsigned char>(b));
        });
    };
    for (TComponent* c : components_)
        if (!name.empty() && same(c->Name()))
            return c;
    return nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove)
        std::erase(free_notifies_, component);
}

void TComponent::FreeNotification(TComponent* component) {
    if (component == nullptr || component == this)
        return;
    if (std::find(free_notifies_.begin(), free_notifies_.end(), component) == free_notifies_.end())
        free_notifies_.push_back(component);
    if (std::find(component->free_notifies_.begin(), component->free_notifies_.end(), this) ==
        component->free_notifies_.end())
        component->free_notifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (component == nullptr)
        return;
    std::erase(free_notifies_, component);
    std::erase(component->free_notifies_, this);
}

void TComponent::DestroyComponents() {
    while (!components_.empty())
        FreeComponent(components_.back());
}

void TComponent::BeginDestruction() {
    destroying_ = true;
    NotifyRemoval();
}

void TComponent::NotifyRemoval() {
    if (removal_notified_)
        return;
    removal_notified_ = true;
    // Everyone that asked to be told, then the owner and its other components.
    const std::vector<TComponent*> listeners = free_notifies_;
    for (TComponent* other : listeners)
        other->Notification(this, TOperation::opRemove);
    if (owner_ != nullptr) {
        owner_->Notification(this, TOperation::opRemove);
        const std::vector<TComponent*> siblings = owner_->components_;
        for (TComponent* sibling : siblings)
            if (sibling != this)
                sibling->Notification(this, TOperation::opRemove);
    }
}

void TComponent::NotifyInsertion(TComponent* component) {
    Notification(component, TOperation::opInsert);
    const std::vector<TComponent*> owned = components_;
    for (TComponent* other : owned)
        if (other != component)
            other->Notification(component, TOperation::opInsert);
}

void TComponent::InsertComponent(TComponent* component) {
    component->owner_ = this;
    components_.push_back(component);
}

void TComponent::RemoveComponent(TComponent* component) {
    std::erase(components_, component);
    component->owner_ = nullptr;
}

void FreeComponent(TComponent* component) {
    if (component == nullptr)
        return;
    component->BeginDestruction();
    delete component; // the owner tree's one place of deletion
}

} // namespace vd
