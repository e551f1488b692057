#pragma once

#include "ParameterValue.h"
#include "Statement.h"
#include "StatementText.h"
#include "TableLayout.h"

#include <QStringList>

#include <cstddef>
#include <vector>

class Connection;

// One of a writer's statement templates, prepared as its lines each followed by CR LF
// with every ":NAME" marker turned into "?", and bound by name to a row's columns.
class TemplateStatement {
public:
    // Fails with "Field '%s' not found" for a marker that names no column of the layout.
    TemplateStatement(Connection& connection, const QStringList& lines, const TableLayout& layout);

    // Runs the template for a new row, whose values are in the layout's column order.
    void execute(const std::vector<ParameterValue>& row);
    Statement& statement() noexcept { return statement_; }

private:
    struct ParameterSource {
        std::size_t column;
        bool valueBeforeChange;
    };

    TemplateStatement(Connection& connection, const PositionalText& text, const TableLayout& layout);

    Statement statement_;
    std::vector<ParameterSource> sources_;
};
