#pragma once

#include <QString>
#include <QStringList>

class Connection;

// `IBQuery1`: runs one statement text that the caller builds line by line, in the
// connection's default transaction. It never holds a result set and prepares its text
// anew at every execute.
class StatementRunner {
public:
    explicit StatementRunner(Connection& connection);

    // Nothing to close: the runner never holds rows.
    void close() {}
    void clear();
    void add(const QString& line);
    // The lines, each followed by CR LF.
    QString text() const;
    // Fails with "Empty SQL Statement" without a line; starts the transaction when it is not
    // active; refuses a select with "use Open for a Select Statement" before running it.
    void execute();

private:
    Connection& connection_;
    QStringList lines_;
};
