#include "HeaderImport.h"

#include "Error.h"
#include "FailurePolicy.h"
#include "ImportContext.h"
#include "RecordFields.h"
#include "RecordSet.h"
#include "RunHost.h"
#include "StatementText.h"
#include "Text.h"

namespace {

QString cleanedCnpj(QString cnpj)
{
    cnpj.remove(u'/');
    cnpj.remove(u'-');
    cnpj.remove(u'.');
    return cnpj;
}

QStringList purchaseOrdersOf(RecordSet& orders)
{
    QStringList numbers;
    for (orders.first(); !orders.eof(); orders.next())
        numbers << orders.field(OrderField::OrdemDeCompra).asText();
    return numbers;
}

} // namespace

QString orderFailureSubject(const QString& document, const QStringList& purchaseOrders)
{
    return (purchaseOrders.size() == 1 ? QStringLiteral("Falha no pedido %1 do documento %2")
                                       : QStringLiteral("Falha nos pedidos %1 do documento %2"))
        .arg(purchaseOrders.join(QStringLiteral(", ")), document);
}

DocumentOrders importHeaderRows(const ImportContext& context, RunHost& host, RecordSet& header,
                                const QString& document, RunTally& tally)
{
    DocumentOrders result;
    RecordSet& orders = header.nestedRecordSet(HeaderField::Pedido);
    RecordSet& items = orders.nestedRecordSet(OrderField::Item);
    for (header.first(); !header.eof(); header.next()) {
        if (host.stopRequested()) {
            result.stopped = true;
            return result;
        }
        const QString cnpj = cleanedCnpj(header.field(HeaderField::Cnpj).asText());
        QString customerCode;
        // Orders of a customer the back office does not know yet stay pending until it does.
        const auto subject = [&] { return orderFailureSubject(document, purchaseOrdersOf(orders)); };
        const bool customerFound = attempt(host, subject, [&] {
            customerCode = trimmed(context.lookup(QStringLiteral("CLI_FOR"), QStringLiteral("CLI_CODIGO"),
                                                  QStringLiteral("CLI_CNPJ = '") + withQuotesDoubled(cnpj)
                                                      + QStringLiteral("'"),
                                                  context.database.BaseADM));
            host.log(customerCode);
            orders.first();
            if (customerCode.isEmpty() && !orders.eof())
                throw Error(QStringLiteral("no customer with CNPJ %1").arg(cnpj));
        });
        if (!customerFound || customerCode.isEmpty()) {
            for (const QString& purchaseOrder : purchaseOrdersOf(orders)) {
                result.failedOrders << purchaseOrder;
                tally.addFailure();
            }
            continue;
        }
        host.processEvents();
        for (orders.first(); !orders.eof(); orders.next()) {
            if (host.stopRequested()) {
                result.stopped = true;
                return result;
            }
            const QString purchaseOrder = orders.field(OrderField::OrdemDeCompra).asText();
            OrderOutcome outcome = OrderOutcome::Recorded;
            if (attempt(host, [&] { return orderFailureSubject(document, {purchaseOrder}); },
                        [&] { outcome = importOrder(context, customerCode, cnpj, orders, items); })) {
                tally.add(outcome);
            } else {
                result.failedOrders << purchaseOrder;
                tally.addFailure();
            }
        }
    }
    return result;
}
