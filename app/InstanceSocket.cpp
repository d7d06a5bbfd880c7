// The running player on a local socket, where no session bus is there to carry the requests.
// Plain Unix sockets watched by the event loop: Qt's network library, with the Kerberos and proxy
// libraries it pulls in, would map about 1 MB for these few bytes.
#include "app/InstanceChannels.h"
#include "app/InstanceMessage.h"
#include "base/FileDescriptor.h"
#include "framework/Application.h"

#include <QByteArray>
#include <QDataStream>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace vd::instance {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 5000;
constexpr char kTaken = '1'; // the running player's answer

using Fd = FileDescriptor;

// The address of `path`; false when it does not fit.
bool AddressOf(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Waits up to `timeout_ms` for `events` on `fd`; false on timeout or error.
bool WaitFor(int fd, short events, int timeout_ms) {
    pollfd watched{fd, events, 0};
    int ready = 0;
    do {
        ready = ::poll(&watched, 1, timeout_ms);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

// A connected socket to `path`, or none when nobody listens there.
Fd Connect(const std::string& path) {
    sockaddr_un address{};
    if (!AddressOf(path, address))
        return {};
    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.IsOpen())
        return {};
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if ((errno == EINPROGRESS || errno == EAGAIN) &&
        WaitFor(fd.Get(), POLLOUT, kConnectTimeoutMs)) {
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
            return fd;
    }
    return {};
}

// Writes all of `bytes`, waiting up to `timeout_ms` each time the socket is full.
bool WriteAll(int fd, const char* bytes, std::size_t size, int timeout_ms) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (sent > 0) {
            bytes += sent;
            size -= static_cast<std::size_t>(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd, POLLOUT, timeout_ms))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

class SocketServer final : public InstanceServer {
public:
    SocketServer(std::string path, Fd listening)
        : path_(std::move(path)), listening_(std::move(listening)),
          accept_(listening_.Get(), QSocketNotifier::Read) {
        QObject::connect(&accept_, &QSocketNotifier::activated, [this] { Accept(); });
    }
    ~SocketServer() override { ::unlink(path_.c_str()); }
    SocketServer(const SocketServer&) = delete;
    SocketServer& operator=(const SocketServer&) = delete;

    void SetHandler(Handler handler) override { handler_ = std::move(handler); }
    [[nodiscard]] std::string Where() const override { return path_; }

private:
    // One sender: what it wrote so far, until a whole message is there.
    struct Client {
        Fd fd;
        QByteArray received;
        std::unique_ptr<QSocketNotifier> readable;
    };

    // GUI thread.
    void Accept() {
        for (;;) {
            Fd fd(::accept4(listening_.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
            if (!fd.IsOpen())
                return;
            const int key = fd.Get();
            auto client = std::make_unique<Client>();
            client->fd = std::move(fd);
            client->readable = std::make_unique<QSocketNotifier>(key, QSocketNotifier::Read);
            QObject::connect(client->readable.get(), &QSocketNotifier::activated,
                             [this, key] { Read(key); });
            clients_[key] = std::move(client);
        }
    }

    // GUI thread. Reads what is there; a whole message is answered and handed on, after which
    // (or after anything that is not a request) the sender is let go.
    void Read(int key) {
        const auto found = clients_.find(key);
        if (found == clients_.end())
            return;
        Client& client = *found->second;
        char chunk[4096];
        bool closed = false;
        for (;;) {
            const ssize_t got = ::recv(key, chunk, sizeof chunk, 0);
            if (got > 0) {
                client.received.append(chunk, got);
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            closed = got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
            break;
        }
        QDataStream in(client.received);
        const ReadMessage message = ReadInstanceMessage(in);
        if (message.state == ReadMessage::State::Incomplete && !closed)
            return; // the rest is still on its way
        if (message.state == ReadMessage::State::Complete) {
            (void)WriteAll(key, &kTaken, 1, kConnectTimeoutMs);
            if (handler_) {
                Handler handler = handler_;
                TApplication::Post([handler, request = message.request] { handler(request); });
            }
        }
        // Let go; the notifier that is calling goes once it has returned.
        client.readable->setEnabled(false);
        client.readable.release()->deleteLater();
        clients_.erase(found);
    }

    std::string path_;
    Fd listening_;
    QSocketNotifier accept_;
    std::map<int, std::unique_ptr<Client>> clients_;
    Handler handler_;
};

} // namespace

std::unique_ptr<InstanceServer> ClaimSocket(const std::string& path) {
    if (Connect(path).IsOpen())
        return nullptr; // a player answers there
    // Nobody listens: whatever is left at the path is a dead player's.
    ::unlink(path.c_str());
    sockaddr_un address{};
    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    // Only this user may write to the player.
    const mode_t old_mask = ::umask(0077);
    const bool bound =
        fd.IsOpen() && AddressOf(path, address) &&
        ::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(old_mask);
    if (!bound || ::listen(fd.Get(), SOMAXCONN) != 0) {
        std::fprintf(stderr, "vodezaru: later starts cannot reach this player through %s\n",
                     path.c_str());
        return nullptr;
    }
    return std::make_unique<SocketServer>(path, std::move(fd));
}

std::optional<bool> SendOnSocket(const std::string& path, const InstanceRequest& request) {
    const Fd fd = Connect(path);
    if (!fd.IsOpen())
        return std::nullopt;
    const QByteArray message = EncodeMessage(request);
    if (!WriteAll(fd.Get(), message.constData(), static_cast<std::size_t>(message.size()),
                  kAnswerTimeoutMs))
        return false;
    for (;;) {
        if (!WaitFor(fd.Get(), POLLIN, kAnswerTimeoutMs))
            return false;
        char answer = 0;
        const ssize_t got = ::recv(fd.Get(), &answer, 1, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        return got == 1 && answer == kTaken;
    }
}

} // namespace vd::instance
