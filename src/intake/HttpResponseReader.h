#pragma once

#include "ByteSource.h"

#include <QByteArray>

#include <optional>

// Reads one HTTP response to the order request and gives the body of a success
// response, or nothing when the exchange fails: malformed head, a line too long,
// a redirection (never followed), a status outside 200-299, a body cut short or
// larger than maxBodySize, a stream that fails.
std::optional<QByteArray> readResponseBody(ByteSource& source, qsizetype maxBodySize);
