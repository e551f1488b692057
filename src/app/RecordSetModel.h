#pragma once

#include <QAbstractTableModel>
#include <QPointer>

class RecordSet;

// A data source: shows a record set in a grid, one column per field titled with the field's
// name and one row per record, and follows the record set as it moves or is reloaded.
class RecordSetModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit RecordSetModel(QObject* parent = nullptr);

    // Shows this record set from now on; null shows nothing.
    void bind(RecordSet* recordSet);
    RecordSet* recordSet() const { return recordSet_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The row of the record set's current record; -1 when it has none.
    void currentRowChanged(int row);

private:
    void reset();
    void announceCurrentRow();

    QPointer<RecordSet> recordSet_;
};
