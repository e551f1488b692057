#include "StatusVector.h"

#include "DatabaseError.h"
#include "Windows1252.h"

#include <QStringList>

#include <array>
#include <cstring>

void StatusVector::throwIfFailed() const
{
    if (failed())
        throw DatabaseError(errorText(), errorCodes());
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

std::vector<ISC_STATUS> StatusVector::errorCodes() const
{
    std::vector<ISC_STATUS> codes;
    for (const ISC_STATUS* item = status_; *item != isc_arg_end;) {
        const ISC_STATUS kind = *item++;
        if (kind == isc_arg_gds)
            codes.push_back(*item);
        // A counted string carries its length and its address; every other item one value.
        item += kind == isc_arg_cstring ? 2 : 1;
    }
    return codes;
}
