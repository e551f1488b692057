#pragma once

#include "Statement.h"
#include "TableLayout.h"

#include <vector>

// Every layout column must be a result column of the table's select, of the same kind:
// "Field '%s' not found", or "Type mismatch for field '%s', expecting: %s actual: %s"
// with the type names Integer, Float, Date, DateTime and String for the writer's kinds,
// and Smallint, Largeint, BCD, Time, Blob, Boolean or Unknown for what else the table holds.
// Gives the table's description of every layout column, in the layout's order.
std::vector<ColumnDescription> checkTableColumns(const TableLayout& layout, const Statement& select);
