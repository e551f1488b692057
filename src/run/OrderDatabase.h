#pragma once

#include "Connection.h"
#include "FirebirdClient.h"
#include "RegionalSettings.h"
#include "StatementRunner.h"
#include "TableWriter.h"
#include "Transaction.h"

// The database components that live as long as the window: both connections, signed
// in with one account, the one transaction over them, the two row writers and the
// statement runner.
// Members are destroyed in reverse order: the writers and the runner release their
// statements first, then `BaseADM` closes, committing `TR` fully, then `BasePedidos`.
struct OrderDatabase {
    OrderDatabase(const RegionalSettings& regional, const DatabaseAccount& account,
                  const QString& clientLibrary = defaultClientLibraryName())
        : client(clientLibrary)
        , BasePedidos(client, TR, account)
        , BaseADM(client, TR, account)
        , DTPedido(BasePedidos, orderTableLayout(), regional)
        , DTItens(BasePedidos, itemTableLayout(), regional)
        , IBQuery1(BasePedidos)
    {
    }

    // Closes the connection as the program's end would: the statements bound to it go
    // first, then the transaction over both databases ends (a full commit: between runs
    // nothing of an order is pending), then the attachment.
    void closeConnection(Connection& connection) noexcept
    {
        if (&connection == &BasePedidos) {
            DTPedido.close();
            DTItens.close();
        }
        TR.end();
        connection.close();
    }

    FirebirdClient client;
    Transaction TR{client};
    Connection BasePedidos;
    Connection BaseADM;
    TableWriter DTPedido;
    TableWriter DTItens;
    StatementRunner IBQuery1;
};
