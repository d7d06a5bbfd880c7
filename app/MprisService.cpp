#include "app/MprisService.h"

#include "app/AppId.h"
#include "app/MainWindow.h"
#include "app/MprisState.h"
#include "app/PlayerVolume.h"
#include "audio/FileTypes.h"
#include "audio/ModLib.h"
#include "framework/Application.h"
#include "framework/Timer.h"
#include "framework/core/FilePaths.h"
#include "player/MediaPlayer.h"
#include "skin/VsLabel.h"
#include "skin/VsSlider.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace vd {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kIntrospectableInterface = QStringLiteral("org.freedesktop.DBus.Introspectable");
const QString kBusNamePrefix = QStringLiteral("org.mpris.MediaPlayer2.vodezaru");
// Often enough that a button press shows on the desktop at once, rarely enough to cost nothing.
constexpr int kPollIntervalMs = 100;

const char* const kIntrospection = R"(<node>
 <interface name="org.freedesktop.DBus.Introspectable">
  <method name="Introspect"><arg name="xml" type="s" direction="out"/></method>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get"><arg name="interface" type="s" direction="in"/><arg name="name" type="s" direction="in"/><arg name="value" type="v" direction="out"/></method>
  <method name="GetAll"><arg name="interface" type="s" direction="in"/><arg name="values" type="a{sv}" direction="out"/></method>
  <method name="Set"><arg name="interface" type="s" direction="in"/><arg name="name" type="s" direction="in"/><arg name="value" type="v" direction="in"/></method>
  <signal name="PropertiesChanged"><arg name="interface" type="s"/><arg name="changed" type="a{sv}"/><arg name="invalidated" type="as"/></signal>
 </interface>
 <interface name="org.mpris.MediaPlayer2">
  <method name="Raise"/>
  <method name="Quit"/>
  <property name="CanQuit" type="b" access="read"/>
  <property name="CanRaise" type="b" access="read"/>
  <property name="HasTrackList" type="b" access="read"/>
  <property name="Identity" type="s" access="read"/>
  <property name="DesktopEntry" type="s" access="read"/>
  <property name="SupportedUriSchemes" type="as" access="read"/>
  <property name="SupportedMimeTypes" type="as" access="read"/>
 </interface>
 <interface name="org.mpris.MediaPlayer2.Player">
  <method name="Next"/>
  <method name="Previous"/>
  <method name="Pause"/>
  <method name="PlayPause"/>
  <method name="Stop"/>
  <method name="Play"/>
  <method name="Seek"><arg name="Offset" type="x" direction="in"/></method>
  <method name="SetPosition"><arg name="TrackId" type="o" direction="in"/><arg name="Position" type="x" direction="in"/></method>
  <method name="OpenUri"><arg name="Uri" type="s" direction="in"/></method>
  <signal name="Seeked"><arg name="Position" type="x"/></signal>
  <property name="PlaybackStatus" type="s" access="read"/>
  <property name="LoopStatus" type="s" access="read"/>
  <property name="Rate" type="d" access="read"/>
  <property name="Shuffle" type="b" access="read"/>
  <property name="Metadata" type="a{sv}" access="read"/>
  <property name="Volume" type="d" access="readwrite"/>
  <property name="Position" type="x" access="read"/>
  <property name="MinimumRate" type="d" access="read"/>
  <property name="MaximumRate" type="d" access="read"/>
  <property name="CanGoNext" type="b" access="read"/>
  <property name="CanGoPrevious" type="b" access="read"/>
  <property name="CanPlay" type="b" access="read"/>
  <property name="CanPause" type="b" access="read"/>
  <property name="CanSeek" type="b" access="read"/>
  <property name="CanControl" type="b" access="read"/>
 </interface>
</node>
)";

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Without an address in the environment or a bus socket where the session puts it, asking Qt for
// the session bus would start one through X11 autolaunch: a stray daemon nobody asked for.
bool SessionBusExpected() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address)
        return true;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return QFileInfo::exists(QString::fromLocal8Bit(runtime) + QStringLiteral("/bus"));
    return false;
}

} // namespace

struct MprisService::Impl final : public QDBusVirtualObject {
    TPlayer& player;
    QDBusConnection bus;
    QString bus_name;
    QTimer poll;
    MprisState announced;
    std::string last_file;
    std::uint64_t last_starts = 0;
    std::uint64_t track_serial = 0;
    std::int64_t last_position_ms = 0;
    QElapsedTimer since_last_position;

