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

BufferedReader::Fill BufferedReader::fill()
{
    const auto count = source_.read(buffer_);
    if (!count)
        return Fill::Failed;
    start_ = 0;
    end_ = static_cast<qsizetype>(*count);
    return *count == 0 ? Fill::End : Fill::Data;
}

qsizetype BufferedReader::take(qsizetype count, QByteArray& into)
{
    const qsizetype taken = std::min(count, buffered());
    into.append(buffer_.data() + start_, taken);
    start_ += taken;
    return taken;
}

BufferedReader::Fill BufferedReader::readDirectly(qsizetype count, QByteArray& into)
{
    const qsizetype before = into.size();
    into.resize(before + count);
    const auto read = source_.read({into.data() + before, static_cast<std::size_t>(count)});
    into.resize(before + static_cast<qsizetype>(read.value_or(0)));
    if (!read)
        return Fill::Failed;
    return *read == 0 ? Fill::End : Fill::Data;
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
        if (line.size() > longestRaw || fill() != Fill::Data)
            return std::nullopt;
    }
}

bool BufferedReader::readExactly(qsizetype count, QByteArray& into)
{
    count -= take(count, into);
    while (count > 0) {
        if (count >= kBufferSize) {
            const qsizetype before = into.size();
            if (readDirectly(std::min(count, kDirectBlock), into) != Fill::Data)
                return false;
            count -= into.size() - before;
        } else {
            if (fill() != Fill::Data)
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
        switch (readDirectly(std::min(kDirectBlock, maxSize + 1 - into.size()), into)) {
        case Fill::Data: break;
        case Fill::End: return true;
        case Fill::Failed: return false;
        }
    }
    return false;
}
