#include "StatusVector.h"

#include "Error.h"
#include "Windows1252.h"

#include <QStringList>

#include <array>
#include <cstring>

void StatusVector::throwIfFailed() const
{
    if (failed())
        throw Error(errorText());
}

QString StatusVector::errorText() const
{
    const ISC_STATUS* cursor = status_;
    std::array<char, 1024> line{};
    QStringList lines;
    while (api_.fb_interpret(line.data(), line.size(), &cursor) > 0)
        lines << fromWindows1252(line.data(), static_cast<qsizetype>(std::strlen(line.data())));
    QString text = lines.join(QStringLiteral("\r\n"));
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}
