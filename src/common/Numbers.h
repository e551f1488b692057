#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Whole numbers: optional leading blanks, an optional sign, decimal digits or
// hexadecimal digits after "$" or "0x", nothing after them, 32-bit signed range.
std::optional<std::int32_t> tryParseInteger(const QString& text);
// As above; any other text fails with "'%s' is not a valid integer value".
std::int32_t parseInteger(const QString& text);

// Numbers in the workstation's notation: optional blanks, an optional sign,
// digits, optionally the decimal separator and digits, optionally an exponent
// (E or e, optional sign, digits), optional blanks; no thousands separator. A number
// beyond the range of a double does not read, except up to 1.79769313486232E308, the
// general format's text of the largest double, which reads as the largest double.
std::optional<double> tryParseFloat(const QString& text, const QString& decimalSeparator);
// As above; any other text fails with "'%s' is not a valid floating point value".
double parseFloat(const QString& text, const QString& decimalSeparator);

// The general number format: at most 15 significant digits, the given decimal
// separator, no trailing zeros, no thousands separator; exponent notation
// ("1E20", "1,5E-6") only beyond 15 integer digits or below 0.00001.
QString formatGeneral(double value, const QString& decimalSeparator);
