#include "TlsConnection.h"

#include "Error.h"

#include <openssl/err.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <climits>

namespace {

// OpenSSL's first reason in the thread's queue, which is emptied.
QString queuedReason(const QString& fallback)
{
    const char* reason = ERR_reason_error_string(ERR_peek_error());
    ERR_clear_error();
    return reason != nullptr ? QString::fromUtf8(reason) : fallback;
}

// The calls that prepare a session or fill its buffers fail only when memory runs out.
void requireDone(bool done)
{
    if (!done)
        throw Error(QStringLiteral("TLS failed: ") + queuedReason(QStringLiteral("out of memory")));
}

SslContextOwner clientContext()
{
    SslContextOwner context(SSL_CTX_new(TLS_client_method()));
    requireDone(context && SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION) == 1
                 && SSL_CTX_set_default_verify_paths(context.get()) == 1);
    SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, nullptr);
    return context;
}

bool isIpv4Address(const QByteArray& host)
{
    in_addr address{};
    return ::inet_pton(AF_INET, host.constData(), &address) == 1;
}

// The certificate must name the host; a name also goes into the handshake, for a server
// that holds certificates for several names. An address is never sent there.
void expectHost(SSL* session, const QByteArray& host)
{
    requireDone(isIpv4Address(host) ? X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(session), host.constData()) == 1
                                     : SSL_ctrl(session, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                                                const_cast<char*>(host.constData()))
                                               == 1
                                           && SSL_set1_host(session, host.constData()) == 1);
    SSL_set_hostflags(session, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
}

BioOwner memoryBuffer()
{
    BioOwner buffer(BIO_new(BIO_s_mem()));
    requireDone(buffer != nullptr);
    return buffer;
}

} // namespace

TlsConnection::TlsConnection(TcpConnection transport, const QByteArray& host)
    : transport_(std::move(transport))
    , session_(SSL_new(clientContext().get()))
{
    requireDone(session_ != nullptr);
    expectHost(session_.get(), host);
    // The session reads and writes memory; this object carries the records over the
    // connection, so that every wait is the connection's own.
    BioOwner received = memoryBuffer();
    BioOwner toSend = memoryBuffer();
    received_ = received.get();
    toSend_ = toSend.get();
    SSL_set_bio(session_.get(), received.release(), toSend.release());
    SSL_set_connect_state(session_.get());
    if (drive("handshake", [this] { return SSL_do_handshake(session_.get()); }) == 0)
        throw Error(QStringLiteral("TLS handshake failed: the server ended the session"));
}

void TlsConnection::sendAll(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const int count = static_cast<int>(std::min<qsizetype>(bytes.size(), INT_MAX));
        const int written = drive("send", [&] { return SSL_write(session_.get(), bytes.data(), count); });
        if (written == 0)
            throw Error(QStringLiteral("TLS send failed: the server ended the session"));
        bytes = bytes.sliced(written);
    }
}

std::size_t TlsConnection::read(std::span<char> buffer)
{
    const int count = static_cast<int>(std::min<std::size_t>(buffer.size(), INT_MAX));
    return static_cast<std::size_t>(drive("receive", [&] { return SSL_read(session_.get(), buffer.data(), count); }));
}

template <typename Operation>
int TlsConnection::drive(const char* step, Operation operation)
{
    while (true) {
        ERR_clear_error();
        const int result = operation();
        const int error = SSL_get_error(session_.get(), result);
        if (result <= 0 && error != SSL_ERROR_WANT_READ && error != SSL_ERROR_ZERO_RETURN)
            throw Error(failureReason(step, error));
        sendRecords();
        if (result > 0)
            return result;
        if (error == SSL_ERROR_ZERO_RETURN)
            return 0;
        receiveRecords(step);
    }
}

void TlsConnection::sendRecords()
{
    char* records = nullptr;
    const long size = BIO_get_mem_data(toSend_, &records);
    if (size <= 0)
        return;
    transport_.sendAll(QByteArrayView(records, size));
    (void)BIO_reset(toSend_);
}

void TlsConnection::receiveRecords(const char* step)
{
    // Once the connection has ended, the session reads the end of its input and fails;
    // asking the connection again would never end.
    if (transportEnded_)
        throw Error(QStringLiteral("TLS %1 failed: the connection ended").arg(QLatin1StringView(step)));
    std::array<char, 16 * 1024> records;
    const std::size_t received = transport_.read(records);
    if (received == 0) {
        transportEnded_ = true;
        BIO_set_mem_eof_return(received_, 0);
        return;
    }
    requireDone(BIO_write(received_, records.data(), static_cast<int>(received)) == static_cast<int>(received));
}

QString TlsConnection::failureReason(const char* step, int sslError) const
{
    const QString reason = queuedReason(QStringLiteral("SSL error %1").arg(sslError));
    const long verification = SSL_get_verify_result(session_.get());
    if (verification != X509_V_OK) {
        const char* verificationError = X509_verify_cert_error_string(verification);
        return QStringLiteral("certificate verify failed: ") + QString::fromUtf8(verificationError);
    }
    return QStringLiteral("TLS %1 failed: %2").arg(QLatin1StringView(step), reason);
}
