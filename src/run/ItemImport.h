#pragma once

#include <QString>

#include <cstdint>

struct ImportContext;
class RecordSet;

// What an order's items add up to.
struct ItemTotals {
    std::int32_t count = 0;   // items written; also the last ITE_SEQU
    double total = 0;         // sum of the items' ITE_SUBTOTAL
    double stTotal = 0;       // sum of the items' ITE_ST
};

// The tax data that every item of one order is priced with.
struct ItemTaxation {
    QString originUf;
    QString customerUf;
    std::int32_t enquadramento = 0;
};

// Writes every item row of the order into PEDIDO_ITENS, each sent to the database
// right after it is complete, inside the open transaction; moves the item record
// set from its first row to past its last.
ItemTotals importItems(const ImportContext& context, std::int32_t orderNumber, const ItemTaxation& taxation,
                       RecordSet& items);
