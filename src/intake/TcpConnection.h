#pragma once

#include "ByteSource.h"
#include "FileDescriptor.h"

#include <QByteArray>

#include <chrono>

// A TCP connection over IPv4 on which every wait is bounded: connecting, and each
// wait for the server to take or to send data. Closed when the object goes. Every
// failure is an Error whose message is the reason for the log of the run: "name not
// resolved", "<step> timed out" or "<step> failed: <the system's description>",
// the step being "connect", "send" or "receive".
class TcpConnection final : public ByteSource {
public:
    // Resolves the host through the system's resolver (IPv4 addresses only) and
    // connects to the first address that accepts within connectTimeout; when none
    // does, the last one's failure is the reason.
    static TcpConnection open(const QByteArray& host, quint16 port, std::chrono::milliseconds connectTimeout,
                              std::chrono::milliseconds waitTimeout);

    // Sends all bytes; fails when the connection breaks or the server stops taking
    // data for longer than the wait limit.
    void sendAll(QByteArrayView bytes);
    // Fails when no data and no end of stream arrive within the wait limit.
    std::size_t read(std::span<char> buffer) override;

private:
    TcpConnection(FileDescriptor socket, std::chrono::milliseconds waitTimeout);

    FileDescriptor socket_;
    std::chrono::milliseconds waitTimeout_;
};
