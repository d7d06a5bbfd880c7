#include "framework/TrayHost.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QObject>

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace vd {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kWatcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");
constexpr int kBusTimeoutMs = 1000; // a watcher that does not answer in a second is not there

TTrayHost* g_host = nullptr; // GUI thread only

} // namespace

// The session-bus side: is a StatusNotifierHost registered with a StatusNotifierWatcher?
class TStatusNotifierProbe : public QObject {
    Q_OBJECT
public:
    explicit TStatusNotifierProbe(std::function<void(bool restarted)> changed)
        : changed_(std::move(changed)), bus_(QDBusConnection::sessionBus()) {
        if (!bus_.isConnected())
            return;
        // Hosts come and go with their connection; the watcher then changes its answer. Any
        // departure from the bus and every registration are reason enough to ask again.
        bus_.connect(QStringLiteral("org.freedesktop.DBus"),
                     QStringLiteral("/org/freedesktop/DBus"),
                     QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameOwnerChanged"),
                     this, SLOT(NameOwnerChanged(QString, QString, QString)));
        bus_.connect(kWatcherService, kWatcherPath, kWatcherInterface,
                     QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(Recheck()));
        bus_.connect(kWatcherService, kWatcherPath, kWatcherInterface,
                     QStringLiteral("StatusNotifierHostUnregistered"), this, SLOT(Recheck()));
        present_ = Query();
    }

    [[nodiscard]] bool Present() const { return present_; }

public slots:
    void NameOwnerChanged(const QString& name, const QString& old_owner, const QString& new_owner) {
        if (name == kWatcherService) {
            const bool restarted = !new_owner.isEmpty();
            Update(restarted);
        } else if (name.contains(QStringLiteral("StatusNotifierHost")) ||
                   (name.startsWith(u':') && !old_owner.isEmpty() && new_owner.isEmpty())) {
            Update(false);
        }
    }
    void Recheck() { Update(false); }

private:
    void Update(bool restarted) {
        const bool now = Query();
        if (now == present_ && !restarted)
            return;
        present_ = now;
        changed_(restarted);
    }

    [[nodiscard]] bool Query() {
        QDBusMessage get = QDBusMessage::createMethodCall(
            kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        get << kWatcherInterface << QStringLiteral("IsStatusNotifierHostRegistered");
        const QDBusMessage reply = bus_.call(get, QDBus::Block, kBusTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return false;
        return reply.arguments().front().value<QDBusVariant>().variant().toBool();
    }

    std::function<void(bool restarted)> changed_;
    QDBusConnection bus_;
    bool present_ = false;
};

// The X11 side: who owns the XEmbed manager selection of our screen, followed through the
// manager's announcement on the root window and the owner window's destruction.
class TXEmbedProbe : public QAbstractNativeEventFilter {
public:
    explicit TXEmbedProbe(std::function<void(bool restarted)> changed)
        : changed_(std::move(changed)) {
        auto* x11 = qGuiApp != nullptr
                        ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                        : nullptr;
        if (x11 == nullptr || x11->connection() == nullptr)
            return;
        c_ = x11->connection();
        int screen = 0;
        if (const char* display = std::getenv("DISPLAY"); display != nullptr) {
            const std::string d = display;
            if (const auto dot = d.rfind('.'); dot != std::string::npos && dot > d.rfind(':'))
                screen = std::atoi(d.c_str() + dot + 1);
        }
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
        for (int i = 0; i < screen && it.rem > 0; ++i)
            xcb_screen_next(&it);
        if (it.rem == 0)
            return;
        root_ = it.data->root;
        selection_ = Atom("_NET_SYSTEM_TRAY_S" + std::to_string(screen));
        manager_ = Atom("MANAGER");
        // The manager announces itself to clients listening for structure changes of the root.
        AddEventMask(root_, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
        QCoreApplication::instance()->installNativeEventFilter(this);
        Follow(CurrentOwner());
    }
    ~TXEmbedProbe() override {
        if (c_ != nullptr && QCoreApplication::instance() != nullptr)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    TXEmbedProbe(const TXEmbedProbe&) = delete;
    TXEmbedProbe& operator=(const TXEmbedProbe&) = delete;

    [[nodiscard]] bool Present() const { return owner_ != XCB_NONE; }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7F) {
        case XCB_CLIENT_MESSAGE: {
            const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if (m->window == root_ && m->type == manager_ && m->format == 32 &&
                m->data.data32[1] == selection_) {
                // A manager taking the selection is a new tray, whether one was known or not.
                Follow(m->data.data32[2]);
                changed_(true);
            }
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto* d = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
            if (owner_ != XCB_NONE && d->window == owner_) {
                Follow(CurrentOwner());
                changed_(false);
            }
            break;
        }
        default:
            break;
        }
        return false; // the platform handles every event as well
    }

private:
    [[nodiscard]] xcb_atom_t Atom(const std::string& name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
        const xcb_atom_t atom = reply != nullptr ? reply->atom : XCB_NONE;
        std::free(reply);
        return atom;
    }

    [[nodiscard]] xcb_window_t CurrentOwner() {
        xcb_get_selection_owner_reply_t* reply =
            xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, selection_), nullptr);
        const xcb_window_t owner = reply != nullptr ? reply->owner : XCB_NONE;
        std::free(reply);
        return owner;
    }

