#include "ScriptedServer.h"

#include <openssl/err.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
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

SslContextOwner serverContext(const std::optional<TlsServing>& tls)
{
    if (!tls)
        return nullptr;
    SslContextOwner context(SSL_CTX_new(TLS_server_method()));
    if (!context || SSL_CTX_use_certificate(context.get(), tls->identity.certificate.get()) != 1
        || SSL_CTX_use_PrivateKey(context.get(), tls->identity.key.get()) != 1)
        throw std::runtime_error("cannot set up the TLS test server");
    return context;
}

// The first byte of a request head is a letter of its method; anything else cannot start one.
bool isCompleteRequest(const QByteArray& received)
{
    return received.contains("\r\n\r\n") || (!received.isEmpty() && (received[0] < 0x20 || received[0] == 0x7f));
}

// A connection's bytes, through its TLS session when it has one.
class Channel {
public:
    Channel(int socket, SSL* session) : socket_(socket), session_(session) {}

    // Bytes the session has received and decrypted already, which the socket no longer shows.
    bool holdsBytes() const { return session_ != nullptr && SSL_pending(session_) > 0; }
    long receive(char* buffer, int size) const
    {
        if (session_ != nullptr)
            return SSL_read(session_, buffer, size);
        return ::recv(socket_, buffer, static_cast<std::size_t>(size), 0);
    }
    bool sendAll(QByteArrayView bytes) const
    {
        if (session_ != nullptr)
            return bytes.isEmpty() || SSL_write(session_, bytes.data(), static_cast<int>(bytes.size())) > 0;
        while (!bytes.isEmpty()) {
            const ssize_t sent = ::send(socket_, bytes.data(), static_cast<std::size_t>(bytes.size()), MSG_NOSIGNAL);
            if (sent <= 0)
                return false;
            bytes = bytes.sliced(sent);
        }
        return true;
    }

private:
    int socket_;
    SSL* session_;
};

} // namespace

ScriptedServer::ScriptedServer(std::optional<QByteArray> answer, std::optional<TlsServing> tls)
    : answer_(std::move(answer))
    , endsSession_(!tls || tls->endsSession)
    , tlsContext_(serverContext(tls))
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

QString ScriptedServer::address(const QString& target, const QString& host) const
{
    const QString scheme = tlsContext_ ? QStringLiteral("https") : QStringLiteral("http");
    return QStringLiteral("%1://%2:%3%4").arg(scheme, host).arg(port_).arg(target);
}

std::vector<QByteArray> ScriptedServer::requests() const
{
    const std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<QByteArray> ScriptedServer::serverNames() const
{
    const std::lock_guard lock(mutex_);
    return serverNames_;
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
    // OpenSSL writes to the socket without asking the system to spare the process the
    // signal of a connection the client has closed: this thread takes it as a failed write.
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &brokenPipe, nullptr);
    while (waitReadable(listener_.get())) {
        const FileDescriptor client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (client.isOpen())
            answer(client);
    }
}

void ScriptedServer::answer(const FileDescriptor& client)
{
    SslOwner session;
    if (tlsContext_) {
        session = acceptSession(client);
        if (!session)
            return;
    }
    const Channel channel(client.get(), session.get());
    QByteArray request;
    char buffer[4096];
    while (!isCompleteRequest(request)) {
        if (!channel.holdsBytes() && !waitReadable(client.get()))
            return;
        const long received = channel.receive(buffer, sizeof buffer);
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
    if (!channel.sendAll(*answer_))
        return;
    if (session && endsSession_)
        SSL_shutdown(session.get());
    awaitClientClose(client);
}

SslOwner ScriptedServer::acceptSession(const FileDescriptor& client)
{
    // The handshake waits for the client without regard to the server's end: it starts
    // only once the client has sent its first bytes.
    if (!waitReadable(client.get()))
        return nullptr;
    SslOwner session(SSL_new(tlsContext_.get()));
    if (!session || SSL_set_fd(session.get(), client.get()) != 1 || SSL_accept(session.get()) != 1) {
        ERR_clear_error();
        return nullptr;
    }
    const char* serverName = SSL_get_servername(session.get(), TLSEXT_NAMETYPE_host_name);
    const std::lock_guard lock(mutex_);
    serverNames_.emplace_back(serverName != nullptr ? serverName : "");
    return session;
}

void ScriptedServer::awaitClientClose(const FileDescriptor& client) const
{
    ::shutdown(client.get(), SHUT_WR);
    char buffer[4096];
    while (waitReadable(client.get()) && ::recv(client.get(), buffer, sizeof buffer, 0) > 0) {
    }
}

quint16 closedLoopbackPort()
{
    return localPort(loopbackSocket());
}