    Impl(TPlayer& p, QDBusConnection connection) : player(p), bus(std::move(connection)) {}

    ~Impl() override {
        poll.stop();
        bus.unregisterObject(kObjectPath);
        if (!bus_name.isEmpty())
            bus.unregisterService(bus_name);
    }

    // ---- what the player shows ----------------------------------------------------------------

    [[nodiscard]] bool MediaOpen() const {
        return player.Controller().Kind() == FileKind::Media && player.MIDIPlayer->IsOpen();
    }
    [[nodiscard]] bool ModuleLoaded() const {
        return player.Controller().Kind() == FileKind::Module && !modlib_file_name().empty();
    }
    [[nodiscard]] std::string LoadedFile() const {
        if (MediaOpen())
            return player.MIDIPlayer->FileName();
        if (ModuleLoaded())
            return modlib_file_name();
        return {};
    }

    [[nodiscard]] PlaybackStatus Status() const {
        if (MediaOpen()) {
            switch (player.MIDIPlayer->Mode()) {
            case TMPModes::mpPlaying:
            case TMPModes::mpSeeking:
                return PlaybackStatus::Playing;
            case TMPModes::mpPaused:
                return PlaybackStatus::Paused;
            default:
                return PlaybackStatus::Stopped;
            }
        }
        if (ModuleLoaded()) {
            if (MODLIB_MusicIsActive() != 0)
                return PlaybackStatus::Playing;
            // A stop switches the row timer off; a pause leaves it on.
            return player.ModTimer->Enabled() ? PlaybackStatus::Paused : PlaybackStatus::Stopped;
        }
        return PlaybackStatus::Stopped;
    }

    [[nodiscard]] std::int64_t PositionMs() const {
        if (MediaOpen())
            return player.MIDIPlayer->Position();
        if (ModuleLoaded())
            return modlib_position_ms();
        return 0;
    }

    [[nodiscard]] bool Seekable() const { return MediaOpen() || ModuleLoaded(); }

    MprisState Snapshot() {
        MprisState state;
        state.status = Status();
        const std::string file = LoadedFile();
        // Every start is a new track, also the same file played again from its start.
        const std::uint64_t starts = player.Controller().Starts();
        if (file != last_file || starts != last_starts) {
            last_file = file;
            last_starts = starts;
            ++track_serial;
        }
        if (file.empty()) {
            state.track.track_id = std::string(kNoTrack);
        } else {
            state.track.track_id = TrackIdFor(kAppObjectPath, track_serial);
            state.track.title = TrackTitle(player.TitleLabel->Caption());
            std::error_code ignored;
            state.track.url = FileUrl(std::filesystem::absolute(file, ignored).string());
            if (MediaOpen()) {
                state.track.length_us =
                    static_cast<std::int64_t>(player.MIDIPlayer->Length()) * 1000;
            } else {
                const ModuleDetails details = modlib_details();
                state.track.artist = details.artist;
                state.track.tracker = details.tracker;
                state.track.length_us = details.duration_ms * 1000;
            }
        }
        state.volume = static_cast<double>(player.Volume().Percent()) / PlayerVolume::kMaxPercent;
        const bool entries = player.Entries().Count() > 0;
        state.can_go_next = entries;
        state.can_go_previous = entries;
        state.can_play = entries || !file.empty();
        state.can_pause = !file.empty();
        state.can_seek = !file.empty() && Seekable();
        return state;
    }

    static QVariantMap Metadata(const MprisTrack& track) {
        QVariantMap map;
        map.insert(QStringLiteral("mpris:trackid"),
                   QVariant::fromValue(QDBusObjectPath(Q(track.track_id))));
        if (track.track_id == kNoTrack)
            return map;
        map.insert(QStringLiteral("mpris:length"), QVariant::fromValue(qlonglong(track.length_us)));
        map.insert(QStringLiteral("xesam:title"), Q(track.title));
        map.insert(QStringLiteral("xesam:url"), Q(track.url));
        if (!track.artist.empty())
            map.insert(QStringLiteral("xesam:artist"), QStringList{Q(track.artist)});
        if (!track.tracker.empty())
            map.insert(QStringLiteral("xesam:comment"), QStringList{Q(track.tracker)});
        return map;
    }

