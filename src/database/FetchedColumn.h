#pragma once

#include "FirebirdApi.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <cstring>

// The data of a fetched column as the client library left it, decoded once for every
// reader of fetched rows.

inline bool holdsNull(const XSQLVAR& column)
{
    return (column.sqltype & 1) != 0 && *column.sqlind < 0;
}

// The column's data as the value type its SQL type stores; the buffer need not be aligned.
template <typename Value>
Value storedValue(const XSQLVAR& column)
{
    Value value;
    std::memcpy(&value, column.sqldata, sizeof value);
    return value;
}

// CHAR padded as the server sends it, VARCHAR exact; for those two types only.
QString characterText(const XSQLVAR& column);
// DATE, TIME and TIMESTAMP (to the whole second).
QDate storedDate(const FirebirdApi& api, const XSQLVAR& column);
QTime storedTime(const FirebirdApi& api, const XSQLVAR& column);
QDateTime storedTimestamp(const FirebirdApi& api, const XSQLVAR& column);
