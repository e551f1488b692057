#include "ParameterValue.h"

#include "Error.h"
#include "Windows1252.h"

#include <ctime>
#include <limits>

namespace {

template <typename Value>
QByteArray bytesOf(const Value& value)
{
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
}

std::tm calendarFields(const QDate& date, const QTime& time = QTime(0, 0))
{
    std::tm fields{};
    fields.tm_year = date.year() - 1900;
    fields.tm_mon = date.month() - 1;
    fields.tm_mday = date.day();
    fields.tm_hour = time.hour();
    fields.tm_min = time.minute();
    fields.tm_sec = time.second();
    return fields;
}

struct Encoding {
    short type;
    QByteArray data;
};

Encoding encode(const FirebirdApi& api, const ParameterValue& value)
{
    if (const auto* integer = std::get_if<std::int64_t>(&value))
        return {SQL_INT64, bytesOf(ISC_INT64{*integer})};
    if (const auto* number = std::get_if<double>(&value))
        return {SQL_DOUBLE, bytesOf(*number)};
    if (const auto* text = std::get_if<QString>(&value)) {
        QByteArray bytes = toWindows1252(*text);
        if (bytes.size() > std::numeric_limits<ISC_SHORT>::max())
            throw Error(QStringLiteral("Text of %1 characters is too long for a statement parameter").arg(text->size()));
        return {SQL_TEXT, std::move(bytes)};
    }
    if (const auto* date = std::get_if<QDate>(&value)) {
        std::tm fields = calendarFields(*date);
        ISC_DATE encoded = 0;
        api.isc_encode_sql_date(&fields, &encoded);
        return {SQL_TYPE_DATE, bytesOf(encoded)};
    }
    const auto& moment = std::get<QDateTime>(value);
    std::tm fields = calendarFields(moment.date(), moment.time());
    ISC_QUAD encoded{};
    api.isc_encode_date(&fields, &encoded);
    return {SQL_TIMESTAMP, bytesOf(encoded)};
}

} // namespace

void bindParameter(const FirebirdApi& api, XSQLVAR& parameter, const ParameterValue& value,
                   EncodedParameter& encoded)
{
    if (std::holds_alternative<SqlNull>(value)) {
        // The parameter keeps its type; the library reads the indicator, never the zeroed bytes.
        const auto size = parameter.sqllen + ((parameter.sqltype & ~1) == SQL_VARYING ? 2 : 0);
        encoded.data = QByteArray(size, '\0');
        encoded.indicator = -1;
        parameter.sqltype = static_cast<ISC_SHORT>(parameter.sqltype | 1);
    } else {
        Encoding encoding = encode(api, value);
        encoded.data = std::move(encoding.data);
        encoded.indicator = 0;
        // Odd types carry an indicator; a text has character set NONE, its bytes as given.
        parameter.sqltype = static_cast<ISC_SHORT>(encoding.type | 1);
        parameter.sqlscale = 0;
        parameter.sqlsubtype = 0;
        parameter.sqllen = static_cast<ISC_SHORT>(encoded.data.size());
    }
    parameter.sqldata = encoded.data.data();
    parameter.sqlind = &encoded.indicator;
}
