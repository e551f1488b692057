#pragma once

#include "DatabaseTest.h"
#include "Error.h"
#include "SideConnection.h"
#include "TableWriter.h"

#include "QtPrinters.h"

// The order and item writers over the test's orders database, declared after the
// connections so that they are released first, as in the main window.
class WriterTest : public DatabaseTest {
protected:
    // What another attachment sees committed in the orders database.
    std::vector<SideRow> committed(const QString& sql)
    {
        SideConnection side(databases.ordersPath());
        return side.rows(sql);
    }

    void alterOrders(const QStringList& statements)
    {
        SideConnection side(databases.ordersPath());
        for (const QString& statement : statements)
            side.execute(statement);
    }

    // The message of the failure that the action raises.
    template <typename Action>
    static QString failureOf(Action action)
    {
        try {
            action();
        } catch (const Error& error) {
            return error.message();
        }
        return QStringLiteral("(no failure)");
    }

    TableWriter DTPedido{BasePedidos, orderTableLayout(), regional};
    TableWriter DTItens{BasePedidos, itemTableLayout(), regional};
};
