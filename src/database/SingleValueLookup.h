#pragma once

#include "RegionalSettings.h"

#include <QString>

class Connection;
class RunLog;

// The one way reference values are read: the first column of the first row of
// "SELECT FIRST 1 <field> from <table>" with " Where <condition>" when the trimmed
// condition is not empty, as text. No row and NULL give the empty text. A statement
// that cannot be prepared, executed or fetched is logged with "erro PTAB:" and its
// failure travels on: an empty answer always means "nothing there", never "could not
// ask", because callers record orders and taxes on what a lookup answers. The
// statement runs in the connection's default transaction and is freed before returning.
QString PTAB(const QString& table, const QString& field, const QString& condition, Connection& connection,
             RunLog& log, const RegionalSettings& regional);
