#pragma once

#include <QString>

struct ImportContext;
class RecordSet;

enum class OrderOutcome { Recorded, AlreadyRecorded };

// Imports the current row of the order record set for the customer. An order already
// recorded for the customer changes nothing. A new order draws its number from the
// back office and is recorded whole (order row, items, payment instalment) and
// committed, followed by its e-mail request when the orders database asks for one.
// When anything fails while a new order is being recorded, nothing of it remains: its
// rows are discarded and the transaction goes back to its last commit point before the
// failure travels on.
OrderOutcome importOrder(const ImportContext& context, const QString& customerCode, const QString& cleanedCnpj,
                         const RecordSet& orders, RecordSet& items);
