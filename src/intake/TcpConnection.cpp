#include "TcpConnection.h"

#include "Error.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace {

using AddressList = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

// The system's description is taken untranslated, as the program's other error texts are English.
[[noreturn]] void failWithSystemError(const char* step, int error)
{
    const char* description = ::strerrordesc_np(error);
    throw Error(QStringLiteral("%1 failed: %2")
                    .arg(QLatin1StringView(step),
                         description != nullptr ? QString::fromUtf8(description) : QStringLiteral("error %1").arg(error)));
}

// Waits until the socket is ready for `events` or has failed; fails as the step timed
// out when the time runs out first. Interruptions by signals do not extend the wait.
void waitFor(int socket, short events, std::chrono::milliseconds timeout, const char* step)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd request{socket, events, 0};
        const int ready = ::poll(&request, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(remaining.count(), 0)));
        if (ready > 0)
            return;
        if (ready == 0)
            throw Error(QStringLiteral("%1 timed out").arg(QLatin1StringView(step)));
        if (errno != EINTR)
            failWithSystemError(step, errno);
    }
}

FileDescriptor connectWithin(const addrinfo& address, std::chrono::milliseconds timeout)
{
    FileDescriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket.isOpen())
        failWithSystemError("connect", errno);
    if (::connect(socket.get(), address.ai_addr, address.ai_addrlen) == 0)
        return socket;
    if (errno != EINPROGRESS)
        failWithSystemError("connect", errno);
    waitFor(socket.get(), POLLOUT, timeout, "connect");
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        failWithSystemError("connect", errno);
    if (error != 0)
        failWithSystemError("connect", error);
    return socket;
}

} // namespace

TcpConnection::TcpConnection(FileDescriptor socket, std::chrono::milliseconds waitTimeout)
    : socket_(std::move(socket))
    , waitTimeout_(waitTimeout)
{
}

TcpConnection TcpConnection::open(const QByteArray& host, quint16 port, std::chrono::milliseconds connectTimeout,
                                  std::chrono::milliseconds waitTimeout)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        throw Error(QStringLiteral("name not resolved"));
    const AddressList addresses(found, &freeaddrinfo);
    for (const addrinfo* address = addresses.get();; address = address->ai_next) {
        try {
            return TcpConnection(connectWithin(*address, connectTimeout), waitTimeout);
        } catch (const Error&) {
            if (address->ai_next == nullptr)
                throw;
        }
    }
}

void TcpConnection::sendAll(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        // A server that has closed its end must give a failed send, not a signal that ends the program.
        const ssize_t sent = ::send(socket_.get(), bytes.data(), static_cast<std::size_t>(bytes.size()), MSG_NOSIGNAL);
        if (sent > 0)
            bytes = bytes.sliced(sent);
        else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            waitFor(socket_.get(), POLLOUT, waitTimeout_, "send");
        else if (sent < 0 && errno != EINTR)
            failWithSystemError("send", errno);
    }
}

std::size_t TcpConnection::read(std::span<char> buffer)
{
    while (true) {
        waitFor(socket_.get(), POLLIN, waitTimeout_, "receive");
        const ssize_t received = ::recv(socket_.get(), buffer.data(), buffer.size(), 0);
        if (received >= 0)
            return static_cast<std::size_t>(received);
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
            failWithSystemError("receive", errno);
    }
}
