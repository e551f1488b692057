#pragma once

#include <QString>

#include <chrono>

// The marketplace's order service: the seller's pending orders as one XML document.
inline const QString kOrderServiceAddress =
    QStringLiteral("http://pedidos.tarvelo.com.br/servico/oc/download?token=3b9e1f7a0c5d4e28b6a1f90d7c3e5a2b8d4f6c01");

// Bounds that keep a slow, silent or oversized answer from holding the run or its
// memory indefinitely. The defaults are the program's.
struct DownloadLimits {
    std::chrono::milliseconds connectTimeout{std::chrono::seconds(30)};
    // For each wait on the server, to take the request or to send more of its answer.
    std::chrono::milliseconds waitTimeout{std::chrono::seconds(60)};
    qsizetype maxBodySize = qsizetype(1) << 30;
};

// Fetches the address with one HTTP GET and stores the body of a success response
// in the target file, byte for byte. An "https://" address is fetched over TLS with
// the same request and the same response rules. True when stored; false on every
// failure, which logs nothing and leaves an existing target file as it was. `reason`,
// when given, then receives why, a few English words for the caller's log line:
//   "invalid address", "name not resolved", "connect timed out",
//   "connect failed: Connection refused" (any "connect", "send" or "receive" step
//   fails with the system's description, or times out: "receive timed out"),
//   the TLS session's reasons ("certificate verify failed: hostname mismatch",
//   "TLS handshake failed: wrong version number", ...: see TlsConnection.h),
//   the response reader's reasons ("HTTP status 503", "redirect to <location>",
//   "body cut short", "body too large", ...),
//   "the received file could not be written: Disk full" (or another input/output
//   message), "out of memory".
bool recebearquivo(const QString& address, const QString& targetPath, QString* reason = nullptr,
                   const DownloadLimits& limits = {});
