#pragma once

#include <QString>

class Connection;

// Whether any column of the table has a default value, declared on the column or on its
// domain, or is computed, as the database's system tables record it.
bool hasDefaultOrComputedColumn(Connection& connection, const QString& table);
