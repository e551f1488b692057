#include "TemplateStatement.h"

#include "Error.h"

namespace {

const QString kBeforeChangePrefix = QStringLiteral("OLD_");
const QString kAfterChangePrefix = QStringLiteral("NEW_");

} // namespace

TemplateStatement::TemplateStatement(Connection& connection, const QStringList& lines, const TableLayout& layout)
    : TemplateStatement(connection, withPositionalParameters(statementText(lines)), layout)
{
}

TemplateStatement::TemplateStatement(Connection& connection, const PositionalText& text, const TableLayout& layout)
    : statement_(connection, text.text)
{
    for (const QString& name : text.parameterNames) {
        QString columnName = name;
        const bool beforeChange = name.startsWith(kBeforeChangePrefix, Qt::CaseInsensitive);
        if (beforeChange)
            columnName.remove(0, kBeforeChangePrefix.size());
        else if (name.startsWith(kAfterChangePrefix, Qt::CaseInsensitive))
            columnName.remove(0, kAfterChangePrefix.size());
        const auto column = columnIndex(layout, columnName);
        if (!column)
            throw Error(QStringLiteral("Field '%1' not found").arg(columnName));
        sources_.push_back({*column, beforeChange});
    }
}

void TemplateStatement::execute(const std::vector<ParameterValue>& row)
{
    std::vector<ParameterValue> parameters;
    parameters.reserve(sources_.size());
    for (const ParameterSource& source : sources_) {
        // A new row has no values from before a change: those parameters are NULL.
        parameters.push_back(source.valueBeforeChange ? ParameterValue(SqlNull{}) : row[source.column]);
    }
    statement_.execute(parameters);
}
