#include "OrderDownload.h"

#include "FileReplacement.h"
#include "HttpResponseReader.h"
#include "ServiceAddress.h"
#include "TcpConnection.h"

#include <new>
#include <optional>

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

// The connection lives only inside this call, so it is closed before anything is stored.
std::optional<QByteArray> downloadBody(const QString& addressText, const DownloadLimits& limits)
{
    const auto address = parseServiceAddress(addressText);
    if (!address)
        return std::nullopt;
    auto connection = TcpConnection::open(address->host, address->port, limits.connectTimeout, limits.waitTimeout);
    if (!connection || !connection->sendAll(requestHead(*address)))
        return std::nullopt;
    return readResponseBody(*connection, limits.maxBodySize);
}

} // namespace

bool recebearquivo(const QString& address, const QString& targetPath, const DownloadLimits& limits)
{
    try {
        const auto body = downloadBody(address, limits);
        // A write failure (full disk) keeps the document of the last successful download.
        return body && replaceFileContent(targetPath, *body);
    } catch (const std::bad_alloc&) {
        return false;
    }
}
