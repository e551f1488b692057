#include "LargeDocument.h"

#include "ImportDatabases.h"
#include "OrderDocument.h"

QByteArray largeOrderDocument(int orders, int items, const QString& numberPrefix)
{
    std::vector<DocumentOrder> rows;
    for (int i = 1; i <= orders; ++i) {
        DocumentOrder order{QStringLiteral("%1-%2").arg(numberPrefix).arg(i), QStringLiteral("Entregar no período da manhã"), {}};
        for (int j = 1; j <= items; ++j)
            order.items.push_back({j % 2 ? QStringLiteral("123") : QStringLiteral("456"), QStringLiteral("2.5"),
                                   QStringLiteral("19.90")});
        rows.push_back(std::move(order));
    }
    return orderDocument(QString::fromLatin1(ImportDatabases::kCustomerCnpj), rows);
}
