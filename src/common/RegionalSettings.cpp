#include "RegionalSettings.h"

namespace {

// The first character of a pattern that is neither a letter nor part of quoted text.
QString firstSeparator(const QString& pattern, const QString& fallback)
{
    bool quoted = false;
    for (QChar c : pattern) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && !c.isLetter() && !c.isSpace())
            return QString(c);
    }
    return fallback;
}

} // namespace

RegionalSettings RegionalSettings::fromLocale(const QLocale& locale)
{
    RegionalSettings settings;
    const QString datePattern = locale.dateFormat(QLocale::ShortFormat);
    settings.dateSeparator = firstSeparator(datePattern, QStringLiteral("/"));
    settings.shortDatePattern = QString(datePattern).replace(settings.dateSeparator, QStringLiteral("/"));

    const QString timePattern = locale.timeFormat(QLocale::ShortFormat);
    settings.timeSeparator = firstSeparator(timePattern, QStringLiteral(":"));
    const qsizetype designatorAt = timePattern.indexOf(u'a', 0, Qt::CaseInsensitive);
    const qsizetype hourAt = timePattern.indexOf(u'h', 0, Qt::CaseInsensitive);
    settings.twentyFourHourClock = designatorAt < 0;
    settings.designatorBeforeTime = designatorAt >= 0 && designatorAt < hourAt;
    settings.leadingZeroInHours = timePattern.contains(QStringLiteral("hh"), Qt::CaseInsensitive);
    settings.morningDesignator = locale.amText();
    settings.afternoonDesignator = locale.pmText();

    settings.decimalSeparator = locale.decimalPoint();
    settings.namesLocale = locale;
    return settings;
}
