#include "DataGrid.h"

#include "RecordSet.h"
#include "RecordSetModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int kCatchUpIntervalMs = 40;

} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent)
    , dataSource_(new RecordSetModel(this))
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // One line of text per row; what does not fit its column is cut.
    setWordWrap(false);
    setModel(dataSource_);
    fitToFont();
    // After the grid's own handling of a reset, which gives every column the default width.
    connect(dataSource_, &QAbstractItemModel::modelReset, this, &DataGrid::fitColumnsToFields);
    connect(dataSource_, &RecordSetModel::currentRowChanged, this, &DataGrid::followCurrentRecord);
    catchUp_.setSingleShot(true);
    catchUp_.setInterval(kCatchUpIntervalMs);
    connect(&catchUp_, &QTimer::timeout, this, &DataGrid::selectCurrentRecord);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &DataGrid::moveToSelectedRow);
}

QItemSelectionModel::SelectionFlags DataGrid::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    // The operator's clicks and keys select nothing while the run's cursor holds the record set.
    if (cursorHeld_ && event != nullptr)
        return QItemSelectionModel::NoUpdate;
    return QTableView::selectionCommand(index, event);
}

void DataGrid::holdCursor(bool held)
{
    cursorHeld_ = held;
    if (!held)
        selectCurrentRecord();
}

void DataGrid::followCurrentRecord()
{
    if (!cursorHeld_)
        selectCurrentRecord();
    else if (!catchUp_.isActive())
        catchUp_.start();
}

void DataGrid::selectCurrentRecord()
{
    const RecordSet* records = dataSource_->recordSet();
    if (records == nullptr || records->currentIndex() < 0)
        clearSelection();
    else
        selectRow(static_cast<int>(records->currentIndex()));
}

void DataGrid::moveToSelectedRow(const QModelIndex& selected)
{
    RecordSet* records = dataSource_->recordSet();
    if (records == nullptr || !selected.isValid() || selected.row() == records->currentIndex())
        return;
    if (cursorHeld_)
        selectRow(static_cast<int>(records->currentIndex()));
    else
        records->moveTo(selected.row());
}

void DataGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitToFont();
}

void DataGrid::fitToFont()
{
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    measuredFields_.clear();
    fitColumnsToFields();
}

void DataGrid::fitColumnsToFields()
{
    const RecordSet* records = dataSource_->recordSet();
    if (records == nullptr)
        return;
    std::vector<std::pair<QString, int>> fields;
    for (int column = 0; column < records->fieldCount(); ++column)
        fields.emplace_back(records->fieldDefinition(column).name, records->fieldDefinition(column).width);
    if (fields != measuredFields_) {
        measuredFields_ = std::move(fields);
        const int characterWidth = fontMetrics().horizontalAdvance(u'0');
        // A cell keeps a margin of text on either side, and the grid line takes a pixel.
        const int cellMargins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
        columnWidths_.clear();
        for (int column = 0; column < records->fieldCount(); ++column) {
            const int declared = measuredFields_[static_cast<size_t>(column)].second * characterWidth + cellMargins;
            columnWidths_.push_back(std::max(declared, horizontalHeader()->sectionSizeHint(column)));
        }
    }
    for (size_t column = 0; column < columnWidths_.size(); ++column)
        setColumnWidth(static_cast<int>(column), columnWidths_[column]);
}