    // Adds to what this connection already selects on `window` (the platform selects there too).
    void AddEventMask(xcb_window_t window, uint32_t mask) {
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, window), nullptr);
        if (attributes == nullptr)
            return;
        const uint32_t value = attributes->your_event_mask | mask;
        std::free(attributes);
        xcb_change_window_attributes(c_, window, XCB_CW_EVENT_MASK, &value);
        xcb_flush(c_);
    }

    void Follow(xcb_window_t owner) {
        owner_ = owner;
        if (owner_ != XCB_NONE)
            AddEventMask(owner_, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    }

    std::function<void(bool restarted)> changed_;
    xcb_connection_t* c_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
    xcb_window_t owner_ = XCB_NONE;
    xcb_atom_t selection_ = XCB_NONE;
    xcb_atom_t manager_ = XCB_NONE;
};

struct TTrayHost::Platform {
    bool status_notifier = false;
    bool xembed = false;
    std::unique_ptr<TStatusNotifierProbe> sni;
    std::unique_ptr<TXEmbedProbe> x;
};

TTrayHost& TTrayHost::Instance() {
    if (g_host == nullptr)
        g_host = new TTrayHost(); // lives as long as the process: the platform's icons need it
    return *g_host;
}

TTrayHost::TTrayHost() : platform_(std::make_unique<Platform>()) {
    Platform& p = *platform_;
    p.x = std::make_unique<TXEmbedProbe>([this](bool restarted) {
        HostsChanged(platform_->status_notifier, platform_->x->Present(), false, restarted);
    });
    p.xembed = p.x->Present();
    // Asking the bus when there is no bus to ask would start one: only a session that has one.
    if (std::getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr) {
        p.sni = std::make_unique<TStatusNotifierProbe>([this](bool restarted) {
            HostsChanged(platform_->sni->Present(), platform_->xembed, restarted, false);
        });
        p.status_notifier = p.sni->Present();
    }
}

TTrayHost::~TTrayHost() = default;

void TTrayHost::HostsChanged(bool status_notifier_now, bool xembed_now,
                             bool status_notifier_restarted, bool xembed_restarted) {
    Platform& p = *platform_;
    TTrayHostChange change;
    change.status_notifier_before = p.status_notifier;
    change.xembed_before = p.xembed;
    change.status_notifier_now = p.status_notifier = status_notifier_now;
    change.xembed_now = p.xembed = xembed_now;
    change.status_notifier_restarted = status_notifier_restarted && status_notifier_now;
    change.xembed_restarted = xembed_restarted && xembed_now;
    Notify(change);
}

bool TTrayHost::StatusNotifierHost() const {
    return status_notifier_override_.value_or(platform_->status_notifier);
}

bool TTrayHost::XEmbedManager() const {
    return xembed_override_.value_or(platform_->xembed);
}

void TTrayHost::DecideIconKind() {
    if (icon_kind_ != TTrayKind::None)
        return;
    icon_kind_ = StatusNotifierHost() ? TTrayKind::StatusNotifier : TTrayKind::XEmbed;
}

bool TTrayHost::Available() const {
    switch (icon_kind_) {
    case TTrayKind::StatusNotifier:
        return StatusNotifierHost();
    case TTrayKind::XEmbed:
        return XEmbedManager();
    case TTrayKind::None:
        break;
    }
    return StatusNotifierHost() || XEmbedManager();
}

bool TTrayHost::CameBack(const TTrayHostChange& change) const {
    const bool sni = change.status_notifier_restarted ||
                     (change.status_notifier_now && !change.status_notifier_before);
    const bool x = change.xembed_restarted || (change.xembed_now && !change.xembed_before);
    switch (icon_kind_) {
    case TTrayKind::StatusNotifier:
        return sni;
    case TTrayKind::XEmbed:
        return x;
    case TTrayKind::None:
        break;
    }
    return sni || x;
}

int TTrayHost::Subscribe(Listener listener) {
    const int key = next_key_++;
    listeners_[key] = std::move(listener);
    return key;
}

void TTrayHost::Unsubscribe(int key) {
    listeners_.erase(key);
}

void TTrayHost::Simulate(const TTrayHostChange& change) {
    status_notifier_override_ = change.status_notifier_now;
    xembed_override_ = change.xembed_now;
    Notify(change);
}

void TTrayHost::ClearSimulation() {
    status_notifier_override_.reset();
    xembed_override_.reset();
}

void TTrayHost::Notify(const TTrayHostChange& change) {
    // A listener may subscribe or unsubscribe others while being told.
    std::vector<int> keys;
    keys.reserve(listeners_.size());
    for (const auto& [key, listener] : listeners_)
        keys.push_back(key);
    for (int key : keys)
        if (const auto it = listeners_.find(key); it != listeners_.end()) {
            const Listener listener = it->second;
            listener(change);
        }
}

} // namespace vd

#include "TrayHost.moc"
