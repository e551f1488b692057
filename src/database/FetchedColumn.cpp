#include "FetchedColumn.h"

#include "Windows1252.h"

#include <ctime>

namespace {

QDate dateOf(const std::tm& fields)
{
    return QDate(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday);
}

QTime timeOf(const std::tm& fields)
{
    return QTime(fields.tm_hour, fields.tm_min, fields.tm_sec);
}

} // namespace

QString characterText(const XSQLVAR& column)
{
    if ((column.sqltype & ~1) == SQL_VARYING)
        return fromWindows1252(column.sqldata + sizeof(short), storedValue<short>(column));
    return fromWindows1252(column.sqldata, column.sqllen);
}

QDate storedDate(const FirebirdApi& api, const XSQLVAR& column)
{
    const auto date = storedValue<ISC_DATE>(column);
    std::tm fields{};
    api.isc_decode_sql_date(&date, &fields);
    return dateOf(fields);
}

QTime storedTime(const FirebirdApi& api, const XSQLVAR& column)
{
    const auto time = storedValue<ISC_TIME>(column);
    std::tm fields{};
    api.isc_decode_sql_time(&time, &fields);
    return timeOf(fields);
}

QDateTime storedTimestamp(const FirebirdApi& api, const XSQLVAR& column)
{
    const auto moment = storedValue<ISC_QUAD>(column);
    std::tm fields{};
    api.isc_decode_date(&moment, &fields);
    return QDateTime(dateOf(fields), timeOf(fields));
}
