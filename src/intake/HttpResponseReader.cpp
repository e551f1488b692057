#include "HttpResponseReader.h"

#include "BufferedReader.h"
#include "ResponseHead.h"

#include <algorithm>
#include <limits>

namespace {

constexpr quint64 kLargest = std::numeric_limits<quint64>::max();

int digitValue(char character)
{
    if (character >= '0' && character <= '9')
        return character - '0';
    if (character >= 'a' && character <= 'f')
        return character - 'a' + 10;
    if (character >= 'A' && character <= 'F')
        return character - 'A' + 10;
    return -1;
}

// Digit values beyond what any body may hold are kept at the largest number,
// so that an absurd length fails as too large instead of wrapping round.
std::optional<quint64> parseDigits(QByteArrayView digits, int base)
{
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const char character : digits) {
        const int digit = digitValue(character);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value > (kLargest - digit) / base ? kLargest : value * base + digit;
    }
    return value;
}

// A whole number of 0 or more in "Content-Length"; nothing when absent or not one.
std::optional<quint64> contentLength(const ResponseHead& head)
{
    return parseDigits(head.value("Content-Length"), 10);
}

// The size on a chunk's first line: hexadecimal digits up to the first blank, tab or
// ";", since a chunk extension may follow the size directly; anything that is not such
// a number counts as 0, which ends the body.
quint64 chunkSize(QByteArrayView line)
{
    const auto sizeEnd = std::find_if(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t' || c == ';'; });
    return parseDigits(line.first(sizeEnd - line.begin()), 16).value_or(0);
}

bool readChunks(BufferedReader& reader, qsizetype maxBodySize, QByteArray& body)
{
    while (true) {
        const auto sizeLine = reader.readLine(kLongestResponseLine);
        if (!sizeLine)
            return false;
        const quint64 size = chunkSize(*sizeLine);
        if (size == 0) {
            // The body is complete: whatever becomes of the line after the last chunk does not change it.
            reader.readLine(kLongestResponseLine);
            return true;
        }
        if (size > static_cast<quint64>(maxBodySize - body.size()))
            return false;
        if (!reader.readExactly(static_cast<qsizetype>(size), body) || !reader.readLine(kLongestResponseLine))
            return false;
    }
}

// Reads the body by the precedence of the framing headers: a "Content-Length"
// above 0, then "chunked", then up to the close of the connection when the length
// is absent or unreadable; a "Content-Length" of 0 gives an empty body.
bool readBody(BufferedReader& reader, const ResponseHead& head, qsizetype maxBodySize, QByteArray& body)
{
    const auto length = contentLength(head);
    if (length && *length > 0) {
        if (*length > static_cast<quint64>(maxBodySize))
            return false;
        body.reserve(static_cast<qsizetype>(*length));
        return reader.readExactly(static_cast<qsizetype>(*length), body);
    }
    if (head.value("Transfer-Encoding").contains("chunked"))
        return readChunks(reader, maxBodySize, body);
    if (!length)
        return reader.readToEnd(body, maxBodySize);
    return true;
}

bool isRedirection(const ResponseHead& head)
{
    return (head.status >= 300 && head.status <= 399 && head.status != 304) || !head.value("Location").isEmpty();
}

} // namespace

std::optional<QByteArray> readResponseBody(ByteSource& source, qsizetype maxBodySize)
{
    BufferedReader reader(source);
    std::optional<ResponseHead> head;
    do {
        head = readResponseHead(reader);
        if (!head)
            return std::nullopt;
    } while (head->status == 100);

    const bool success = head->status >= 200 && head->status <= 299 && !isRedirection(*head);
    if (success && head->status == 204)
        return QByteArray();
    // A failing response is still read to its end, so the server can finish its
    // answer before the connection closes, and then discarded.
    QByteArray body;
    if (!readBody(reader, *head, maxBodySize, body) || !success)
        return std::nullopt;
    return body;
}
