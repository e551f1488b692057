#pragma once

#include "ParameterValue.h"
#include "RegionalSettings.h"
#include "TableLayout.h"

#include <QString>

#include <cstdint>

// How a writer column takes a value given as text, as an integer or as a number, and how
// its value reads back. A value the column cannot take fails with the column's message;
// the empty text is NULL for every kind.
ParameterValue valueFromText(const ColumnLayout& column, const QString& text, const RegionalSettings& regional);
ParameterValue valueFromInteger(const ColumnLayout& column, std::int32_t value);
ParameterValue valueFromNumber(const ColumnLayout& column, double value);

// NULL reads as the empty text, and as 0 for integers and numbers.
QString valueAsText(const ColumnLayout& column, const ParameterValue& value, const RegionalSettings& regional);
std::int32_t valueAsInteger(const ColumnLayout& column, const ParameterValue& value);
double valueAsNumber(const ColumnLayout& column, const ParameterValue& value);
