// The running player on the session bus: org.freedesktop.Application on the application id.
#include "app/AppId.h"
#include "app/InstanceChannels.h"
#include "framework/Application.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QUrl>
#include <QVariantMap>

#include <mutex>

namespace vd::instance {

namespace {

constexpr auto kInterface = "org.freedesktop.Application";
constexpr auto kEnqueueKey = "vodezaru-enqueue"; // in Open's platform data
constexpr int kCallTimeoutMs = 5000;

QString AppIdText() {
    return QString::fromUtf8(kAppId.data(), static_cast<qsizetype>(kAppId.size()));
}
QString ObjectPathText() {
    return QString::fromUtf8(kAppObjectPath.data(), static_cast<qsizetype>(kAppObjectPath.size()));
}

// a{sv} arrives as a bus argument still to be read.
QVariantMap PlatformData(const QVariant& value) {
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

class BusObject final : public QDBusVirtualObject {
public:
    // GUI thread.
    void SetHandler(InstanceServer::Handler handler) {
        const std::lock_guard lock(mutex_);
        handler_ = std::move(handler);
    }

    QString introspect(const QString&) const override {
        return QStringLiteral(
            "<interface name=\"org.freedesktop.Application\">"
            "<method name=\"Activate\"><arg type=\"a{sv}\" name=\"platform_data\" "
            "direction=\"in\"/></method>"
            "<method name=\"Open\"><arg type=\"as\" name=\"uris\" direction=\"in\"/>"
            "<arg type=\"a{sv}\" name=\"platform_data\" direction=\"in\"/></method>"
            "<method name=\"ActivateAction\"><arg type=\"s\" name=\"action_name\" "
            "direction=\"in\"/><arg type=\"av\" name=\"parameter\" direction=\"in\"/>"
            "<arg type=\"a{sv}\" name=\"platform_data\" direction=\"in\"/></method>"
            "</interface>");
    }

    // The bus's thread or the GUI thread: the request itself is carried out on the GUI thread.
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != QLatin1String(kInterface))
            return false;
        const QList<QVariant> args = message.arguments();
        InstanceRequest request;
        const QString member = message.member();
        if (member == QLatin1String("Activate") && args.size() == 1) {
            request.kind = InstanceRequest::Kind::Activate;
        } else if (member == QLatin1String("Open") && args.size() == 2) {
            request.kind = InstanceRequest::Kind::Open;
            for (const QString& uri : args[0].toStringList()) {
                const QUrl url(uri);
                const QString path = url.isLocalFile() ? url.toLocalFile() : uri;
                request.files.push_back(path.toStdString());
            }
            request.enqueue = PlatformData(args[1]).value(QLatin1String(kEnqueueKey)).toBool();
        } else if (member == QLatin1String("ActivateAction") && args.size() == 3) {
            request.kind = InstanceRequest::Kind::Action;
            request.action = args[0].toString().toStdString();
        } else {
            connection.send(message.createErrorReply(QDBusError::UnknownMethod,
                                                     QStringLiteral("No such method")));
            return true;
        }
        InstanceServer::Handler handler;
        {
            const std::lock_guard lock(mutex_);
            handler = handler_;
        }
        if (handler)
            TApplication::Post([handler, request] { handler(request); });
        connection.send(message.createReply());
        return true;
    }

private:
    std::mutex mutex_;
    InstanceServer::Handler handler_;
};

class BusServer final : public InstanceServer {
public:
    explicit BusServer(QDBusConnection bus) : bus_(std::move(bus)) {}
    ~BusServer() override {
        bus_.unregisterObject(ObjectPathText());
        bus_.unregisterService(AppIdText());
    }
    bool Register() {
        return bus_.registerVirtualObject(ObjectPathText(), &object_, QDBusConnection::SingleNode);
    }
    void SetHandler(Handler handler) override { object_.SetHandler(std::move(handler)); }
    [[nodiscard]] std::string Where() const override { return "session bus"; }

private:
    QDBusConnection bus_;
    BusObject object_;
};

} // namespace

bool SessionBusAvailable() {
    return QDBusConnection::sessionBus().isConnected();
}

std::unique_ptr<InstanceServer> ClaimOnBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The object is in place before the name is taken, so that no call finds the name
    // without the object behind it.
    auto server = std::make_unique<BusServer>(bus);
    if (!server->Register())
        return nullptr;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(AppIdText(), QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered)
        return nullptr;
    return server;
}

std::optional<bool> SendOnBus(const InstanceRequest& request) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusReply<bool> owned = bus.interface()->isServiceRegistered(AppIdText());
    if (!owned.isValid() || !owned.value())
        return std::nullopt;
    QVariantMap platform_data;
    QDBusMessage call;
    switch (request.kind) {
    case InstanceRequest::Kind::Activate:
        call = QDBusMessage::createMethodCall(AppIdText(), ObjectPathText(), kInterface,
                                              QStringLiteral("Activate"));
        call << platform_data;
        break;
    case InstanceRequest::Kind::Open: {
        QStringList uris;
        for (const std::string& file : request.files)
            uris << QUrl::fromLocalFile(QString::fromStdString(file)).toString(QUrl::FullyEncoded);
        if (request.enqueue)
            platform_data.insert(QLatin1String(kEnqueueKey), true);
        call = QDBusMessage::createMethodCall(AppIdText(), ObjectPathText(), kInterface,
                                              QStringLiteral("Open"));
        call << uris << platform_data;
        break;
    }
    case InstanceRequest::Kind::Action:
        call = QDBusMessage::createMethodCall(AppIdText(), ObjectPathText(), kInterface,
                                              QStringLiteral("ActivateAction"));
        call << QString::fromStdString(request.action) << QVariantList() << platform_data;
        break;
    }
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace vd::instance
