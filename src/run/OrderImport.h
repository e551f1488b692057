#pragma once

#include <QString>

struct ImportContext;
class RecordSet;

// Imports the current row of the order record set for the customer, then moves the
// record set to its next row. A new order is recorded whole (order row, items,
// payment instalment) and committed, followed by its e-mail request when the orders
// database asks for one; an order already recorded for the customer changes nothing
// but the back-office order-number generator. When anything fails while a new order
// is being recorded, nothing of it remains: its rows are discarded and the
// transaction goes back to its last commit point before the failure travels on.
void importCurrentOrder(const ImportContext& context, const QString& customerCode, const QString& cleanedCnpj,
                        RecordSet& orders, RecordSet& items);
