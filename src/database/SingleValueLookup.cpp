#include "SingleValueLookup.h"

#include "Error.h"
#include "RunLog.h"
#include "Statement.h"
#include "StatementText.h"
#include "Text.h"

QString PTAB(const QString& table, const QString& field, const QString& condition, Connection& connection,
             RunLog& log, const RegionalSettings& regional)
{
    QStringList lines{QStringLiteral("SELECT FIRST 1 ") + field + QStringLiteral(" from ") + table};
    if (!trimmed(condition).isEmpty())
        lines << QStringLiteral(" Where ") + condition;
    const QString text = statementText(lines);
    try {
        Statement statement(connection, text);
        statement.execute();
        return statement.fetch() ? statement.text(0, regional) : QString();
    } catch (const Error& error) {
        log.log(QStringLiteral("erro PTAB:") + error.message() + QStringLiteral(" - ") + text);
        throw;
    }
}
