#include "TcpConnection.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace {

using AddressList = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

// Waits until the socket is ready for `events` or has failed; false when the time
// runs out first. Interruptions by signals do not extend the wait.
bool waitFor(int socket, short events, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd request{socket, events, 0};
        const int ready = ::poll(&request, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(remaining.count(), 0)));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

std::optional<FileDescriptor> connectWithin(const addrinfo& address, std::chrono::milliseconds timeout)
{
    FileDescriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket.isOpen())
        return std::nullopt;
    if (::connect(socket.get(), address.ai_addr, address.ai_addrlen) == 0)
        return socket;
    if (errno != EINPROGRESS || !waitFor(socket.get(), POLLOUT, timeout))
        return std::nullopt;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
        return std::nullopt;
    return socket;
}

} // namespace

TcpConnection::TcpConnection(FileDescriptor socket, std::chrono::milliseconds waitTimeout)
    : socket_(std::move(socket))
    , waitTimeout_(waitTimeout)
{
}

std::optional<TcpConnection> TcpConnection::open(const QByteArray& host, quint16 port,
                                                 std::chrono::milliseconds connectTimeout,
                                                 std::chrono::milliseconds waitTimeout)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return std::nullopt;
    const AddressList addresses(found, &freeaddrinfo);
    for (const addrinfo* address = addresses.get(); address; address = address->ai_next) {
        if (auto socket = connectWithin(*address, connectTimeout))
            return TcpConnection(std::move(*socket), waitTimeout);
    }
    return std::nullopt;
}

bool TcpConnection::sendAll(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        // A server that has closed its end must give a failed send, not a signal that ends the program.
        const ssize_t sent = ::send(socket_.get(), bytes.data(), static_cast<std::size_t>(bytes.size()), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes = bytes.sliced(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(socket_.get(), POLLOUT, waitTimeout_))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

std::optional<std::size_t> TcpConnection::read(std::span<char> buffer)
{
    while (true) {
        if (!waitFor(socket_.get(), POLLIN, waitTimeout_))
            return std::nullopt;
        const ssize_t received = ::recv(socket_.get(), buffer.data(), buffer.size(), 0);
        if (received >= 0)
            return static_cast<std::size_t>(received);
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
            return std::nullopt;
    }
}
