#include "ColumnText.h"

#include "DateTimeText.h"
#include "Error.h"
#include "FetchedColumn.h"
#include "Numbers.h"

#include <cmath>

namespace {

constexpr int kMostExactDecimalPlaces = 4;

// Integer digits, then the fraction without trailing zeros when it is not zero.
QString exactDecimalText(ISC_INT64 value, int decimalPlaces, const QString& decimalSeparator)
{
    const bool negative = value < 0;
    const auto magnitude = negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    quint64 divisor = 1;
    for (int i = 0; i < decimalPlaces; ++i)
        divisor *= 10;
    QString text = (negative ? QStringLiteral("-") : QString()) + QString::number(magnitude / divisor);
    QString fraction = QStringLiteral("%1").arg(magnitude % divisor, decimalPlaces, 10, QLatin1Char('0'));
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += decimalSeparator + fraction;
    return text;
}

QString scaledIntegerText(ISC_INT64 value, int scale, const QString& decimalSeparator)
{
    if (scale == 0)
        return QString::number(value);
    if (scale < 0 && -scale <= kMostExactDecimalPlaces)
        return exactDecimalText(value, -scale, decimalSeparator);
    return formatGeneral(static_cast<double>(value) * std::pow(10.0, scale), decimalSeparator);
}

} // namespace

QString columnText(const FirebirdApi& api, const XSQLVAR& column, const RegionalSettings& regional)
{
    if (holdsNull(column))
        return QString();
    const QString& separator = regional.decimalSeparator;
    switch (column.sqltype & ~1) {
    case SQL_TEXT:
    case SQL_VARYING:
        return characterText(column);
    case SQL_SHORT:
        return scaledIntegerText(storedValue<ISC_SHORT>(column), column.sqlscale, separator);
    case SQL_LONG:
        return scaledIntegerText(storedValue<ISC_LONG>(column), column.sqlscale, separator);
    case SQL_INT64:
        return scaledIntegerText(storedValue<ISC_INT64>(column), column.sqlscale, separator);
    case SQL_FLOAT:
        return formatGeneral(storedValue<float>(column), separator);
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return formatGeneral(storedValue<double>(column), separator);
    case SQL_TYPE_DATE:
        return shortDateText(storedDate(api, column), regional);
    case SQL_TYPE_TIME:
        return longTimeText(storedTime(api, column), regional);
    case SQL_TIMESTAMP:
        return dateTimeText(storedTimestamp(api, column), regional);
    default:
        throw Error(QStringLiteral("Column %1 has a type that cannot be read as text")
                        .arg(QString::fromLatin1(column.aliasname, column.aliasname_length)));
    }
}
