#include "Statement.h"

#include "ColumnText.h"
#include "ColumnValue.h"
#include "Connection.h"
#include "Error.h"
#include "StatementText.h"
#include "StatusVector.h"
#include "Transaction.h"
#include "Windows1252.h"

#include <array>

namespace {

// Enough for the statements of the program; a wider one is described again.
constexpr int kInitialVariables = 16;
constexpr ISC_STATUS kNoMoreRows = 100;

} // namespace

Statement::Statement(Connection& connection, const QString& text)
    : text_(text)
    , connection_(&connection)
    , api_(&connection.api())
    , handle_(connection.api())
    , inputs_(kInitialVariables)
    , outputs_(kInitialVariables)
{
    throwIfQuoteLeftOpen(text);
    Transaction& transaction = connection.defaultTransaction();
    transaction.ensureStarted();

    checkedCall(*api_, api_->isc_dsql_alloc_statement2, connection.handle(), handle_.get());
    // A length of 0 makes the library read the text up to its terminating NUL.
    const QByteArray bytes = toWindows1252(text);
    checkedCall(*api_, api_->isc_dsql_prepare, transaction.handle(), handle_.get(), 0, bytes.constData(),
                static_cast<unsigned short>(connection.dialect()), outputs_.get());
    describeColumns();
    describeParameters();
    returnsRows_ = selectsRows();
}

namespace {

Statement::ExecutionObserver& executionObserver()
{
    static Statement::ExecutionObserver observer;
    return observer;
}

} // namespace

void Statement::observeExecutions(ExecutionObserver observer)
{
    executionObserver() = std::move(observer);
}

void Statement::execute(const std::vector<ParameterValue>& parameters)
{
    if (static_cast<int>(parameters.size()) != parameterCount()) {
        throw Error(QStringLiteral("The statement has %1 parameters; %2 values were given")
                        .arg(parameterCount())
                        .arg(parameters.size()));
    }
    if (executionObserver())
        executionObserver()(text_);
    closeRows();
    encodedParameters_.resize(parameters.size());
    for (std::size_t i = 0; i < parameters.size(); ++i)
        bindParameter(*api_, inputs_.variable(static_cast<int>(i)), parameters[i], encodedParameters_[i]);

    checkedCall(*api_, api_->isc_dsql_execute, connection_->defaultTransaction().handle(), handle_.get(),
                static_cast<unsigned short>(connection_->dialect()), inputs_.get());
    rowsOpen_ = returnsRows_;
}

bool Statement::fetch()
{
    return checkedCall(*api_, api_->isc_dsql_fetch, handle_.get(), static_cast<unsigned short>(connection_->dialect()),
                       outputs_.get())
        != kNoMoreRows;
}

QString Statement::text(int column, const RegionalSettings& regional) const
{
    return columnText(*api_, outputColumn(column), regional);
}

ParameterValue Statement::value(int column) const
{
    return columnValue(*api_, outputColumn(column));
}

ColumnDescription Statement::column(int column) const
{
    const XSQLVAR& variable = outputColumn(column);
    return {QString::fromLatin1(variable.aliasname, variable.aliasname_length), variable.sqltype & ~1,
            variable.sqlscale, variable.sqllen};
}

const XSQLVAR& Statement::outputColumn(int column) const
{
    if (column < 0 || column >= columnCount())
        throw Error(QStringLiteral("List index out of bounds (%1)").arg(column));
    return outputs_.variable(column);
}

void Statement::describeColumns()
{
    if (outputs_.count() > outputs_.capacity()) {
        outputs_ = SqlDescriptor(outputs_.count());
        checkedCall(*api_, api_->isc_dsql_describe, handle_.get(), SQLDA_VERSION1, outputs_.get());
    }
    outputs_.allocateBuffers();
}

void Statement::describeParameters()
{
    checkedCall(*api_, api_->isc_dsql_describe_bind, handle_.get(), SQLDA_VERSION1, inputs_.get());
    if (inputs_.count() > inputs_.capacity()) {
        inputs_ = SqlDescriptor(inputs_.count());
        checkedCall(*api_, api_->isc_dsql_describe_bind, handle_.get(), SQLDA_VERSION1, inputs_.get());
    }
}

bool Statement::selectsRows()
{
    const char items[] = {isc_info_sql_stmt_type};
    std::array<char, 16> reply{};
    checkedCall(*api_, api_->isc_dsql_sql_info, handle_.get(), static_cast<short>(sizeof items), items,
                static_cast<short>(reply.size()), reply.data());
    if (reply[0] != isc_info_sql_stmt_type)
        return false;
    const auto length = static_cast<short>(api_->isc_vax_integer(&reply[1], 2));
    const auto type = api_->isc_vax_integer(&reply[3], length);
    return type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
}

void Statement::closeRows()
{
    if (!rowsOpen_)
        return;
    StatusVector status(*api_);
    api_->isc_dsql_free_statement(status.get(), handle_.get(), DSQL_close);
    rowsOpen_ = false;
    status.throwIfFailed();
}
