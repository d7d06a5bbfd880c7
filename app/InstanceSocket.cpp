// The running player on a local socket, where no session bus is there to carry the requests.
#include "app/InstanceChannels.h"
#include "framework/Application.h"

#include <QByteArray>
#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStringList>

#include <cstdio>

namespace vd::instance {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 5000;
constexpr char kTaken = '1'; // the running player's answer

// One request: kind, enqueue flag, action and files, as a list of texts.
QStringList Encode(const InstanceRequest& request) {
    QStringList words{QString::number(static_cast<int>(request.kind)),
                      request.enqueue ? QStringLiteral("1") : QStringLiteral("0"),
                      QString::fromStdString(request.action)};
    for (const std::string& file : request.files)
        words << QString::fromStdString(file);
    return words;
}

std::optional<InstanceRequest> Decode(const QStringList& words) {
    if (words.size() < 3)
        return std::nullopt;
    bool ok = false;
    const int kind = words[0].toInt(&ok);
    if (!ok || kind < 0 || kind > static_cast<int>(InstanceRequest::Kind::Action))
        return std::nullopt;
    InstanceRequest request;
    request.kind = static_cast<InstanceRequest::Kind>(kind);
    request.enqueue = words[1] == QLatin1String("1");
    request.action = words[2].toStdString();
    for (qsizetype i = 3; i < words.size(); ++i)
        request.files.push_back(words[i].toStdString());
    return request;
}

class SocketServer final : public InstanceServer {
public:
    explicit SocketServer(std::string path) : path_(std::move(path)) {
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { Accept(); });
    }
    ~SocketServer() override { server_.close(); }
    bool Listen() { return server_.listen(QString::fromStdString(path_)); }
    void SetHandler(Handler handler) override { handler_ = std::move(handler); }
    [[nodiscard]] std::string Where() const override { return path_; }

private:
    // GUI thread.
    void Accept() {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket,
                             [this, socket] { Read(*socket); });
            if (socket->bytesAvailable() > 0)
                Read(*socket);
        }
    }
    void Read(QLocalSocket& socket) {
        QDataStream in(&socket);
        in.startTransaction();
        QStringList words;
        in >> words;
        if (!in.commitTransaction())
            return; // the rest is still on its way
        const std::optional<InstanceRequest> request = Decode(words);
        if (!request) {
            socket.abort();
            return;
        }
        socket.write(&kTaken, 1);
        socket.flush();
        if (handler_) {
            Handler handler = handler_;
            TApplication::Post([handler, request = *request] { handler(request); });
        }
    }

    std::string path_;
    QLocalServer server_;
    Handler handler_;
};

} // namespace

std::unique_ptr<InstanceServer> ClaimSocket(const std::string& path) {
    {
        QLocalSocket probe;
        probe.connectToServer(QString::fromStdString(path));
        if (probe.waitForConnected(kConnectTimeoutMs))
            return nullptr; // a player answers there
    }
    // Nobody listens: whatever is left at the path is a dead player's.
    QLocalServer::removeServer(QString::fromStdString(path));
    auto server = std::make_unique<SocketServer>(path);
    if (!server->Listen()) {
        std::fprintf(stderr, "vodezaru: later starts cannot reach this player through %s\n",
                     path.c_str());
        return nullptr;
    }
    return server;
}

std::optional<bool> SendOnSocket(const std::string& path, const InstanceRequest& request) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(path));
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return std::nullopt;
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << Encode(request);
    }
    socket.write(bytes);
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
        return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(kAnswerTimeoutMs))
            return false;
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == kTaken;
}

} // namespace vd::instance
