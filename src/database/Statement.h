#pragma once

#include "FirebirdApi.h"
#include "ParameterValue.h"
#include "RegionalSettings.h"
#include "SqlDescriptor.h"
#include "StatementHandle.h"

#include <QString>

#include <functional>
#include <vector>

class Connection;

// A result column as the server describes it: its name, its SQL type (without the NULL
// flag), its scale and its length in bytes.
struct ColumnDescription {
    QString name;
    int type = 0;
    int scale = 0;
    int length = 0;
};

// One prepared statement text on a connection, run in the connection's default
// transaction. Freed with the object; it must not outlive its connection. Like its handle
// it never moves: build it where it is kept (std::optional::emplace).
class Statement {
public:
    // Refuses a text with a quote left open before anything is sent, starts the default
    // transaction when it is not active, then prepares the text in the connection's dialect.
    Statement(Connection& connection, const QString& text);

    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int parameterCount() const noexcept { return inputs_.count(); }
    // True for a select: executing it opens its rows for fetching.
    bool returnsRows() const noexcept { return returnsRows_; }
    int columnCount() const noexcept { return outputs_.count(); }

    // Runs the statement with one value for each parameter, in the parameters' order.
    void execute(const std::vector<ParameterValue>& parameters = {});

    // Called with the statement's text before every execution is sent. Whatever it throws
    // fails the execution as a refusal of the database would: the fault-injection tests
    // fail chosen statements with it, the benchmarks count statements. One at a time.
    using ExecutionObserver = std::function<void(const QString& text)>;
    static void observeExecutions(ExecutionObserver observer);
    // Moves to the next row of an executed select; false when no row is left.
    bool fetch();
    // A column of the current row in the program's text form (NULL gives the empty text).
    QString text(int column, const RegionalSettings& regional) const;
    // A column of the current row in its own type (see columnValue).
    ParameterValue value(int column) const;
    ColumnDescription column(int column) const;

private:
    void describeParameters();
    void describeColumns();
    bool selectsRows();
    void closeRows();
    const XSQLVAR& outputColumn(int column) const;

    QString text_;
    Connection* connection_;
    const FirebirdApi* api_;
    StatementHandle handle_;
    SqlDescriptor inputs_;
    SqlDescriptor outputs_;
    std::vector<EncodedParameter> encodedParameters_;
    bool returnsRows_ = false;
    bool rowsOpen_ = false;
};
