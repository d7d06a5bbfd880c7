#pragma once

#include "framework/Types.h"

#include <functional>
#include <memory>
#include <string>

namespace vd {

// An icon in the desktop's notification area. Where the desktop has none, it stays hidden and
// reports that it is not available.
class TTrayAdapter {
public:
    TTrayAdapter();
    ~TTrayAdapter();
    TTrayAdapter(const TTrayAdapter&) = delete;
    TTrayAdapter& operator=(const TTrayAdapter&) = delete;

    [[nodiscard]] static bool Available();
    // The icon's picture from a resource path (":/icons/...") or a file.
    void SetIcon(const std::string& path);
    void SetToolTip(const std::string& text);
    void SetVisible(bool visible);
    [[nodiscard]] bool Visible() const;

    // A left click on the icon. GUI thread, from the event loop after the click's own delivery,
    // so a handler may hide the icon.
    std::function<void()> OnClick;
    // A right click: the screen point to pop a menu up at. Run as OnClick is.
    std::function<void(TPoint screen)> OnContextMenu;

private:
    struct Platform;
    std::unique_ptr<Platform> platform_;
};

} // namespace vd
