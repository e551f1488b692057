#include "HttpResponseReader.h"

#include "BufferedReader.h"
#include "Error.h"
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

const QString kBodyCutShort = QStringLiteral("body cut short");
const QString kBodyTooLarge = QStringLiteral("body too large");

// A line of the chunked framing.
QByteArray chunkLine(BufferedReader& reader)
{
    auto line = reader.readLine(kLongestResponseLine);
    if (!line)
        throw Error(reader.atEnd() ? kBodyCutShort : QStringLiteral("chunk line too long"));
    return *std::move(line);
}

void ensureRoom(quint64 count, qsizetype maxBodySize, const QByteArray& body)
{
    if (count > static_cast<quint64>(maxBodySize - body.size()))
        throw Error(kBodyTooLarge);
}

void readBodyBytes(BufferedReader& reader, quint64 count, QByteArray& body)
{
    if (!reader.readExactly(static_cast<qsizetype>(count), body))
        throw Error(kBodyCutShort);
}

void readChunks(BufferedReader& reader, qsizetype maxBodySize, QByteArray& body)
{
    while (true) {
        const quint64 size = chunkSize(chunkLine(reader));
        if (size == 0)
            break;
        ensureRoom(size, maxBodySize, body);
        readBodyBytes(reader, size, body);
        chunkLine(reader);
    }
    // The body is complete: whatever becomes of the line after the last chunk does not change it.
    try {
        reader.readLine(kLongestResponseLine);
    } catch (const Error&) {
    }
}

// Reads the body by the precedence of the framing headers: a "Content-Length"
// above 0, then "chunked", then up to the close of the connection when the length
// is absent or unreadable; a "Content-Length" of 0 gives an empty body.
void readBody(BufferedReader& reader, const ResponseHead& head, qsizetype maxBodySize, QByteArray& body)
{
    const auto length = contentLength(head);
    if (length && *length > 0) {
        ensureRoom(*length, maxBodySize, body);
        body.reserve(static_cast<qsizetype>(*length));
        readBodyBytes(reader, *length, body);
    } else if (head.value("Transfer-Encoding").contains("chunked")) {
        readChunks(reader, maxBodySize, body);
    } else if (!length && !reader.readToEnd(body, maxBodySize)) {
        throw Error(kBodyTooLarge);
    }
}

// Server text in a reason: one log line of a reasonable length, whatever was sent.
QString serverText(QByteArrayView text)
{
    constexpr qsizetype kLongest = 200;
    QString shown = QString::fromLatin1(text.first(std::min(text.size(), kLongest)));
    std::replace_if(shown.begin(), shown.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }, u'?');
    return text.size() > kLongest ? shown + QStringLiteral("...") : shown;
}

// Why the response is no success; nothing when it is one.
std::optional<QString> statusFailure(const ResponseHead& head)
{
    const QByteArray location = head.value("Location");
    // A location's query may carry the service's token (a move to "https://" keeps it),
    // and the reason reaches the log: the query is left out.
    const qsizetype query = location.indexOf('?');
    if (query >= 0)
        return QStringLiteral("redirect to %1 (query left out)").arg(serverText(QByteArrayView(location).first(query)));
    if (!location.isEmpty())
        return QStringLiteral("redirect to ") + serverText(location);
    if (head.status < 200 || head.status > 299)
        return QStringLiteral("HTTP status %1").arg(head.status);
    return std::nullopt;
}

QByteArray readSuccessBody(ByteSource& source, qsizetype maxBodySize)
{
    BufferedReader reader(source);
    ResponseHead head;
    do {
        head = readResponseHead(reader);
    } while (head.status == 100);

    QByteArray body;
    if (const auto failure = statusFailure(head)) {
        // A failing response is still read to its end, so the server can finish its
        // answer before the connection closes; how that ends does not change why it failed.
        try {
            readBody(reader, head, maxBodySize, body);
        } catch (const Error&) {
        }
        throw Error(*failure);
    }
    if (head.status != 204)
        readBody(reader, head, maxBodySize, body);
    return body;
}

} // namespace

std::optional<QByteArray> readResponseBody(ByteSource& source, qsizetype maxBodySize, QString* reason)
{
    try {
        return readSuccessBody(source, maxBodySize);
    } catch (const Error& failure) {
        if (reason != nullptr)
            *reason = failure.message();
        return std::nullopt;
    }
}
