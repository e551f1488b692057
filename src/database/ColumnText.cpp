#include "ColumnText.h"

#include "DateTimeText.h"
#include "Error.h"
#include "Numbers.h"
#include "Windows1252.h"

#include <cmath>
#include <cstring>
#include <ctime>

namespace {

constexpr int kMostExactDecimalPlaces = 4;

template <typename Value>
Value read(const char* data)
{
    Value value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

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

QDate dateOf(const std::tm& fields)
{
    return QDate(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday);
}

QTime timeOf(const std::tm& fields)
{
    return QTime(fields.tm_hour, fields.tm_min, fields.tm_sec);
}

} // namespace

QString columnText(const FirebirdApi& api, const XSQLVAR& column, const RegionalSettings& regional)
{
    if ((column.sqltype & 1) != 0 && *column.sqlind < 0)
        return QString();
    const char* data = column.sqldata;
    const QString& separator = regional.decimalSeparator;
    std::tm fields{};
    switch (column.sqltype & ~1) {
    case SQL_TEXT:
        return fromWindows1252(data, column.sqllen);
    case SQL_VARYING:
        return fromWindows1252(data + sizeof(short), read<short>(data));
    case SQL_SHORT:
        return scaledIntegerText(read<ISC_SHORT>(data), column.sqlscale, separator);
    case SQL_LONG:
        return scaledIntegerText(read<ISC_LONG>(data), column.sqlscale, separator);
    case SQL_INT64:
        return scaledIntegerText(read<ISC_INT64>(data), column.sqlscale, separator);
    case SQL_FLOAT:
        return formatGeneral(read<float>(data), separator);
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return formatGeneral(read<double>(data), separator);
    case SQL_TYPE_DATE: {
        const auto date = read<ISC_DATE>(data);
        api.isc_decode_sql_date(&date, &fields);
        return shortDateText(dateOf(fields), regional);
    }
    case SQL_TYPE_TIME: {
        const auto time = read<ISC_TIME>(data);
        api.isc_decode_sql_time(&time, &fields);
        return longTimeText(timeOf(fields), regional);
    }
    case SQL_TIMESTAMP: {
        const auto moment = read<ISC_QUAD>(data);
        api.isc_decode_date(&moment, &fields);
        return dateTimeText(QDateTime(dateOf(fields), timeOf(fields)), regional);
    }
    default:
        throw Error(QStringLiteral("Column %1 has a type that cannot be read as text")
                        .arg(QString::fromLatin1(column.aliasname, column.aliasname_length)));
    }
}
