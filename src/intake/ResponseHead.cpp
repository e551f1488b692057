#include "ResponseHead.h"

#include "Error.h"

#include <QList>

#include <algorithm>
#include <optional>

namespace {

// A server that keeps sending header lines cannot make the head grow without bound.
constexpr qsizetype kLargestHead = 1024 * 1024;

bool isBlank(char character)
{
    return character == ' ' || character == '\t';
}

QByteArray withoutBlanksAround(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text.toByteArray();
}

bool isDecimal(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The second blank-separated field of the status line.
std::optional<int> statusCode(const QByteArray& statusLine)
{
    const QList<QByteArray> fields = statusLine.split(' ');
    int seen = 0;
    for (const QByteArray& field : fields) {
        if (field.isEmpty() || ++seen < 2)
            continue;
        // Nine digits always fit an int; longer codes are no status anyway.
        if (!isDecimal(field) || field.size() > 9)
            return std::nullopt;
        return field.toInt();
    }
    return std::nullopt;
}

const QString kHeadTooLong = QStringLiteral("response head too long");

QByteArray headLine(BufferedReader& reader)
{
    auto line = reader.readLine(kLongestResponseLine);
    if (!line)
        throw Error(reader.atEnd() ? QStringLiteral("response head cut short") : kHeadTooLong);
    return *std::move(line);
}

} // namespace

QByteArray ResponseHead::value(QByteArrayView name) const
{
    for (const auto& [headerName, headerValue] : headers) {
        if (headerName.compare(name, Qt::CaseInsensitive) == 0)
            return headerValue;
    }
    return {};
}

ResponseHead readResponseHead(BufferedReader& reader)
{
    const QByteArray statusLine = headLine(reader);
    ResponseHead head;
    const auto status = statusCode(statusLine);
    if (!status)
        throw Error(QStringLiteral("malformed status line"));
    head.status = *status;

    qsizetype headSize = statusLine.size();
    while (true) {
        const QByteArray line = headLine(reader);
        headSize += line.size();
        if (headSize > kLargestHead)
            throw Error(kHeadTooLong);
        if (line.isEmpty())
            return head;
        if (isBlank(line.front())) {
            if (!head.headers.empty()) {
                QByteArray& value = head.headers.back().second;
                value = withoutBlanksAround(value + ' ' + withoutBlanksAround(line));
            }
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        head.headers.emplace_back(withoutBlanksAround(QByteArrayView(line).first(colon)),
                                  withoutBlanksAround(QByteArrayView(line).sliced(colon + 1)));
    }
}
