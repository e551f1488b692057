#pragma once

#include "FirebirdApi.h"
#include "ParameterValue.h"
#include "RegionalSettings.h"
#include "SqlDescriptor.h"
#include "StatementHandle.h"

#include <QString>

#include <vector>

class Connection;

// One prepared statement text on a connection, run in the connection's default
// transaction. Freed with the object; it must not outlive its connection.
class Statement {
public:
    // Refuses a text with a quote left open before anything is sent, starts the default
    // transaction when it is not active, then prepares the text in the connection's dialect.
    Statement(Connection& connection, const QString& text);

    Statement(Statement&&) noexcept = default;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int parameterCount() const noexcept { return inputs_.count(); }
    // True for a select: executing it opens its rows for fetching.
    bool returnsRows() const noexcept { return returnsRows_; }
    int columnCount() const noexcept { return outputs_.count(); }

    // Runs the statement with one value for each parameter, in the parameters' order.
    void execute(const std::vector<ParameterValue>& parameters = {});
    // Moves to the next row of an executed select; false when no row is left.
    bool fetch();
    // A column of the current row in the program's text form (NULL gives the empty text).
    QString text(int column, const RegionalSettings& regional) const;

private:
    void describeParameters();
    void describeColumns();
    bool selectsRows();
    void closeRows();

    Connection* connection_;
    const FirebirdApi* api_;
    StatementHandle handle_;
    SqlDescriptor inputs_;
    SqlDescriptor outputs_;
    std::vector<EncodedParameter> encodedParameters_;
    bool returnsRows_ = false;
    bool rowsOpen_ = false;
};
