#include "BufferedReader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype kBufferSize = 64 * 1024;
// Reads for large bodies go straight into the body in blocks of this size.
constexpr qsizetype kDirectBlock = 1024 * 1024;

} // namespace

BufferedReader::BufferedReader(ByteSource& source)
    : source_(source)
    , buffer_(kBufferSize)
{
}

bool BufferedReader::fill()
{
    const auto count = static_cast<qsizetype>(source_.read(buffer_));
    start_ = 0;
    end_ = count;
    atEnd_ = count == 0;
    return !atEnd_;
}

qsizetype BufferedReader::take(qsizetype count, QByteArray& into)
{
    const qsizetype taken = std::min(count, buffered());
    into.append(buffer_.data() + start_, taken);
    start_ += taken;
    return taken;
}

bool BufferedReader::readDirectly(qsizetype count, QByteArray& into)
{
    const qsizetype before = into.size();
    into.resize(before + count);
    const auto read = static_cast<qsizetype>(source_.read({into.data() + before, static_cast<std::size_t>(count)}));
    into.resize(before + read);
    atEnd_ = read == 0;
    return !atEnd_;
}

std::optional<QByteArray> BufferedReader::readLine(qsizetype maxLength)
{
    // One byte more than the longest line may be a CR that the LF drops.
    const qsizetype longestRaw = maxLength + 1;
    QByteArray line;
    while (true) {
        const char* begin = buffer_.data() + start_;
        const auto* lineFeed = static_cast<const char*>(std::memchr(begin, '\n', static_cast<std::size_t>(buffered())));
        if (lineFeed) {
            take(lineFeed - begin, line);
            ++start_;
            if (line.endsWith('\r'))
                line.chop(1);
            if (line.size() > maxLength)
                return std::nullopt;
            return line;
        }
        take(buffered(), line);
        if (line.size() > longestRaw || !fill())
            return std::nullopt;
    }
}

bool BufferedReader::readExactly(qsizetype count, QByteArray& into)
{
    count -= take(count, into);
    while (count > 0) {
        if (count >= kBufferSize) {
            const qsizetype before = into.size();
            if (!readDirectly(std::min(count, kDirectBlock), into))
                return false;
            count -= into.size() - before;
        } else {
            if (!fill())
                return false;
            count -= take(count, into);
        }
    }
    return true;
}

bool BufferedReader::readToEnd(QByteArray& into, qsizetype maxSize)
{
    take(buffered(), into);
    while (into.size() <= maxSize) {
        // Asking for one byte beyond the limit tells a body at the limit from a larger one.
        if (!readDirectly(std::min(kDirectBlock, maxSize + 1 - into.size()), into))
            return true;
    }
    return false;
}
