#include "Transaction.h"

#include "Connection.h"
#include "Error.h"
#include "FirebirdClient.h"
#include "StatusVector.h"

#include <algorithm>

namespace {

// One entry per database of isc_start_multiple.
struct TransactionExistenceBlock {
    isc_db_handle* database;
    ISC_LONG parameterBlockLength;
    const char* parameterBlock;
};

} // namespace

Transaction::Transaction(const FirebirdClient& client)
    : api_(client.api())
{
}

Transaction::~Transaction()
{
    end();
    for (Connection* connection : connections_)
        connection->transaction_ = nullptr;
}

QByteArray Transaction::parameterBlock()
{
    static const char block[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version};
    return QByteArray(block, sizeof block);
}

void Transaction::ensureStarted()
{
    if (isActive())
        return;
    if (std::any_of(connections_.begin(), connections_.end(), [](const Connection* c) { return !c->isOpen(); }))
        throw Error(QStringLiteral("Cannot perform operation -- DB is not open"));

    const QByteArray block = parameterBlock();
    std::vector<TransactionExistenceBlock> databases;
    for (Connection* connection : connections_)
        databases.push_back({connection->handle(), static_cast<ISC_LONG>(block.size()), block.constData()});
    StatusVector status(api_);
    api_.isc_start_multiple(status.get(), &handle_, static_cast<short>(databases.size()), databases.data());
    if (status.failed())
        handle_ = 0;
    status.throwIfFailed();
}

void Transaction::commitRetaining()
{
    throwUnlessActive();
    checkedCall(api_, api_.isc_commit_retaining, &handle_);
}

void Transaction::rollbackRetaining()
{
    throwUnlessActive();
    checkedCall(api_, api_.isc_rollback_retaining, &handle_);
}

void Transaction::end() noexcept
{
    if (!isActive())
        return;
    StatusVector commitStatus(api_);
    api_.isc_commit_transaction(commitStatus.get(), &handle_);
    if (commitStatus.failed()) {
        StatusVector rollbackStatus(api_);
        api_.isc_rollback_transaction(rollbackStatus.get(), &handle_);
    }
    // Whatever the library answered, this transaction is over for the program.
    handle_ = 0;
}

void Transaction::add(Connection& connection)
{
    connections_.push_back(&connection);
}

void Transaction::remove(Connection& connection) noexcept
{
    std::erase(connections_, &connection);
}

void Transaction::throwUnlessActive() const
{
    if (!isActive())
        throw Error(QStringLiteral("Transaction is not active"));
}
