#include "tests/e2e/support/XDisplay.h"

#include "tests/e2e/support/Wait.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/shape.h>

#include <memory>
#include <stdexcept>
#include <thread>

namespace vd::e2e {

namespace {

int count_error(Display*, XErrorEvent*) {
    return 0;
}

struct XFreeDeleter {
    void operator()(void* p) const {
        if (p != nullptr)
            XFree(p);
    }
};

template <typename T>
using XPtr = std::unique_ptr<T, XFreeDeleter>;

// A window property as the server holds it: its type, item size in bits, item count and items.
struct Property {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    XPtr<unsigned char> data;
};

// Up to `longs` 32-bit units of property `name` of window `id` if it is of type `type`; no
// data when the window or the property is missing.
Property read_property(Display* display, XWindowId id, Atom name, long longs, Atom type) {
    Property p;
    unsigned long rest = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(display, id, name, 0, longs, False, type, &p.type, &p.format, &p.count,
                           &rest, &raw) == Success)
        p.data.reset(raw);
    return p;
}

} // namespace

XDisplay::XDisplay() {
    // Xvfb accepts connections one at a time; a busy server turns a connection away for a moment
    // (EAGAIN), so a failed attempt is tried again for a while before it counts.
    const bool opened = wait_until(
        [&] {
            display_ = XOpenDisplay(nullptr);
            return display_ != nullptr;
        },
        std::chrono::seconds(3), std::chrono::milliseconds(25));
    if (!opened)
        throw std::runtime_error("cannot open the X display");
    XSetErrorHandler(count_error);
}

XDisplay::~XDisplay() {
    discard_queued_events();
    XCloseDisplay(display_);
}

void XDisplay::discard_queued_events() {
    // Xlib fills in an extension event's data (the raw button events) as the event is queued and
    // frees it only when a reader claims it; a queue dropped whole (XSync's discard, closing the
    // display) loses that data. Reading every event and claiming its data frees it.
    while (XPending(display_) > 0) {
        XEvent event{};
        XNextEvent(display_, &event);
        if (event.xcookie.type == GenericEvent && XGetEventData(display_, &event.xcookie) != 0)
            XFreeEventData(display_, &event.xcookie);
    }
}

std::string XDisplay::name_of(XWindowId id) {
    const Atom net_wm_name = XInternAtom(display_, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    const Property name = read_property(display_, id, net_wm_name, 1024, utf8);
    if (name.data != nullptr && name.type == utf8 && name.format == 8)
        return std::string(reinterpret_cast<const char*>(name.data.get()), name.count);
    char* plain = nullptr;
    if (XFetchName(display_, id, &plain) != 0 && plain != nullptr) {
        const XPtr<char> data(plain);
        return data.get();
    }
    return {};
}

long XDisplay::pid_of(XWindowId id) {
    const Atom net_wm_pid = XInternAtom(display_, "_NET_WM_PID", False);
    const Property pid = read_property(display_, id, net_wm_pid, 1, XA_CARDINAL);
    if (pid.data == nullptr || pid.format != 32 || pid.count != 1)
        return 0;
    return static_cast<long>(*reinterpret_cast<const unsigned long*>(pid.data.get()));
}

std::vector<std::pair<int, int>> XDisplay::icon_sizes(XWindowId id) {
    const Atom net_wm_icon = XInternAtom(display_, "_NET_WM_ICON", False);
    std::vector<std::pair<int, int>> sizes;
    const Property icons = read_property(display_, id, net_wm_icon, 1L << 22, XA_CARDINAL);
    if (icons.data == nullptr || icons.format != 32)
        return sizes;
    // Width, height, then width * height pixels, for each icon (32-bit items come as longs).
    const auto* items = reinterpret_cast<const unsigned long*>(icons.data.get());
    for (unsigned long at = 0; at + 2 <= icons.count;) {
        const unsigned long w = items[at];
        const unsigned long h = items[at + 1];
        sizes.emplace_back(static_cast<int>(w), static_cast<int>(h));
        at += 2 + w * h;
    }
    return sizes;
}

std::pair<std::string, std::string> XDisplay::wm_class(XWindowId id) {
    XClassHint hint{};
    if (XGetClassHint(display_, id, &hint) == 0)
        return {};
    std::pair<std::string, std::string> result{hint.res_name != nullptr ? hint.res_name : "",
                                               hint.res_class != nullptr ? hint.res_class : ""};
    XFree(hint.res_name);
    XFree(hint.res_class);
    return result;
}

std::optional<WindowInfo> XDisplay::info(XWindowId id) {
    XSync(display_, False);
    XWindowAttributes a{};
    if (XGetWindowAttributes(display_, id, &a) == 0)
        return std::nullopt;
    WindowInfo w;
    w.id = id;
    w.width = a.width;
    w.height = a.height;
    w.viewable = a.map_state == IsViewable;
    w.override_redirect = a.override_redirect != 0;
    Window child = 0;
    if (XTranslateCoordinates(display_, id, DefaultRootWindow(display_), 0, 0, &w.x, &w.y,
                              &child) == 0)
        return std::nullopt;
    w.name = name_of(id);
    return w;
}

WindowInfo XDisplay::screen() {
    const std::optional<WindowInfo> root = info(DefaultRootWindow(display_));
    if (!root)
        throw std::runtime_error("the root window cannot be read");
    return *root;
}

std::vector<WindowInfo> XDisplay::top_levels() {
    XSync(display_, False);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<WindowInfo> result;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0)
        return result;
    const XPtr<Window> owned(children);
    for (unsigned int i = 0; i < count; ++i)
        if (const std::optional<WindowInfo> w = info(children[i]))
            result.push_back(*w);
    return result;
}

