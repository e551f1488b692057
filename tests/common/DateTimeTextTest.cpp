#include "DateTimeText.h"
#include "Regional.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QDateTime at(int year, int month, int day, int hour, int minute, int second, int ms = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms));
}

} // namespace

TEST(DateTimeText, LogTimeStamps)
{
    const RegionalSettings brazil = brazilianSettings();
    const RegionalSettings us = unitedStatesSettings();
    struct Case {
        QDateTime moment;
        const RegionalSettings& settings;
        const char* text;
    };
    const Case cases[] = {
        {at(2024, 3, 15, 14, 30, 7, 412), brazil, "15/03/2024 14:30:07"},
        {at(2024, 3, 5, 9, 5, 3), brazil, "05/03/2024 09:05:03"},
        {at(2024, 3, 15, 0, 0, 0, 250), brazil, "15/03/2024"},
        {at(2024, 3, 15, 0, 0, 1), brazil, "15/03/2024 00:00:01"},
        {at(2024, 3, 15, 14, 30, 7), us, "3/15/2024 2:30:07 PM"},
        {at(2024, 3, 15, 0, 30, 0), us, "3/15/2024 12:30:00 AM"},
        {at(2024, 3, 15, 12, 0, 5), us, "3/15/2024 12:00:05 PM"},
        {at(2024, 3, 15, 0, 0, 1), us, "3/15/2024 12:00:01 AM"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dateTimeText(c.moment, c.settings), QString::fromLatin1(c.text)) << c.text;
}

TEST(DateTimeText, PatternSeparatorsAndDesignatorPosition)
{
    RegionalSettings settings;
    settings.shortDatePattern = QStringLiteral("yy/M/d");
    settings.dateSeparator = QStringLiteral("-");
    settings.timeSeparator = QStringLiteral(".");
    settings.twentyFourHourClock = false;
    settings.leadingZeroInHours = true;
    settings.morningDesignator = QStringLiteral("a.m.");
    settings.designatorBeforeTime = true;
    EXPECT_EQ(dateTimeText(at(2009, 1, 2, 3, 4, 5), settings), QStringLiteral("09-1-2 a.m. 03.04.05"));

    settings.shortDatePattern = QStringLiteral("dd 'de' MMMM yyyy");
    settings.namesLocale = QLocale(QLocale::Portuguese, QLocale::Brazil);
    EXPECT_EQ(shortDateText(QDate(2024, 3, 15), settings), QStringLiteral("15 de março 2024"));
}

TEST(DateTimeText, FixedDayMonthYearPatternsUseRegionalSeparators)
{
    const QDateTime moment = at(2024, 3, 5, 9, 5, 3);
    EXPECT_EQ(dayMonthYearText(moment.date(), brazilianSettings()), QStringLiteral("05/03/2024"));
    EXPECT_EQ(dayMonthYearTimeText(moment, brazilianSettings()), QStringLiteral("05/03/2024 09:05:03"));
    RegionalSettings dotted;
    dotted.dateSeparator = QStringLiteral(".");
    dotted.timeSeparator = QStringLiteral(".");
    dotted.twentyFourHourClock = false;
    EXPECT_EQ(dayMonthYearTimeText(at(2024, 3, 5, 21, 5, 3), dotted), QStringLiteral("05.03.2024 21.05.03"));
}

TEST(DateTimeText, ReadsDatesInTheShortDateOrder)
{
    const RegionalSettings brazil = brazilianSettings();
    const RegionalSettings us = unitedStatesSettings();
    RegionalSettings yearFirst;
    yearFirst.shortDatePattern = QStringLiteral("yyyy/MM/dd");
    yearFirst.dateSeparator = QStringLiteral("-");

    EXPECT_EQ(parseDate(QStringLiteral("15/03/2024"), brazil), QDate(2024, 3, 15));
    EXPECT_EQ(parseDate(QStringLiteral("5/3/2024"), brazil), QDate(2024, 3, 5));
    EXPECT_EQ(parseDate(QStringLiteral("05/03/2024"), us), QDate(2024, 5, 3));
    EXPECT_EQ(parseDate(QStringLiteral("2024-03-15"), yearFirst), QDate(2024, 3, 15));
    EXPECT_FALSE(parseDate(QStringLiteral("15/03/2024"), us));
    for (const char* text : {"31/02/2024", "15-03-2024", "15/03", "", "aa/03/2024", "15/03/2024 10:00"})
        EXPECT_FALSE(parseDate(QString::fromLatin1(text), brazil)) << text;
}

TEST(DateTimeText, ReadsDateTimesWithOptionalSeconds)
{
    const RegionalSettings brazil = brazilianSettings();
    EXPECT_EQ(parseDateTime(QStringLiteral("15/03/2024 14:05:09"), brazil), at(2024, 3, 15, 14, 5, 9));
    EXPECT_EQ(parseDateTime(QStringLiteral("15/03/2024 14:05"), brazil), at(2024, 3, 15, 14, 5, 0));
    EXPECT_EQ(parseDateTime(dayMonthYearTimeText(at(2024, 12, 31, 23, 59, 59), brazil), brazil),
              at(2024, 12, 31, 23, 59, 59));
    for (const char* text : {"15/03/2024", "15/03/2024 24:00:00", "15/03/2024 14", "15/03/2024 14:60", "x 14:05"})
        EXPECT_FALSE(parseDateTime(QString::fromLatin1(text), brazil)) << text;
    // Month first: a day above 12 is no date; a day up to 12 is read with day and month swapped.
    EXPECT_FALSE(parseDateTime(QStringLiteral("15/03/2024 14:05:09"), unitedStatesSettings()));
    EXPECT_EQ(parseDateTime(QStringLiteral("05/03/2024 14:05:09"), unitedStatesSettings()), at(2024, 5, 3, 14, 5, 9));
}

TEST(RegionalSettings, BuiltFromTheSystemLocale)
{
    const RegionalSettings brazil = RegionalSettings::fromLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    EXPECT_EQ(brazil.shortDatePattern, QStringLiteral("dd/MM/yyyy"));
    EXPECT_EQ(brazil.dateSeparator, QStringLiteral("/"));
    EXPECT_EQ(brazil.timeSeparator, QStringLiteral(":"));
    EXPECT_EQ(brazil.decimalSeparator, QStringLiteral(","));
    EXPECT_TRUE(brazil.twentyFourHourClock);
    EXPECT_TRUE(brazil.leadingZeroInHours);

    const RegionalSettings us = RegionalSettings::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.decimalSeparator, QStringLiteral("."));
    EXPECT_FALSE(us.twentyFourHourClock);
    EXPECT_FALSE(us.leadingZeroInHours);
    EXPECT_FALSE(us.designatorBeforeTime);
    EXPECT_EQ(us.afternoonDesignator, QStringLiteral("PM"));
    EXPECT_EQ(dateTimeText(at(2024, 3, 15, 14, 30, 7), us).right(10), QStringLiteral("2:30:07 PM"));

    const RegionalSettings german = RegionalSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.dateSeparator, QStringLiteral("."));
    EXPECT_EQ(shortDateText(QDate(2024, 3, 5), german), QStringLiteral("05.03.24"));
}
