#pragma once

#include <QByteArray>
#include <QString>

// An order document of the demo customer with `orders` orders of `items` items each,
// numbered prefix-1, prefix-2, ...: the document every import benchmark reads.
QByteArray largeOrderDocument(int orders, int items, const QString& numberPrefix = QStringLiteral("NOVO"));
