#include "RecordSetModel.h"

#include "RecordSet.h"

RecordSetModel::RecordSetModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void RecordSetModel::bind(RecordSet* recordSet)
{
    if (recordSet_)
        recordSet_->disconnect(this);
    beginResetModel();
    recordSet_ = recordSet;
    endResetModel();
    if (recordSet_) {
        connect(recordSet_, &RecordSet::contentReset, this, &RecordSetModel::reset);
        connect(recordSet_, &RecordSet::currentChanged, this, &RecordSetModel::announceCurrentRow);
        connect(recordSet_, &QObject::destroyed, this, [this] { bind(nullptr); });
    }
    announceCurrentRow();
}

int RecordSetModel::rowCount(const QModelIndex& parent) const
{
    return recordSet_ && !parent.isValid() ? static_cast<int>(recordSet_->recordCount()) : 0;
}

int RecordSetModel::columnCount(const QModelIndex& parent) const
{
    return recordSet_ && !parent.isValid() ? recordSet_->fieldCount() : 0;
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !recordSet_ || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return recordSet_->text(index.row(), index.column());
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && recordSet_ && section >= 0
        && section < recordSet_->fieldCount())
        return recordSet_->fieldDefinition(section).name;
    return QAbstractTableModel::headerData(section, orientation, role);
}

void RecordSetModel::reset()
{
    beginResetModel();
    endResetModel();
    announceCurrentRow();
}

void RecordSetModel::announceCurrentRow()
{
    emit currentRowChanged(recordSet_ ? static_cast<int>(recordSet_->currentIndex()) : -1);
}
