#pragma once

#include "ByteSource.h"
#include "FileDescriptor.h"

#include <QByteArray>

#include <chrono>
#include <optional>

// A TCP connection over IPv4 on which every wait is bounded: connecting, and each
// wait for the server to take or to send data. Closed when the object goes.
class TcpConnection final : public ByteSource {
public:
    // Resolves the host through the system's resolver (IPv4 addresses only) and
    // connects to the first address that accepts within connectTimeout. Nothing
    // when the name cannot be resolved or no address accepts in time.
    static std::optional<TcpConnection> open(const QByteArray& host, quint16 port,
                                             std::chrono::milliseconds connectTimeout,
                                             std::chrono::milliseconds waitTimeout);

    // Sends all bytes; false when the connection breaks or the server stops taking
    // data for longer than the wait limit.
    bool sendAll(QByteArrayView bytes);
    // Fails when no data and no end of stream arrive within the wait limit.
    std::optional<std::size_t> read(std::span<char> buffer) override;

private:
    TcpConnection(FileDescriptor socket, std::chrono::milliseconds waitTimeout);

    FileDescriptor socket_;
    std::chrono::milliseconds waitTimeout_;
};
