#include "LogText.h"

#include <cstring>

void LogText::appendLine(const QString& text)
{
    const bool endsWithLineBreak = text_.endsWith('\n');
    if (!text_.isEmpty() && !endsWithLineBreak)
        append("\n");
    append(text.toUtf8());
    if (endsWithLineBreak)
        append("\n");
}

QString LogText::line(qsizetype index) const
{
    const qsizetype start = lineStarts_[static_cast<size_t>(index)];
    const qsizetype end = index + 1 < lineCount() ? lineStarts_[static_cast<size_t>(index + 1)] - 1 : text_.size();
    return QString::fromUtf8(text_.constData() + start, end - start);
}

void LogText::append(QByteArrayView bytes)
{
    const qsizetype offset = text_.size();
    text_.append(bytes);
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    const char* lineBreak = static_cast<const char*>(std::memchr(begin, '\n', static_cast<size_t>(end - begin)));
    while (lineBreak != nullptr) {
        lineStarts_.push_back(offset + (lineBreak - begin) + 1);
        lineBreak = static_cast<const char*>(std::memchr(lineBreak + 1, '\n', static_cast<size_t>(end - lineBreak - 1)));
    }
}