std::optional<WindowInfo> XDisplay::find_viewable(std::string_view name, Match match) {
    return find_viewable_in(DefaultRootWindow(display_), name, match);
}

std::optional<WindowInfo> XDisplay::find_viewable_in(XWindowId ancestor, std::string_view name,
                                                     Match match) {
    std::vector<WindowInfo> found = viewable_windows_in(ancestor, name, match, true);
    if (found.empty())
        return std::nullopt;
    return found.front();
}

std::vector<WindowInfo> XDisplay::find_all_viewable(std::string_view name) {
    return viewable_windows_in(DefaultRootWindow(display_), name, Match::part, false);
}

std::vector<WindowInfo> XDisplay::viewable_windows_in(XWindowId ancestor, std::string_view name,
                                                      Match match, bool first_only) {
    XSync(display_, False);
    std::vector<WindowInfo> found;
    std::vector<Window> pending{ancestor};
    while (!pending.empty()) {
        const Window id = pending.back();
        pending.pop_back();
        if (id != ancestor) {
            const std::optional<WindowInfo> w = info(id);
            const bool named = match == Match::whole ? w && w->name == name
                                                     : w && w->name.find(name) != std::string::npos;
            if (named && w->viewable) {
                found.push_back(*w);
                if (first_only)
                    return found;
            }
        }
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display_, id, &root, &parent, &children, &count) != 0) {
            const XPtr<Window> owned(children);
            pending.insert(pending.end(), children, children + count);
        }
    }
    return found;
}

std::vector<ShapeRect> XDisplay::bounding_shape(XWindowId id) {
    XSync(display_, False);
    int count = 0;
    int ordering = 0;
    const XPtr<XRectangle> rects(
        XShapeGetRectangles(display_, id, ShapeBounding, &count, &ordering));
    std::vector<ShapeRect> result;
    for (int i = 0; i < count; ++i)
        result.push_back(
            {rects.get()[i].x, rects.get()[i].y, rects.get()[i].width, rects.get()[i].height});
    return result;
}

Image XDisplay::grab(int x, int y, int width, int height) {
    XSync(display_, False);
    XImage* raw =
        XGetImage(display_, DefaultRootWindow(display_), x, y, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (raw == nullptr)
        throw std::runtime_error("XGetImage failed");
    struct ImageDeleter {
        void operator()(XImage* i) const { XDestroyImage(i); }
    };
    const std::unique_ptr<XImage, ImageDeleter> image(raw);
    // Any visual: scale each channel by its mask to 8 bits.
    auto channel = [](unsigned long pixel, unsigned long mask) -> std::uint32_t {
        if (mask == 0)
            return 0;
        int shift = 0;
        while (((mask >> shift) & 1U) == 0)
            ++shift;
        const unsigned long max = mask >> shift;
        return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255U / max);
    };
    Image out{width, height, {}};
    out.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            const unsigned long p = XGetPixel(image.get(), col, row);
            out.pixels.push_back(channel(p, image->red_mask) << 16 |
                                 channel(p, image->green_mask) << 8 | channel(p, image->blue_mask));
        }
    return out;
}

bool XDisplay::window_manager_running() {
    XSync(display_, False);
    const Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
    const Property owner =
        read_property(display_, DefaultRootWindow(display_), check, 1, XA_WINDOW);
    if (owner.data == nullptr || owner.type != XA_WINDOW || owner.count != 1)
        return false;
    // A window manager that ended leaves the property behind; its check window went with it.
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display_, *reinterpret_cast<const Window*>(owner.data.get()),
                                &attributes) != 0;
}

void XDisplay::send_delete_window(XWindowId id) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, id, False, NoEventMask, &event);
    XFlush(display_);
}

void XDisplay::watch_button_releases() {
    if (xinput_opcode_ < 0) {
        int event = 0;
        int error = 0;
        if (XQueryExtension(display_, "XInputExtension", &xinput_opcode_, &event, &error) == 0)
            throw std::runtime_error("the X server has no XInput extension");
        // 2.2: an older client gets no raw events while another client holds a grab, as the
        // pressed program does until the release.
        int major = 2;
        int minor = 2;
        if (XIQueryVersion(display_, &major, &minor) != Success)
            throw std::runtime_error("the X server has no XInput 2");
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawButtonRelease);
        XIEventMask mask{XIAllDevices, static_cast<int>(sizeof bits), bits};
        XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
    }
    XSync(display_, False);
    discard_queued_events();
}

bool XDisplay::wait_for_button_release(int button, std::chrono::milliseconds timeout) {
    if (xinput_opcode_ < 0)
        throw std::logic_error("wait_for_button_release before watch_button_releases");
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        while (XPending(display_) > 0) {
            XEvent event{};
            XNextEvent(display_, &event);
            XGenericEventCookie* cookie = &event.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != xinput_opcode_ ||
                XGetEventData(display_, cookie) == 0)
                continue;
            const bool released = cookie->evtype == XI_RawButtonRelease &&
                                  static_cast<const XIRawEvent*>(cookie->data)->detail == button;
            XFreeEventData(display_, cookie);
            if (released)
                return true;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace vd::e2e
