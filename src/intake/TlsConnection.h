#pragma once

#include "ByteSource.h"
#include "OpenSslOwners.h"
#include "TcpConnection.h"

#include <QByteArray>

// The client's side of a TLS session over a TCP connection, which it owns. The server's
// certificate must chain to a certificate the system trusts (OpenSSL's default
// locations, so SSL_CERT_FILE and SSL_CERT_DIR apply as for any OpenSSL program) and
// name the host; TLS 1.2 or later; the host name is sent in the handshake unless it is
// an IPv4 address. The bytes travel through the TCP connection, so every wait has its
// limit and its reasons ("receive timed out", "send failed: ..."). A failure of the
// session itself is an Error whose message is the reason for the log of the run:
//   "certificate verify failed: <OpenSSL's verification error>"
//       ("unable to get local issuer certificate", "hostname mismatch", ...)
//   "TLS <step> failed: <OpenSSL's reason>", the step being "handshake", "send" or
//       "receive" ("wrong version number", "unexpected eof while reading", ...)
// A server that closes the connection without ending the session first (close_notify)
// fails the read: such an end may be a cut made by someone else on the way.
class TlsConnection final : public ByteSource {
public:
    // Performs the handshake.
    TlsConnection(TcpConnection transport, const QByteArray& host);

    void sendAll(QByteArrayView bytes);
    // 0 once the server has ended the session.
    std::size_t read(std::span<char> buffer) override;

private:
    // Runs one TLS operation to its end, moving records between the session and the
    // TCP connection as it asks; gives the operation's positive result, or 0 when the
    // server has ended the session.
    template <typename Operation>
    int drive(const char* step, Operation operation);
    void sendRecords();
    void receiveRecords(const char* step);
    QString failureReason(const char* step, int sslError) const;

    TcpConnection transport_;
    SslOwner session_;
    BIO* received_ = nullptr;   // owned by the session: records received, for it to read
    BIO* toSend_ = nullptr;     // owned by the session: records it wrote, to be sent
    bool transportEnded_ = false;
};
