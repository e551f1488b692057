#pragma once

#include "FileDescriptor.h"

#include <QByteArray>
#include <QString>

#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// A TCP server on 127.0.0.1 (ephemeral port) that reads each request head, records
// its exact bytes and plays one scripted answer byte for byte, then closes the
// connection; with no answer it stays silent and keeps the connection open.
class ScriptedServer {
public:
    explicit ScriptedServer(std::optional<QByteArray> answer);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    quint16 port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by the target.
    QString address(const QString& target = QStringLiteral("/servico/oc/download?token=3b9e1f7a0c5d4e28b6a1f90d7c3e5a2b8d4f6c01")) const;
    // The request heads received so far, one per connection.
    std::vector<QByteArray> requests() const;

private:
    void serve();
    // Waits for the descriptor to become readable; false once the server is stopping.
    bool waitReadable(int descriptor) const;
    void answer(const FileDescriptor& client);

    const std::optional<QByteArray> answer_;
    FileDescriptor listener_;
    FileDescriptor stopReader_;
    FileDescriptor stopWriter_;
    quint16 port_ = 0;
    mutable std::mutex mutex_;
    std::vector<QByteArray> requests_;
    std::thread thread_;
};

// A loopback port on which nothing listens: bound for a moment, then released.
quint16 closedLoopbackPort();