    QVariant PlayerProperty(const MprisState& s, const QString& name) {
        if (name == QLatin1String("PlaybackStatus"))
            return Q(StatusText(s.status));
        if (name == QLatin1String("LoopStatus"))
            return QStringLiteral("Playlist"); // the list wraps at both ends
        if (name == QLatin1String("Rate") || name == QLatin1String("MinimumRate") ||
            name == QLatin1String("MaximumRate"))
            return 1.0;
        if (name == QLatin1String("Shuffle"))
            return false;
        if (name == QLatin1String("Metadata"))
            return Metadata(s.track);
        if (name == QLatin1String("Volume"))
            return s.volume;
        if (name == QLatin1String("Position"))
            return QVariant::fromValue(qlonglong(PositionMs() * 1000));
        if (name == QLatin1String("CanGoNext"))
            return s.can_go_next;
        if (name == QLatin1String("CanGoPrevious"))
            return s.can_go_previous;
        if (name == QLatin1String("CanPlay"))
            return s.can_play;
        if (name == QLatin1String("CanPause"))
            return s.can_pause;
        if (name == QLatin1String("CanSeek"))
            return s.can_seek;
        if (name == QLatin1String("CanControl"))
            return true;
        return {};
    }

    static QVariant RootProperty(const QString& name) {
        if (name == QLatin1String("CanQuit") || name == QLatin1String("CanRaise"))
            return true;
        if (name == QLatin1String("HasTrackList"))
            return false;
        if (name == QLatin1String("Identity"))
            return QStringLiteral("VO Dezaru");
        if (name == QLatin1String("DesktopEntry"))
            return Q(kAppId);
        if (name == QLatin1String("SupportedUriSchemes"))
            return QStringList{QStringLiteral("file")};
        if (name == QLatin1String("SupportedMimeTypes"))
            return QStringList{QStringLiteral("audio/x-mod"),
                               QStringLiteral("audio/x-xm"),
                               QStringLiteral("audio/x-it"),
                               QStringLiteral("audio/x-s3m"),
                               QStringLiteral("audio/x-mtm"),
                               QStringLiteral("audio/midi"),
                               QStringLiteral("audio/x-midi"),
                               QStringLiteral("audio/x-wav"),
                               QStringLiteral("audio/wav"),
                               QStringLiteral("audio/mpeg"),
                               QStringLiteral("audio/x-vodezaru-playlist")};
        return {};
    }

    // ---- announcing ---------------------------------------------------------------------------

