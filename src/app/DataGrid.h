#pragma once

#include <QTableView>
#include <QTimer>

#include <utility>
#include <vector>

class RecordSetModel;

// A data grid over a record set, through its data source: one row per record, one column
// per field titled with the field's name and as wide as the field's declared size in
// characters of the grid's font (or as its title, when that is wider). The current
// record's row is the selected row. A row the operator selects makes its record the
// current one, so the grids over its nested record sets show that record's rows. While
// the cursor is held (a run is moving through the record set, record after record) the
// operator selects nothing, and the selection catches up with the current record a few
// dozen times a second: moving it scrolls the grid, which costs a question to the display.
class DataGrid final : public QTableView {
    Q_OBJECT

public:
    explicit DataGrid(QWidget* parent = nullptr);

    RecordSetModel* dataSource() const { return dataSource_; }
    void holdCursor(bool held);

protected:
    void changeEvent(QEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    void followCurrentRecord();
    void selectCurrentRecord();
    void moveToSelectedRow(const QModelIndex& selected);
    void fitToFont();
    void fitColumnsToFields();

    RecordSetModel* dataSource_;
    bool cursorHeld_ = false;
    QTimer catchUp_;
    // The fields (name and declared size) the widths were measured for: a run shows the
    // items of each order in turn, all with the same fields, and measuring titles costs
    // more than showing the rows.
    std::vector<std::pair<QString, int>> measuredFields_;
    std::vector<int> columnWidths_;
};
