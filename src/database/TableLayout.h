#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <vector>

// What a table writer's column holds: a 32-bit integer, a double, a date, a date with
// a time of day, or a text of at most `length` single-byte characters.
enum class ColumnKind { Integer, Number, Date, DateTime, Text };

struct ColumnLayout {
    QString name;
    ColumnKind kind = ColumnKind::Integer;
    int length = 0;    // text columns only
    bool key = false;  // must have a value when the row is posted; finds the row again
};

// A table as a writer sees it: its columns in order and its five statement templates,
// each a list of lines.
struct TableLayout {
    QString table;
    std::vector<ColumnLayout> columns;
    QStringList selectTemplate;
    QStringList insertTemplate;
    QStringList modifyTemplate;
    QStringList deleteTemplate;
    QStringList refreshTemplate;
};

// The position of the named column, letter case ignored; none when the table lacks it.
std::optional<std::size_t> columnIndex(const TableLayout& layout, const QString& name);

// PEDIDOS, written by `DTPedido`: 28 columns, key ORC_CODIGO.
const TableLayout& orderTableLayout();
// PEDIDO_ITENS, written by `DTItens`: 31 columns, key ORC_CODIGO and ITE_SEQU.
const TableLayout& itemTableLayout();
