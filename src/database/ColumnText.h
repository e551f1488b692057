#pragma once

#include "FirebirdApi.h"
#include "RegionalSettings.h"

#include <QString>

// A fetched column in the program's text form: NULL as the empty text, CHAR padded as
// the server sends it, VARCHAR exact, whole numbers in decimal digits, NUMERIC and
// DECIMAL with up to 4 decimal places exact without trailing zeros, other numbers in
// the general number format, DATE, TIME and TIMESTAMP in the regional formats.
QString columnText(const FirebirdApi& api, const XSQLVAR& column, const RegionalSettings& regional);
