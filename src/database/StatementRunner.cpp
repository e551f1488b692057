#include "StatementRunner.h"

#include "Error.h"
#include "Statement.h"
#include "StatementText.h"

StatementRunner::StatementRunner(Connection& connection)
    : connection_(connection)
{
}

void StatementRunner::clear()
{
    lines_.clear();
}

void StatementRunner::add(const QString& line)
{
    lines_ << line;
}

QString StatementRunner::text() const
{
    return statementText(lines_);
}

void StatementRunner::execute()
{
    if (lines_.isEmpty())
        throw Error(QStringLiteral("Empty SQL Statement"));
    Statement statement(connection_, text());
    if (statement.returnsRows())
        throw Error(QStringLiteral("use Open for a Select Statement"));
    statement.execute();
}
