#pragma once

#include "Clock.h"
#include "OrderDatabase.h"
#include "RegionalSettings.h"
#include "RunLog.h"
#include "SingleValueLookup.h"

#include <QString>

// What the order and item imports share during a run.
struct ImportContext {
    OrderDatabase& database;
    RunLog& log;
    const Clock& clock;
    const RegionalSettings& regional;

    // A reference value through the single-value lookup.
    QString lookup(const QString& table, const QString& field, const QString& condition, Connection& connection) const;
};
