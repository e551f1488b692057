#pragma once

#include "FileDescriptor.h"
#include "OpenSslOwners.h"
#include "TestAuthority.h"

#include <QByteArray>
#include <QString>

#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// A TLS server's identity and how it ends each session.
struct TlsServing {
    const ServerIdentity& identity;
    // After the answer, the session is ended (close_notify) before the connection is
    // closed; false: the connection is simply closed, as a cut on the way would do.
    bool endsSession = true;
};

// A TCP server on 127.0.0.1 (ephemeral port), plain or TLS, that reads each request head,
// records its exact bytes and plays one scripted answer byte for byte, then closes the
// connection once the client has closed its end; with no answer it stays silent and keeps
// the connection open. A plain server answers at once what cannot be a request head (a
// TLS handshake, say), as HTTP servers answer bytes they cannot read.
class ScriptedServer {
public:
    explicit ScriptedServer(std::optional<QByteArray> answer, std::optional<TlsServing> tls = std::nullopt);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    quint16 port() const { return port_; }
    // "http://" (or "https://" for a TLS server), the host, ":<port>" and the target.
    QString address(
        const QString& target = QStringLiteral("/servico/oc/download?token=3b9e1f7a0c5d4e28b6a1f90d7c3e5a2b8d4f6c01"),
        const QString& host = QStringLiteral("127.0.0.1")) const;
    // The request heads received so far, one per connection.
    std::vector<QByteArray> requests() const;
    // The host names that TLS clients sent in their handshakes, one per session, empty
    // for a handshake without one.
    std::vector<QByteArray> serverNames() const;

private:
    void serve();
    // Waits for the descriptor to become readable; false once the server is stopping.
    bool waitReadable(int descriptor) const;
    void answer(const FileDescriptor& client);
    // The TLS session on the client's connection once its handshake has succeeded.
    SslOwner acceptSession(const FileDescriptor& client);
    // Reads until the client closes its end or the server stops, so that no byte left
    // unread makes the system reset the connection before the client has read the answer.
    void awaitClientClose(const FileDescriptor& client) const;

    const std::optional<QByteArray> answer_;
    const bool endsSession_;
    SslContextOwner tlsContext_;
    FileDescriptor listener_;
    FileDescriptor stopReader_;
    FileDescriptor stopWriter_;
    quint16 port_ = 0;
    mutable std::mutex mutex_;
    std::vector<QByteArray> requests_;
    std::vector<QByteArray> serverNames_;
    std::thread thread_;
};

// A loopback port on which nothing listens: bound for a moment, then released.
quint16 closedLoopbackPort();
