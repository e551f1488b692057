#pragma once

#include "FirebirdApi.h"
#include "ParameterValue.h"

// A fetched column in its own type, as the table writers hold their values: NULL,
// INTEGER as a whole number, FLOAT and DOUBLE PRECISION as a double, CHAR and VARCHAR as
// text (CHAR padded as the server sends it), DATE and TIMESTAMP (to the whole second).
// Any other type fails: no writer column takes it.
ParameterValue columnValue(const FirebirdApi& api, const XSQLVAR& column);
