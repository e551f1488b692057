#pragma once

#include "RegionalSettings.h"

// A Brazilian workstation: dd/MM/yyyy, "/" and ":", decimal comma, 24-hour clock
// with a leading zero.
inline RegionalSettings brazilianSettings()
{
    return RegionalSettings{};
}

// A US workstation: M/d/yyyy, decimal point, 12-hour clock without leading zero,
// AM and PM after the time.
inline RegionalSettings unitedStatesSettings()
{
    RegionalSettings settings;
    settings.shortDatePattern = QStringLiteral("M/d/yyyy");
    settings.decimalSeparator = QStringLiteral(".");
    settings.twentyFourHourClock = false;
    settings.leadingZeroInHours = false;
    return settings;
}
