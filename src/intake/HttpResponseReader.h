#pragma once

#include "ByteSource.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Reads one HTTP response to the order request and gives the body of a success
// response, or nothing when the exchange fails. `reason`, when given, then receives
// why, a few English words for the log of the run:
//   "redirect to <location>"    a response with a location, never followed; a
//                               location with a query reads "redirect to <location
//                               up to its query> (query left out)"
//   "HTTP status <code>"        any other status outside 200-299, a redirection
//                               status without a location included
//   "malformed status line"     no decimal status code
//   "response head too long"    a head line above 16384 characters, or a head
//                               beyond any reasonable size
//   "response head cut short"   the stream ended inside the head
//   "body cut short"            the stream ended before the body was complete
//   "body too large"            a body larger than maxBodySize
//   "chunk line too long"       a line of the chunked framing above 16384 characters
//   the source's own reason     a read that failed ("receive timed out", ...)
std::optional<QByteArray> readResponseBody(ByteSource& source, qsizetype maxBodySize, QString* reason = nullptr);
