#pragma once

#include "RunTally.h"

#include <QString>
#include <QStringList>

struct ImportContext;
class RecordSet;
class RunHost;

// What became of the orders of one loaded document.
struct DocumentOrders {
    QStringList failedOrders;   // purchase-order numbers that could not be recorded
    bool stopped = false;       // the program was asked to end before one of its orders
};

// Imports every order of every header row of a loaded document, for the customer that
// the row's CNPJ finds in the back office. A CNPJ that finds no customer fails all the
// row's orders. Failures follow the run's failure policy; the tally counts every order.
DocumentOrders importHeaderRows(const ImportContext& context, RunHost& host, RecordSet& header,
                                const QString& document, RunTally& tally);

// "Falha no pedido 4501 do documento <document>", "Falha nos pedidos 4501, 4502 ...".
QString orderFailureSubject(const QString& document, const QStringList& purchaseOrders);
