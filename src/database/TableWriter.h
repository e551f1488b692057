#pragma once

#include "ParameterValue.h"
#include "RegionalSettings.h"
#include "TableLayout.h"
#include "TemplateStatement.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class Connection;

// The writer of a table's new rows: `DTPedido` over PEDIDOS, `DTItens` over PEDIDO_ITENS.
// A row is built in memory, posted, and sent by applyUpdates in the connection's default
// transaction. The writer never reads the rows already in the table and, once its rows
// are sent, keeps only the last one for reading back, so its memory and its time per row
// do not depend on how many rows the table holds. The regional settings are read at every
// conversion, so a change of the workstation's settings takes effect at once.
class TableWriter {
public:
    TableWriter(Connection& connection, const TableLayout& layout, const RegionalSettings& regional);

    // Prepares the select and checks the table's columns against it, then prepares the
    // delete, insert, modify and refresh templates; nothing when open. A template the
    // account lacks the permission for is left out; any other failure leaves it closed.
    void open();
    bool isOpen() const noexcept { return open_; }
    // Drops the prepared statements and every row not yet sent; the next open prepares anew.
    // Comes before its connection closes.
    void close() noexcept;

    // How many characters a text column of the open writer holds: the width the table
    // declares, which a site may have made wider than the layout's.
    int textWidth(const QString& column) const;

    // A new row, every column NULL, becomes the current row; a row still being edited is
    // posted first.
    void append();
    // Set a column of the row being edited; a value the column cannot take fails and
    // leaves the column as it was.
    void setText(const QString& column, const QString& text);
    void setInteger(const QString& column, std::int32_t value);
    void setNumber(const QString& column, double value);

    // Read a column of the current row: the row being edited, else the last one posted,
    // else the last one applied (with its stored values when the writer refreshes).
    QString text(const QString& column) const;
    std::int32_t integer(const QString& column) const;
    double number(const QString& column) const;

    // The row being edited becomes pending; every key column must have a value.
    void post();
    // Posts the row being edited, then inserts every pending row in posting order, each
    // read back at once when the table has a default or computed column. A failing insert
    // stops there: that row and the ones after it stay pending.
    void applyUpdates();
    // Drops the row being edited and every pending row; the writer stays open.
    void discardChanges() noexcept;

private:
    using Row = std::vector<ParameterValue>;

    void prepareTemplates();
    void prepareUnlessForbidden(std::optional<TemplateStatement>& target, const QStringList& lines);
    void requireOpen() const;
    void requireInsert() const;
    std::size_t requireColumn(const QString& name) const;
    Row& editedRow();
    const Row& currentRow() const;
    void refreshLastApplied();

    Connection& connection_;
    const TableLayout& layout_;
    // The layout's columns, text widths as the table declares them once the writer is open.
    std::vector<ColumnLayout> columns_;
    const RegionalSettings& regional_;
    bool open_ = false;
    std::optional<TemplateStatement> insert_;   // none when the account may not insert
    std::optional<TemplateStatement> refresh_;  // only for a table with defaults or computed columns
    std::optional<Row> edited_;
    std::deque<Row> pending_;
    Row lastApplied_;
};