    void Poll() {
        const MprisState now = Snapshot();
        const std::vector<std::string> changed = ChangedProperties(announced, now);
        if (!changed.empty()) {
            QVariantMap values;
            for (const std::string& name : changed)
                values.insert(Q(name), PlayerProperty(now, Q(name)));
            QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, kPropertiesInterface,
                                                             QStringLiteral("PropertiesChanged"));
            signal << kPlayerInterface << values << QStringList();
            bus.send(signal);
        }
        // A jump of the position within one track is a seek (the slider, a module's own order
        // jump); a new track starts from its beginning and is announced by its metadata.
        const std::int64_t position = PositionMs();
        if (now.track.track_id == announced.track.track_id && now.track.track_id != kNoTrack &&
            PositionJumped(last_position_ms, position, since_last_position.elapsed(),
                           announced.status == PlaybackStatus::Playing &&
                               now.status == PlaybackStatus::Playing))
            AnnounceSeeked(position);
        last_position_ms = position;
        since_last_position.restart();
        announced = now;
    }

    void AnnounceSeeked(std::int64_t position_ms) {
        QDBusMessage signal =
            QDBusMessage::createSignal(kObjectPath, kPlayerInterface, QStringLiteral("Seeked"));
        signal << qlonglong(position_ms * 1000);
        bus.send(signal);
        last_position_ms = position_ms;
        since_last_position.restart();
    }

    // ---- methods ------------------------------------------------------------------------------

    // The operations the buttons use; an error is shown as the buttons' errors are.
    void Play() {
        switch (Status()) {
        case PlaybackStatus::Playing:
            return;
        case PlaybackStatus::Paused:
            player.PauseBtnClick(nullptr);
            return;
        case PlaybackStatus::Stopped:
            break;
        }
        if (player.Entries().Count() == 0)
            return;
        if (player.Entries().SelectedIndex() >= 0)
            player.PlayBtnClick(nullptr);
        else
            player.NextBtnClick(nullptr); // with nothing selected, Next plays the first entry
    }
    void Pause() {
        if (Status() == PlaybackStatus::Playing)
            player.PauseBtnClick(nullptr);
    }
    void PlayPause() {
        if (Status() == PlaybackStatus::Playing)
            player.PauseBtnClick(nullptr);
        else
            Play();
    }

    void SeekTo(std::int64_t target_ms) {
        if (!Seekable())
            return;
        const std::int64_t length_ms = announced.track.length_us / 1000;
        if (target_ms < 0)
            target_ms = 0;
        if (length_ms > 0 && target_ms > length_ms) {
            player.NextBtnClick(nullptr);
            return;
        }
        // Through the slider, as a click on it would: the controller takes its position.
        player.DisplayPosition(nullptr);
        if (MediaOpen())
            player.ProgressBar->SetPosition(static_cast<int32_t>(target_ms));
        else
            player.ProgressBar->SetPosition(modlib_order_at_ms(target_ms));
        player.ProgressBarClick(nullptr);
        AnnounceSeeked(PositionMs());
    }

    void Raise() {
        player.TrayIconClick(nullptr);
        if (QWidget* window = player.Widget()) {
            window->raise();
            window->activateWindow();
        }
    }

    void OpenUri(const std::string& uri) {
        const std::string path = PathOfUri(uri);
        if (path.empty())
            throw Exception("Only local files can be played: " + uri);
        player.Entries().Append(path);
        player.Controller().PlayEntryAt(player.Entries().Count() - 1);
    }

    // The reply goes out first: an operation that fails shows its message box, and the caller
    // should not wait for a person to answer it.
    void Later(std::function<void()> operation) { TApplication::Post(std::move(operation)); }

    bool RunPlayerMethod(const QDBusMessage& message) {
        const QString member = message.member();
        const QList<QVariant> args = message.arguments();
        if (member == QLatin1String("Play"))
            Later([this] { Play(); });
        else if (member == QLatin1String("Pause"))
            Later([this] { Pause(); });
        else if (member == QLatin1String("PlayPause"))
            Later([this] { PlayPause(); });
        else if (member == QLatin1String("Stop"))
            Later([this] { player.StopBtnClick(nullptr); });
        else if (member == QLatin1String("Next"))
            Later([this] { player.NextBtnClick(nullptr); });
        else if (member == QLatin1String("Previous"))
            Later([this] { player.PrevBtnClick(nullptr); });
        else if (member == QLatin1String("Seek") && args.size() == 1) {
            const std::int64_t offset_us = args[0].toLongLong();
            Later([this, offset_us] { SeekTo(PositionMs() + offset_us / 1000); });
        } else if (member == QLatin1String("SetPosition") && args.size() == 2) {
            const std::string track = args[0].value<QDBusObjectPath>().path().toStdString();
            const std::int64_t position_us = args[1].toLongLong();
            Later([this, track, position_us] {
                // A position meant for a track that is no longer the current one is stale.
                if (track == Snapshot().track.track_id && track != kNoTrack && position_us >= 0)
                    SeekTo(position_us / 1000);
            });
        } else if (member == QLatin1String("OpenUri") && args.size() == 1) {
            const std::string uri = args[0].toString().toStdString();
            Later([this, uri] { OpenUri(uri); });
        } else
            return false;
        return true;
    }

    bool RunRootMethod(const QDBusMessage& message) {
        const QString member = message.member();
        if (member == QLatin1String("Raise"))
            Later([this] { Raise(); });
        else if (member == QLatin1String("Quit"))
            Later([this] { player.MenuCloseClick(nullptr); });
        else
            return false;
        return true;
    }

    bool RunProperties(const QDBusMessage& message) {
        const QString member = message.member();
        const QList<QVariant> args = message.arguments();
        if (args.isEmpty())
            return false;
        const QString interface = args[0].toString();
        const MprisState state = Snapshot();
        auto value_of = [&](const QString& name) {
            return interface == kRootInterface ? RootProperty(name) : PlayerProperty(state, name);
        };
        if (interface != kRootInterface && interface != kPlayerInterface) {
            bus.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
                QStringLiteral("No such interface")));
            return true;
        }
        if (member == QLatin1String("Get") && args.size() == 2) {
            const QVariant value = value_of(args[1].toString());
            if (!value.isValid()) {
                bus.send(message.createErrorReply(
                    QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
                    QStringLiteral("No such property")));
                return true;
            }
            bus.send(message.createReply(QVariant::fromValue(QDBusVariant(value))));
            return true;
        }
        if (member == QLatin1String("GetAll")) {
            static const char* const kRoot[] = {"CanQuit",           "CanRaise",
                                                "HasTrackList",      "Identity",
                                                "DesktopEntry",      "SupportedUriSchemes",
                                                "SupportedMimeTypes"};
            static const char* const kPlayer[] = {
                "PlaybackStatus", "LoopStatus", "Rate",        "Shuffle",     "Metadata",
                "Volume",         "Position",   "MinimumRate", "MaximumRate", "CanGoNext",
                "CanGoPrevious",  "CanPlay",    "CanPause",    "CanSeek",     "CanControl"};
            QVariantMap all;
            if (interface == kRootInterface)
                for (const char* name : kRoot)
                    all.insert(QLatin1String(name), RootProperty(QLatin1String(name)));
            else
                for (const char* name : kPlayer)
                    all.insert(QLatin1String(name), PlayerProperty(state, QLatin1String(name)));
            bus.send(message.createReply(QVariant(all)));
            return true;
        }
        if (member == QLatin1String("Set") && args.size() == 3) {
            if (interface == kPlayerInterface && args[1].toString() == QLatin1String("Volume")) {
                const double volume = args[2].value<QDBusVariant>().variant().toDouble();
                if (std::isfinite(volume))
                    player.Volume().SetPercent(
                        static_cast<int>(std::lround(volume * PlayerVolume::kMaxPercent)));
                bus.send(message.createReply());
                Poll();
                return true;
            }
            bus.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"),
                QStringLiteral("The property cannot be changed")));
            return true;
        }
        return false;
    }

    // QDBusVirtualObject
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override {
        // Qt's bus dispatch must not see an exception; the caller gets it as an error reply.
        try {
            return Dispatch(message);
        } catch (const std::exception& error) {
            bus.send(message.createErrorReply(QStringLiteral("org.mpris.MediaPlayer2.Error"),
                                              QString::fromUtf8(error.what())));
            return true;
        }
    }

    bool Dispatch(const QDBusMessage& message) {
        const QString interface = message.interface();
        bool handled = false;
        if (interface == kIntrospectableInterface &&
            message.member() == QLatin1String("Introspect")) {
            bus.send(message.createReply(QString::fromUtf8(kIntrospection)));
            return true;
        }
        if (interface == kPropertiesInterface)
            return RunProperties(message);
        if (interface == kPlayerInterface)
            handled = RunPlayerMethod(message);
        else if (interface == kRootInterface)
            handled = RunRootMethod(message);
        if (handled)
            bus.send(message.createReply());
        return handled;
    }
};

