#include "DateTimeText.h"

#include <QStringList>

namespace {

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString dateField(const QDate& date, QChar letter, qsizetype count, const RegionalSettings& settings)
{
    switch (letter.unicode()) {
    case u'd':
        if (count >= 3)
            return settings.namesLocale.toString(date, count == 3 ? QStringLiteral("ddd") : QStringLiteral("dddd"));
        return count == 2 ? twoDigits(date.day()) : QString::number(date.day());
    case u'M':
        if (count >= 3)
            return settings.namesLocale.toString(date, count == 3 ? QStringLiteral("MMM") : QStringLiteral("MMMM"));
        return count == 2 ? twoDigits(date.month()) : QString::number(date.month());
    default:
        if (count >= 3)
            return QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
        return count == 2 ? twoDigits(date.year() % 100) : QString::number(date.year() % 100);
    }
}

// Whole text made of ASCII digits only, at most maxDigits of them.
std::optional<int> digitsValue(QStringView text, qsizetype maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// The letter among d, M, y that the short date pattern names first.
QChar leadingDateField(const QString& pattern)
{
    bool quoted = false;
    for (QChar c : pattern) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && (c == u'd' || c == u'M' || c == u'y'))
            return c;
    }
    return u'd';
}

std::optional<QTime> parseTime(const QString& text, const RegionalSettings& settings)
{
    const QStringList parts = text.split(settings.timeSeparator);
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    const auto hours = digitsValue(parts[0], 2);
    const auto minutes = digitsValue(parts[1], 2);
    const auto seconds = parts.size() == 3 ? digitsValue(parts[2], 2) : std::optional<int>(0);
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    const QTime time(*hours, *minutes, *seconds);
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

} // namespace

QString shortDateText(const QDate& date, const RegionalSettings& settings)
{
    const QString& pattern = settings.shortDatePattern;
    QString text;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            const qsizetype close = pattern.indexOf(u'\'', i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            text += close == i + 1 ? QStringLiteral("'") : pattern.mid(i + 1, end - i - 1);
            i = end + 1;
        } else if (c == u'/') {
            text += settings.dateSeparator;
            ++i;
        } else if (c == u'd' || c == u'M' || c == u'y') {
            qsizetype count = 1;
            while (i + count < pattern.size() && pattern[i + count] == c)
                ++count;
            text += dateField(date, c, count, settings);
            i += count;
        } else {
            text += c;
            ++i;
        }
    }
    return text;
}

QString longTimeText(const QTime& time, const RegionalSettings& settings)
{
    int hour = time.hour();
    QString designator;
    if (!settings.twentyFourHourClock) {
        designator = hour < 12 ? settings.morningDesignator : settings.afternoonDesignator;
        hour %= 12;
        if (hour == 0)
            hour = 12;
    }
    const QString clock = (settings.leadingZeroInHours ? twoDigits(hour) : QString::number(hour))
        + settings.timeSeparator + twoDigits(time.minute()) + settings.timeSeparator + twoDigits(time.second());
    if (designator.isEmpty())
        return clock;
    return settings.designatorBeforeTime ? designator + u' ' + clock : clock + u' ' + designator;
}

QString dateTimeText(const QDateTime& moment, const RegionalSettings& settings)
{
    const QTime time = moment.time();
    const QString date = shortDateText(moment.date(), settings);
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    return date + u' ' + longTimeText(time, settings);
}

QString dayMonthYearText(const QDate& date, const RegionalSettings& settings)
{
    return twoDigits(date.day()) + settings.dateSeparator + twoDigits(date.month()) + settings.dateSeparator
        + QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString dayMonthYearTimeText(const QDateTime& moment, const RegionalSettings& settings)
{
    const QTime time = moment.time();
    return dayMonthYearText(moment.date(), settings) + u' ' + twoDigits(time.hour()) + settings.timeSeparator
        + twoDigits(time.minute()) + settings.timeSeparator + twoDigits(time.second());
}

std::optional<QDate> parseDate(const QString& text, const RegionalSettings& settings)
{
    const QStringList parts = text.trimmed().split(settings.dateSeparator);
    if (parts.size() != 3)
        return std::nullopt;
    const auto first = digitsValue(parts[0], 4);
    const auto second = digitsValue(parts[1], 4);
    const auto third = digitsValue(parts[2], 4);
    if (!first || !second || !third)
        return std::nullopt;

    QDate date;
    switch (leadingDateField(settings.shortDatePattern).unicode()) {
    case u'M': date = QDate(*third, *first, *second); break;
    case u'y': date = QDate(*first, *second, *third); break;
    default: date = QDate(*third, *second, *first); break;
    }
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::optional<QDateTime> parseDateTime(const QString& text, const RegionalSettings& settings)
{
    const QString written = text.trimmed();
    const qsizetype blank = written.indexOf(u' ');
    if (blank < 0)
        return std::nullopt;
    const auto date = parseDate(written.left(blank), settings);
    const auto time = parseTime(written.mid(blank + 1).trimmed(), settings);
    if (!date || !time)
        return std::nullopt;
    return QDateTime(*date, *time);
}
