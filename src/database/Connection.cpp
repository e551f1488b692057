#include "Connection.h"

#include "Error.h"
#include "FirebirdClient.h"
#include "StatusVector.h"
#include "Transaction.h"

#include <algorithm>
#include <array>
#include <utility>

Connection::Connection(const FirebirdClient& client, Transaction& defaultTransaction, DatabaseAccount account)
    : api_(client.api())
    , transaction_(&defaultTransaction)
    , account_(std::move(account))
{
    transaction_->add(*this);
}

Connection::~Connection()
{
    if (isOpen() && transaction_ != nullptr)
        transaction_->end();
    close();
    if (transaction_ != nullptr)
        transaction_->remove(*this);
}

bool Connection::isAlive()
{
    if (!isOpen())
        return false;
    StatusVector status(api_);
    api_.fb_ping(status.get(), &handle_);
    return !status.failed();
}

void Connection::close() noexcept
{
    if (!isOpen())
        return;
    // Nobody is left to hear of a failed detach: the library releases the attachment anyway.
    StatusVector status(api_);
    api_.isc_detach_database(status.get(), &handle_);
    handle_ = 0;
}

void Connection::setLocation(const QString& location)
{
    if (location == location_)
        return;
    if (isOpen())
        throw Error(QStringLiteral("Cannot perform operation -- DB is currently open"));
    location_ = location;
}

void Connection::open()
{
    if (isOpen())
        return;
    if (location_.isEmpty())
        throw Error(QStringLiteral("Database name is missing"));

    const QByteArray name = location_.toLocal8Bit();
    const QByteArray parameters = attachParameterBlock(account_);
    StatusVector status(api_);
    // A name length of 0 makes the library read the name up to its terminating NUL.
    api_.isc_attach_database(status.get(), 0, name.constData(), &handle_, static_cast<short>(parameters.size()),
                             parameters.constData());
    if (status.failed())
        handle_ = 0;
    status.throwIfFailed();
    dialect_ = std::min(int{SQL_DIALECT_V6}, databaseDialect());
}

Transaction& Connection::defaultTransaction() const
{
    if (transaction_ == nullptr)
        throw Error(QStringLiteral("Transaction not assigned"));
    return *transaction_;
}

int Connection::databaseDialect()
{
    const char items[] = {isc_info_db_sql_dialect, isc_info_end};
    std::array<char, 32> reply{};
    StatusVector status(api_);
    api_.isc_database_info(status.get(), &handle_, sizeof items, items, static_cast<short>(reply.size()),
                           reply.data());
    // A database that gives no dialect is an old one: dialect 1.
    if (status.failed() || reply[0] != isc_info_db_sql_dialect)
        return 1;
    const auto length = static_cast<short>(api_.isc_vax_integer(&reply[1], 2));
    return static_cast<int>(api_.isc_vax_integer(&reply[3], length));
}
