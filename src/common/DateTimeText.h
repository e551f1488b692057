#pragma once

#include "RegionalSettings.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <optional>

// The regional short date pattern applied to a date.
QString shortDateText(const QDate& date, const RegionalSettings& settings);

// Hour, minutes and seconds with the regional separator, clock and designator,
// no milliseconds: "14:30:07", "2:30:07 PM".
QString longTimeText(const QTime& time, const RegionalSettings& settings);

// Short date, a blank and the long time; the date alone at exactly midnight.
QString dateTimeText(const QDateTime& moment, const RegionalSettings& settings);

// The fixed patterns "dd/mm/yyyy" and "dd/mm/yyyy hh:mm:ss" (24-hour clock),
// with the regional date and time separators.
QString dayMonthYearText(const QDate& date, const RegionalSettings& settings);
QString dayMonthYearTimeText(const QDateTime& moment, const RegionalSettings& settings);

// Three numbers separated by the date separator, in the order that the first
// of d, M, y in the short date pattern names.
std::optional<QDate> parseDate(const QString& text, const RegionalSettings& settings);
// A date as above, a blank, hours, time separator, minutes, optionally the
// separator and seconds.
std::optional<QDateTime> parseDateTime(const QString& text, const RegionalSettings& settings);
