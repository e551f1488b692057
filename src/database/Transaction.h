#pragma once

#include "FirebirdApi.h"

#include <QByteArray>

#include <vector>

class Connection;
class FirebirdClient;

// The transaction that spans every connection naming it as their default. The first
// statement on any of them starts it over all of them at once; commit retaining and
// rollback retaining keep it active; it ends only when one of its connections closes
// or when it is destroyed, with a full commit (a rollback should that commit fail).
class Transaction {
public:
    explicit Transaction(const FirebirdClient& client);
    ~Transaction();

    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Read committed, record versions: the 3 bytes sent for each database.
    static QByteArray parameterBlock();

    bool isActive() const noexcept { return handle_ != 0; }
    // Starts the transaction over all its connections unless it is active already.
    void ensureStarted();
    // Makes all work so far permanent on every database; the transaction stays active.
    void commitRetaining();
    // Discards all work since the last commit point; the transaction stays active.
    void rollbackRetaining();
    // Full commit of an active transaction, rolled back instead when the commit fails.
    void end() noexcept;

    isc_tr_handle* handle() noexcept { return &handle_; }

private:
    friend class Connection;
    void add(Connection& connection);
    void remove(Connection& connection) noexcept;
    void throwUnlessActive() const;

    const FirebirdApi& api_;
    std::vector<Connection*> connections_;
    isc_tr_handle handle_ = 0;
};
