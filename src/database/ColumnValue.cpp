#include "ColumnValue.h"

#include "Error.h"
#include "FetchedColumn.h"

ParameterValue columnValue(const FirebirdApi& api, const XSQLVAR& column)
{
    if (holdsNull(column))
        return SqlNull{};
    switch (column.sqltype & ~1) {
    case SQL_TEXT:
    case SQL_VARYING:
        return characterText(column);
    case SQL_LONG:
        if (column.sqlscale == 0)
            return std::int64_t{storedValue<ISC_LONG>(column)};
        break;
    case SQL_FLOAT:
        return double{storedValue<float>(column)};
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return storedValue<double>(column);
    case SQL_TYPE_DATE:
        return storedDate(api, column);
    case SQL_TIMESTAMP:
        return storedTimestamp(api, column);
    default:
        break;
    }
    throw Error(QStringLiteral("Column %1 has a type that no table writer column takes")
                    .arg(QString::fromLatin1(column.aliasname, column.aliasname_length)));
}