MprisService::MprisService(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

MprisService::~MprisService() = default;

std::unique_ptr<MprisService> MprisService::Start(TPlayer& player) {
    if (!SessionBusExpected())
        return nullptr;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    auto impl = std::make_unique<Impl>(player, bus);
    if (!bus.registerVirtualObject(kObjectPath, impl.get(), QDBusConnection::SingleNode))
        return nullptr;
    QDBusConnectionInterface* names = bus.interface();
    if (names == nullptr)
        return nullptr;
    QString name = kBusNamePrefix;
    if (names
            ->registerService(name, QDBusConnectionInterface::DontQueueService,
                              QDBusConnectionInterface::DontAllowReplacement)
            .value() != QDBusConnectionInterface::ServiceRegistered) {
        name = kBusNamePrefix + QStringLiteral(".instance") + QString::number(::getpid());
        if (names
                ->registerService(name, QDBusConnectionInterface::DontQueueService,
                                  QDBusConnectionInterface::DontAllowReplacement)
                .value() != QDBusConnectionInterface::ServiceRegistered)
            return nullptr;
    }
    impl->bus_name = name;
    impl->announced = impl->Snapshot();
    impl->since_last_position.start();
    Impl* self = impl.get();
    QObject::connect(&impl->poll, &QTimer::timeout, [self] {
        // A device that cannot answer now is asked again at the next poll; a message box every
        // tenth of a second would help nobody.
        try {
            self->Poll();
        } catch (const std::exception&) {
        }
    });
    impl->poll.start(kPollIntervalMs);
    return std::unique_ptr<MprisService>(new MprisService(std::move(impl)));
}

} // namespace vd
