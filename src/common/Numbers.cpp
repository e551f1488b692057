#include "Numbers.h"

#include "Error.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

constexpr int kSignificantDigits = 15;

bool isDecimalDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int hexDigitValue(QChar c)
{
    if (isDecimalDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// The general format shows the largest double rounded up to 15 digits, a text just beyond
// the range; up to that text a number reads as the largest double, so the text reads back.
std::optional<double> largestDoubleUpToItsText(const char* first, const char* last)
{
    constexpr long double kLargestText = 1.79769313486232e308L;
    long double wide = 0;
    const auto [end, error] = std::from_chars(first, last, wide);
    const long double magnitude = std::fabs(wide);
    if (error != std::errc() || end != last || magnitude <= std::numeric_limits<double>::max() || magnitude > kLargestText)
        return std::nullopt;
    return std::signbit(wide) ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
}

// Reads a number written in the workstation's notation and writes it again in plain ASCII
// notation ("-12.5e3"), so that the conversion itself never depends on a locale.
class PlainNotation {
public:
    PlainNotation(const QString& text, const QString& decimalSeparator)
        : text_(text)
        , decimalSeparator_(decimalSeparator)
    {
    }

    // Blanks, a sign, digits with an optional decimal part, an optional exponent, blanks.
    std::optional<std::string> read()
    {
        skipBlanks();
        copySign();
        int mantissaDigits = copyDigits();
        if (!decimalSeparator_.isEmpty() && QStringView(text_).mid(i_).startsWith(decimalSeparator_)) {
            i_ += decimalSeparator_.size();
            plain_ += '.';
            mantissaDigits += copyDigits();
        }
        if (mantissaDigits == 0)
            return std::nullopt;
        if (i_ < text_.size() && (text_[i_] == u'e' || text_[i_] == u'E')) {
            plain_ += 'e';
            ++i_;
            copySign();
            if (copyDigits() == 0)
                return std::nullopt;
        }
        skipBlanks();
        if (i_ != text_.size())
            return std::nullopt;
        return plain_;
    }

private:
    void skipBlanks()
    {
        while (i_ < text_.size() && text_[i_] == u' ')
            ++i_;
    }
    void copySign()
    {
        if (i_ < text_.size() && (text_[i_] == u'+' || text_[i_] == u'-'))
            plain_ += static_cast<char>(text_[i_++].unicode());
    }
    int copyDigits()
    {
        int count = 0;
        for (; i_ < text_.size() && isDecimalDigit(text_[i_]); ++i_, ++count)
            plain_ += static_cast<char>(text_[i_].unicode());
        return count;
    }

    const QString& text_;
    const QString& decimalSeparator_;
    qsizetype i_ = 0;
    std::string plain_;
};

// The value of a number in plain notation; beyond a double's range only up to the text of
// the largest double, which the general format writes.
std::optional<double> valueOfPlain(const std::string& plain)
{
    const char* first = plain.data();
    if (*first == '+')
        ++first;
    double value = 0;
    const char* last = plain.data() + plain.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range)
        return largestDoubleUpToItsText(first, last);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::int32_t> tryParseInteger(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;

    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = base == 16 ? hexDigitValue(text[i]) : (isDecimalDigit(text[i]) ? text[i].unicode() - u'0' : -1);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t parseInteger(const QString& text)
{
    if (const auto value = tryParseInteger(text))
        return *value;
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

std::optional<double> tryParseFloat(const QString& text, const QString& decimalSeparator)
{
    const auto plain = PlainNotation(text, decimalSeparator).read();
    return plain ? valueOfPlain(*plain) : std::nullopt;
}

double parseFloat(const QString& text, const QString& decimalSeparator)
{
    if (const auto value = tryParseFloat(text, decimalSeparator))
        return *value;
    throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

QString formatGeneral(double value, const QString& decimalSeparator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");

    // "d.dddddddddddddde+XX": the 15 significant digits, correctly rounded, and the exponent.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, std::fabs(value));
    const std::string scientific(buffer);
    const auto exponentAt = scientific.find('e');
    const int exponent = std::stoi(scientific.substr(exponentAt + 1));
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, exponentAt - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    QString text = value < 0 ? QStringLiteral("-") : QString();
    // Decided on the rounded digits, so the text never shows more than 15 of them.
    const bool useExponent = exponent >= kSignificantDigits || exponent < -5;
    if (useExponent) {
        text += QLatin1Char(digits[0]);
        if (digits.size() > 1)
            text += decimalSeparator + QString::fromLatin1(digits.substr(1));
        text += QStringLiteral("E%1").arg(exponent);
    } else if (exponent < 0) {
        text += QStringLiteral("0") + decimalSeparator + QString(-exponent - 1, u'0') + QString::fromLatin1(digits);
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            text += QString::fromLatin1(digits) + QString(integerDigits - digits.size(), u'0');
        } else {
            text += QString::fromLatin1(digits.substr(0, integerDigits)) + decimalSeparator
                + QString::fromLatin1(digits.substr(integerDigits));
        }
    }
    return text;
}
