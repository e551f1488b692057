#include "OrderDownload.h"

#include "Error.h"
#include "FileReplacement.h"
#include "HttpResponseReader.h"
#include "ServiceAddress.h"
#include "TcpConnection.h"
#include "TlsConnection.h"

#include <new>

namespace {

QByteArray requestHead(const ServiceAddress& address)
{
    return "GET " + address.target + " HTTP/1.1\r\n"
           "Host: " + address.host + "\r\n"
           "Accept: text/html, */*\r\n"
           "Accept-Encoding: identity\r\n"
           "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
           "\r\n";
}

// The same request and the same response rules over either kind of connection.
template <typename Connection>
QByteArray exchange(Connection& connection, const ServiceAddress& address, qsizetype maxBodySize)
{
    connection.sendAll(requestHead(address));
    QString reason;
    auto body = readResponseBody(connection, maxBodySize, &reason);
    if (!body)
        throw Error(reason);
    return *std::move(body);
}

// The connection lives only inside this call, so it is closed before anything is stored.
QByteArray downloadBody(const QString& addressText, const DownloadLimits& limits)
{
    const auto address = parseServiceAddress(addressText);
    if (!address)
        throw Error(QStringLiteral("invalid address"));
    TcpConnection connection = TcpConnection::open(address->host, address->port, limits.connectTimeout, limits.waitTimeout);
    if (!address->encrypted)
        return exchange(connection, *address, limits.maxBodySize);
    TlsConnection session(std::move(connection), address->host);
    return exchange(session, *address, limits.maxBodySize);
}

// A write failure (full disk) keeps the document of the last successful download.
void store(const QString& targetPath, const QByteArray& body)
{
    QString reason;
    if (!replaceFileContent(targetPath, body, &reason))
        throw Error(QStringLiteral("the received file could not be written: ") + reason);
}

} // namespace

bool recebearquivo(const QString& address, const QString& targetPath, QString* reason, const DownloadLimits& limits)
{
    try {
        store(targetPath, downloadBody(address, limits));
        return true;
    } catch (const Error& failure) {
        if (reason != nullptr)
            *reason = failure.message();
    } catch (const std::bad_alloc&) {
        if (reason != nullptr)
            *reason = QStringLiteral("out of memory");
    }
    return false;
}
