#include "ColumnConversion.h"

#include "DateTimeText.h"
#include "Error.h"
#include "Numbers.h"

namespace {

Error cannotAccess(const ColumnLayout& column, const QString& typeName)
{
    return Error(QStringLiteral("Cannot access field '%1' as type %2").arg(column.name, typeName));
}

bool isNull(const ParameterValue& value)
{
    return std::holds_alternative<SqlNull>(value);
}

// A text column keeps its first `length` characters; the rest is dropped without notice.
QString cutToLength(const ColumnLayout& column, const QString& text)
{
    return text.left(column.length);
}

} // namespace

ParameterValue valueFromText(const ColumnLayout& column, const QString& text, const RegionalSettings& regional)
{
    // The empty text is NULL for every kind: a text column never holds an empty string.
    if (text.isEmpty())
        return SqlNull{};
    switch (column.kind) {
    case ColumnKind::Text:
        return cutToLength(column, text);
    case ColumnKind::Integer:
        if (const auto value = tryParseInteger(text))
            return std::int64_t{*value};
        throw Error(QStringLiteral("'%1' is not a valid integer value for field '%2'").arg(text, column.name));
    case ColumnKind::Number:
        if (const auto value = tryParseFloat(text, regional.decimalSeparator))
            return *value;
        throw Error(QStringLiteral("'%1' is not a valid floating point value for field '%2'").arg(text, column.name));
    case ColumnKind::Date:
        if (const auto date = parseDate(text, regional))
            return *date;
        throw Error(QStringLiteral("'%1' is not a valid date").arg(text));
    case ColumnKind::DateTime:
        if (const auto moment = parseDateTime(text, regional))
            return *moment;
        throw Error(QStringLiteral("'%1' is not a valid date and time").arg(text));
    }
    Q_UNREACHABLE();
}

ParameterValue valueFromInteger(const ColumnLayout& column, std::int32_t value)
{
    switch (column.kind) {
    case ColumnKind::Integer:
        return std::int64_t{value};
    case ColumnKind::Number:
        return static_cast<double>(value);
    case ColumnKind::Text:
        return cutToLength(column, QString::number(value));
    case ColumnKind::Date:
    case ColumnKind::DateTime:
        break;
    }
    throw cannotAccess(column, QStringLiteral("Integer"));
}

ParameterValue valueFromNumber(const ColumnLayout& column, double value)
{
    if (column.kind != ColumnKind::Number)
        throw cannotAccess(column, QStringLiteral("Float"));
    return value;
}

QString valueAsText(const ColumnLayout& column, const ParameterValue& value, const RegionalSettings& regional)
{
    if (isNull(value))
        return QString();
    switch (column.kind) {
    case ColumnKind::Text:
        return std::get<QString>(value);
    case ColumnKind::Integer:
        return QString::number(std::get<std::int64_t>(value));
    case ColumnKind::Number:
        return formatGeneral(std::get<double>(value), regional.decimalSeparator);
    case ColumnKind::Date:
        return shortDateText(std::get<QDate>(value), regional);
    case ColumnKind::DateTime:
        return dateTimeText(std::get<QDateTime>(value), regional);
    }
    Q_UNREACHABLE();
}

std::int32_t valueAsInteger(const ColumnLayout& column, const ParameterValue& value)
{
    if (column.kind != ColumnKind::Integer)
        throw cannotAccess(column, QStringLiteral("Integer"));
    return isNull(value) ? 0 : static_cast<std::int32_t>(std::get<std::int64_t>(value));
}

double valueAsNumber(const ColumnLayout& column, const ParameterValue& value)
{
    switch (column.kind) {
    case ColumnKind::Integer:
        return isNull(value) ? 0 : static_cast<double>(std::get<std::int64_t>(value));
    case ColumnKind::Number:
        return isNull(value) ? 0 : std::get<double>(value);
    default:
        throw cannotAccess(column, QStringLiteral("Float"));
    }
}
