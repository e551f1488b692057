#include "ScriptedServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace {

// A socket bound to 127.0.0.1 on a port chosen by the system.
FileDescriptor loopbackSocket()
{
    FileDescriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (!socket.isOpen() || ::bind(socket.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("cannot bind a loopback socket");
    return socket;
}

quint16 localPort(const FileDescriptor& socket)
{
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (::getsockname(socket.get(), reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("cannot read the port of a loopback socket");
    return ntohs(address.sin_port);
}

} // namespace

ScriptedServer::ScriptedServer(std::optional<QByteArray> answer)
    : answer_(std::move(answer))
    , listener_(loopbackSocket())
    , port_(localPort(listener_))
{
    int stopPipe[2];
    if (::listen(listener_.get(), 8) != 0 || ::pipe2(stopPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot start the test server");
    stopReader_ = FileDescriptor(stopPipe[0]);
    stopWriter_ = FileDescriptor(stopPipe[1]);
    thread_ = std::thread([this] { serve(); });
}

ScriptedServer::~ScriptedServer()
{
    const char stop = 0;
    (void)!::write(stopWriter_.get(), &stop, 1);
    thread_.join();
}

QString ScriptedServer::address(const QString& target) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(target);
}

std::vector<QByteArray> ScriptedServer::requests() const
{
    const std::lock_guard lock(mutex_);
    return requests_;
}

bool ScriptedServer::waitReadable(int descriptor) const
{
    pollfd waits[2] = {{descriptor, POLLIN, 0}, {stopReader_.get(), POLLIN, 0}};
    while (::poll(waits, 2, -1) < 0) {
        if (errno != EINTR)
            return false;
    }
    return waits[1].revents == 0;
}

void ScriptedServer::serve()
{
    while (waitReadable(listener_.get())) {
        const FileDescriptor client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (client.isOpen())
            answer(client);
    }
}

void ScriptedServer::answer(const FileDescriptor& client)
{
    QByteArray request;
    char buffer[4096];
    while (!request.contains("\r\n\r\n")) {
        if (!waitReadable(client.get()))
            return;
        const ssize_t received = ::recv(client.get(), buffer, sizeof buffer, 0);
        if (received <= 0)
            break;
        request.append(buffer, received);
    }
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    if (!answer_) {
        waitReadable(stopReader_.get());
        return;
    }
    QByteArrayView rest(*answer_);
    while (!rest.isEmpty()) {
        const ssize_t sent = ::send(client.get(), rest.data(), static_cast<std::size_t>(rest.size()), MSG_NOSIGNAL);
        if (sent <= 0)
            return;
        rest = rest.sliced(sent);
    }
}

quint16 closedLoopbackPort()
{
    return localPort(loopbackSocket());
}
