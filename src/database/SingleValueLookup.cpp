#include "SingleValueLookup.h"

#include "Error.h"
#include "RunLog.h"
#include "Statement.h"
#include "StatementText.h"
#include "Text.h"

#include <optional>

QString PTAB(const QString& table, const QString& field, const QString& condition, Connection& connection,
             RunLog& log, const RegionalSettings& regional, FetchFailure onFetchFailure)
{
    QStringList lines{QStringLiteral("SELECT FIRST 1 ") + field + QStringLiteral(" from ") + table};
    if (!trimmed(condition).isEmpty())
        lines << QStringLiteral(" Where ") + condition;
    const QString text = statementText(lines);
    const auto logFailure = [&](const Error& error) {
        log.log(QStringLiteral("erro PTAB:") + error.message() + QStringLiteral(" - ") + text);
    };

    std::optional<Statement> statement;
    try {
        statement.emplace(connection, text);
        statement->execute();
    } catch (const Error& error) {
        logFailure(error);
        // No result columns were ever described, so there is no first column to read.
        throw Error(QStringLiteral("List index out of bounds (%1)").arg(0));
    }
    try {
        if (!statement->fetch())
            return QString();
    } catch (const Error& error) {
        logFailure(error);
        if (onFetchFailure == FetchFailure::EndsTheRun)
            throw;
        return QString();
    }
    return statement->text(0, regional);
}
