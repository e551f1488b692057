#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Order documents as the marketplace writes them, for tests of the import.
struct DocumentItem {
    QString productCode;
    QString quantity;
    QString unitPrice;
};

struct DocumentOrder {
    QString purchaseOrder;
    QString remarks;
    std::vector<DocumentItem> items;
};

QByteArray orderDocument(const QString& cnpj, const std::vector<DocumentOrder>& orders);
