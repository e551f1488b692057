#pragma once

#include "BufferedReader.h"

#include <QByteArray>

#include <optional>
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

// Reads a status line and the header lines up to the first empty line. Nothing
// when the stream ends or fails first, a line is too long, the head is
// unreasonably large, or the status code is not a decimal number.
std::optional<ResponseHead> readResponseHead(BufferedReader& reader);
