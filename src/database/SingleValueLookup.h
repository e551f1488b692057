#pragma once

#include "RegionalSettings.h"

#include <QString>

class Connection;
class RunLog;

// The one way reference values are read: the first column of the first row of
// "SELECT FIRST 1 <field> from <table>" with " Where <condition>" when the trimmed
// condition is not empty, as text. No row, NULL or a failed fetch give the empty text.
// A statement that cannot be prepared or executed is logged with "erro PTAB:" and
// fails with "List index out of bounds (0)". The statement runs in the connection's
// default transaction and is freed before returning.
//
// A lookup whose empty answer lets something be written (the test whether an order is
// already recorded) must not take a failed fetch for "no row": it asks for the fetch
// failure to travel on, after its "erro PTAB:" line, instead of giving the empty text.
enum class FetchFailure { GivesEmptyText, EndsTheRun };

QString PTAB(const QString& table, const QString& field, const QString& condition, Connection& connection,
             RunLog& log, const RegionalSettings& regional, FetchFailure onFetchFailure = FetchFailure::GivesEmptyText);
