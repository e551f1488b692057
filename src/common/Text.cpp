#include "Text.h"

namespace {

bool isTrimmable(QChar c)
{
    return c.unicode() <= 32;
}

} // namespace

QString trimmed(const QString& text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && isTrimmable(text[first]))
        ++first;
    while (end > first && isTrimmable(text[end - 1]))
        --end;
    return text.mid(first, end - first);
}
