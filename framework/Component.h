#pragma once

#include "framework/Types.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vd {

// An object whose value can be copied from another of a compatible kind.
class TPersistent {
public:
    virtual ~TPersistent() = default;
    // Copies from `source`; the default asks the source to assign itself to us and fails with
    // "Cannot assign ..." when neither side knows the other.
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

// A component: owned by its owner, which frees it; named; told when a component it knows is
// removed; created from a layout in a loading state and then told Loaded() once the whole
// layout is present.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    [[nodiscard]] TComponent* Owner() const { return owner_; }
    [[nodiscard]] const std::string& Name() const { return name_; }
    void SetName(std::string_view name) { name_ = name; }
    [[nodiscard]] int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    [[nodiscard]] int ComponentCount() const { return static_cast<int>(components_.size()); }
    [[nodiscard]] TComponent* Components(int index) const;
    // The owned component of that name (case-insensitive), or nullptr.
    [[nodiscard]] TComponent* FindComponent(std::string_view name) const;

    [[nodiscard]] bool Loading() const { return loading_; }
    [[nodiscard]] bool Destroying() const { return destroying_; }
    // There is no form designer in this program: components are never in design mode.
    [[nodiscard]] static constexpr bool Designing() { return false; }

    // Puts the component in its loading state: setters store values but defer their effects.
    void BeginLoading() { loading_ = true; }
    // Ends the loading state; subclasses finish their set-up after calling the base.
    virtual void Loaded() { loading_ = false; }

    // `component` is being inserted or removed; a subclass drops its references to a component
    // that is removed.
    virtual void Notification(TComponent* component, TOperation operation);
    // Asks to be told (through Notification) when `component`, which we do not own, goes away.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Frees every owned component, last first, each while this component is still whole.
    void DestroyComponents();

    // Creates a component owned by `owner`: the owner frees it. Once it is whole, the owner and
    // its other components are told of the insertion.
    template <class T, class... Args>
    static T* Create(TComponent* owner, Args&&... args) {
        T* component = new T(owner, std::forward<Args>(args)...); // owned by `owner`
        if (owner != nullptr)
            owner->NotifyInsertion(component);
        return component;
    }
    // Tells this component and every component it owns that `component` joined it.
    void NotifyInsertion(TComponent* component);

protected:
    // Sets the destroying state and tells everybody who knows this component that it goes away,
    // while it is still whole. Derived destructors call it first; ~TComponent makes sure.
    void BeginDestruction();

private:
    friend void FreeComponent(TComponent* component);
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void NotifyRemoval();

    TComponent* owner_ = nullptr;
    std::string name_;
    int tag_ = 0;
    bool loading_ = false;
    bool destroying_ = false;
    bool removal_notified_ = false;
    std::vector<TComponent*> components_; // owned
    std::vector<TComponent*> free_notifies_;
};

// Frees a component owned by nobody or by somebody, telling everyone first.
void FreeComponent(TComponent* component);

} // namespace vd
