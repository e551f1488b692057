// The number conversions on arbitrary text and on arbitrary doubles: whole numbers,
// numbers with either decimal separator, and the general number format, whose text
// must read back as the same text.
#include "FuzzCheck.h"
#include "Numbers.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

const QString kSeparators[] = {QStringLiteral(","), QStringLiteral(".")};

int significantDigits(const QString& text)
{
    const qsizetype exponent = text.indexOf(u'E');
    const QStringView mantissa = QStringView(text).left(exponent < 0 ? text.size() : exponent);
    int digits = 0;
    bool leading = true;
    for (const QChar c : mantissa) {
        if (!c.isDigit() || (leading && c == u'0'))
            continue;
        leading = false;
        ++digits;
    }
    return digits;
}

void checkIntegerText(const QString& text)
{
    const auto value = tryParseInteger(text);
    if (!value)
        return;
    require(tryParseInteger(QString::number(*value)) == value, "a whole number reads back from its decimal text");
    for (const QString& separator : kSeparators) {
        const auto number = tryParseFloat(text, separator);
        require(!number || *number == *value, "a text that reads as a whole number and as a number gives one value");
    }
}

void checkGeneralFormat(double value, const QString& separator)
{
    const QString text = formatGeneral(value, separator);
    require(significantDigits(text) <= 15, "the general format shows at most 15 significant digits");
    const auto readBack = tryParseFloat(text, separator);
    require(readBack.has_value(), "the general format of a finite number reads back");
    require(formatGeneral(*readBack, separator) == text, "the general format reads back as the same text");
}

void checkFloatText(const QString& text, const QString& separator)
{
    if (const auto value = tryParseFloat(text, separator)) {
        require(std::isfinite(*value), "a number read from text is finite");
        checkGeneralFormat(*value, separator);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkIntegerText(text);
    for (const QString& separator : kSeparators)
        checkFloatText(text, separator);

    // The same bytes taken as a double reach values that no short text gives.
    double value = 0;
    if (size >= sizeof value) {
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value)) {
            for (const QString& separator : kSeparators)
                checkGeneralFormat(value, separator);
        }
    }
    return 0;
}
