#pragma once

#include "BufferedReader.h"

#include <QByteArray>

#include <utility>
#include <vector>

// Longest line of a server's answer, without its line break.
inline constexpr qsizetype kLongestResponseLine = 16384;

// The status line and header lines of one response.
struct ResponseHead {
    int status = 0;
    // Names as sent, values without leading and trailing blanks, in arrival order.
    std::vector<std::pair<QByteArray, QByteArray>> headers;

    // The value of the first header of that name, compared without regard to case;
    // empty when there is none.
    QByteArray value(QByteArrayView name) const;
};

// Reads a status line and the header lines up to the first empty line. Fails with
// an Error carrying the reason: "response head cut short" when the stream ends
// first, "response head too long" for a line above kLongestResponseLine or an
// unreasonably large head, "malformed status line" when the status code is not a
// decimal number; a failed read fails with the source's reason.
ResponseHead readResponseHead(BufferedReader& reader);
