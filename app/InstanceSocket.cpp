// The running player on a local socket, where no session bus is there to carry the requests.
#include "app/InstanceChannels.h"
#include "app/InstanceMessage.h"
#include "framework/Application.h"

#include <QByteArray>
#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>

#include <cstdio>

namespace vd::instance {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 5000;
constexpr char kTaken = '1'; // the running player's answer

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
        const ReadMessage message = ReadInstanceMessage(in);
        if (message.state == ReadMessage::State::Incomplete)
            return; // the rest is still on its way
        if (message.state == ReadMessage::State::Invalid) {
            socket.abort();
            return;
        }
        socket.write(&kTaken, 1);
        socket.flush();
        if (handler_) {
            Handler handler = handler_;
            TApplication::Post([handler, request = message.request] { handler(request); });
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
    socket.write(EncodeMessage(request));
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
        return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(kAnswerTimeoutMs))
            return false;
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == kTaken;
}

} // namespace vd::instance
