#pragma once

#include "FirebirdApi.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <variant>

// The NULL value of a statement parameter.
struct SqlNull {};

// A value bound to a statement parameter by position, or held by a table writer's
// column: NULL, an integer, a double, a text (sent as Windows-1252), a DATE or a
// TIMESTAMP (to the whole second).
using ParameterValue = std::variant<SqlNull, std::int64_t, double, QString, QDate, QDateTime>;

// The bytes and NULL indicator that carry one parameter value to the library.
struct EncodedParameter {
    QByteArray data;
    short indicator = 0;
};

// Gives the parameter the value's own type and points it at the value's encoding; the
// server converts the value to the parameter's declared type.
void bindParameter(const FirebirdApi& api, XSQLVAR& parameter, const ParameterValue& value,
                   EncodedParameter& encoded);
