#pragma once

#include <QLocale>
#include <QString>

// The workstation's conventions for dates, times and numbers as text. Built once
// from the system locale (and again when the system announces a change) and
// passed to whoever formats or reads such text.
struct RegionalSettings {
    // Letters d, M and y for day, month and year; "/" stands for dateSeparator.
    QString shortDatePattern = QStringLiteral("dd/MM/yyyy");
    QString dateSeparator = QStringLiteral("/");
    QString timeSeparator = QStringLiteral(":");
    QString decimalSeparator = QStringLiteral(",");
    bool twentyFourHourClock = true;
    bool leadingZeroInHours = true;
    QString morningDesignator = QStringLiteral("AM");
    QString afternoonDesignator = QStringLiteral("PM");
    bool designatorBeforeTime = false;
    // Month and day names, for short date patterns that use them.
    QLocale namesLocale = QLocale::c();

    static RegionalSettings fromLocale(const QLocale& locale);
};
