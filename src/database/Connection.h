#pragma once

#include "DatabaseAccount.h"
#include "FirebirdApi.h"

#include <QByteArray>
#include <QString>

class FirebirdClient;
class Transaction;

// One database attachment, signed in with its account. Its statements run in its
// default transaction. Destroying an open connection ends that transaction when it is
// active (full commit) and then detaches.
class Connection {
public:
    Connection(const FirebirdClient& client, Transaction& defaultTransaction,
               DatabaseAccount account = kBuiltInDatabaseAccount);
    ~Connection();

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& location() const noexcept { return location_; }
    // The same location again changes nothing; another one is refused while open.
    void setLocation(const QString& location);
    // Attaches unless open already; the location goes to the library unchanged.
    void open();
    bool isOpen() const noexcept { return handle_ != 0; }
    // Asks the server whether the attachment still holds: false once the connection is
    // lost (a server restarted, a network gone) or the database was shut down.
    bool isAlive();
    // Detaches. The default transaction must have ended and the statements on this
    // connection must be gone; an attachment the server dropped is let go all the same.
    void close() noexcept;
    // 3, or the database's own dialect when that is lower.
    int dialect() const noexcept { return dialect_; }

    Transaction& defaultTransaction() const;
    const FirebirdApi& api() const noexcept { return api_; }
    isc_db_handle* handle() noexcept { return &handle_; }

private:
    friend class Transaction;
    int databaseDialect();

    const FirebirdApi& api_;
    Transaction* transaction_;
    DatabaseAccount account_;
    QString location_;
    isc_db_handle handle_ = 0;
    int dialect_ = SQL_DIALECT_V6;
};
