#include "ColumnValue.h"

#include "Error.h"
#include "Windows1252.h"

#include <cstring>
#include <ctime>

namespace {

template <typename Value>
Value read(const char* data)
{
    Value value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

QDate dateOf(const std::tm& fields)
{
    return QDate(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday);
}

} // namespace

ParameterValue columnValue(const FirebirdApi& api, const XSQLVAR& column)
{
    if ((column.sqltype & 1) != 0 && *column.sqlind < 0)
        return SqlNull{};
    const char* data = column.sqldata;
    std::tm fields{};
    switch (column.sqltype & ~1) {
    case SQL_TEXT:
        return fromWindows1252(data, column.sqllen);
    case SQL_VARYING:
        return fromWindows1252(data + sizeof(short), read<short>(data));
    case SQL_LONG:
        if (column.sqlscale == 0)
            return std::int64_t{read<ISC_LONG>(data)};
        break;
    case SQL_FLOAT:
        return double{read<float>(data)};
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return read<double>(data);
    case SQL_TYPE_DATE: {
        const auto date = read<ISC_DATE>(data);
        api.isc_decode_sql_date(&date, &fields);
        return dateOf(fields);
    }
    case SQL_TIMESTAMP: {
        const auto moment = read<ISC_QUAD>(data);
        api.isc_decode_date(&moment, &fields);
        return QDateTime(dateOf(fields), QTime(fields.tm_hour, fields.tm_min, fields.tm_sec));
    }
    default:
        break;
    }
    throw Error(QStringLiteral("Column %1 has a type that no table writer column takes")
                    .arg(QString::fromLatin1(column.aliasname, column.aliasname_length)));
}
