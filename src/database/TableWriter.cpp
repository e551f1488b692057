#include "TableWriter.h"

#include "ColumnCheck.h"
#include "ColumnConversion.h"
#include "DatabaseError.h"
#include "Statement.h"
#include "StatementText.h"
#include "TableDefaults.h"

namespace {

const QString kNotEditing = QStringLiteral("Dataset not in edit or insert mode");

bool isNull(const ParameterValue& value)
{
    return std::holds_alternative<SqlNull>(value);
}

// A stored CHAR value comes padded with blanks to its length; the writer reads it without them.
ParameterValue storedValue(const Statement& select, int column)
{
    ParameterValue value = select.value(column);
    if (auto* text = std::get_if<QString>(&value); text != nullptr && select.column(column).type == SQL_TEXT) {
        while (text->endsWith(u' '))
            text->chop(1);
    }
    return value;
}

} // namespace

TableWriter::TableWriter(Connection& connection, const TableLayout& layout, const RegionalSettings& regional)
    : connection_(connection)
    , layout_(layout)
    , columns_(layout.columns)
    , regional_(regional)
    , lastApplied_(layout.columns.size(), SqlNull{})
{
}

void TableWriter::open()
{
    if (open_)
        return;
    try {
        prepareTemplates();
    } catch (...) {
        insert_.reset();
        refresh_.reset();
        throw;
    }
    open_ = true;
}

void TableWriter::close() noexcept
{
    discardChanges();
    insert_.reset();
    refresh_.reset();
    open_ = false;
}

int TableWriter::textWidth(const QString& name) const
{
    return columns_[requireColumn(name)].length;
}

void TableWriter::append()
{
    requireOpen();
    if (edited_)
        post();
    edited_.emplace(columns_.size(), SqlNull{});
}

void TableWriter::setText(const QString& name, const QString& text)
{
    const std::size_t index = requireColumn(name);
    Row& row = editedRow();
    row[index] = valueFromText(columns_[index], text, regional_);
}

void TableWriter::setInteger(const QString& name, std::int32_t value)
{
    const std::size_t index = requireColumn(name);
    Row& row = editedRow();
    row[index] = valueFromInteger(columns_[index], value);
}

void TableWriter::setNumber(const QString& name, double value)
{
    const std::size_t index = requireColumn(name);
    Row& row = editedRow();
    row[index] = valueFromNumber(columns_[index], value);
}

QString TableWriter::text(const QString& name) const
{
    const std::size_t index = requireColumn(name);
    return valueAsText(columns_[index], currentRow()[index], regional_);
}

std::int32_t TableWriter::integer(const QString& name) const
{
    const std::size_t index = requireColumn(name);
    return valueAsInteger(columns_[index], currentRow()[index]);
}

double TableWriter::number(const QString& name) const
{
    const std::size_t index = requireColumn(name);
    return valueAsNumber(columns_[index], currentRow()[index]);
}

void TableWriter::post()
{
    requireOpen();
    if (!edited_)
        throw Error(kNotEditing);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].key && isNull((*edited_)[i]))
            throw Error(QStringLiteral("Field '%1' must have a value").arg(columns_[i].name));
    }
    pending_.push_back(std::move(*edited_));
    edited_.reset();
}

void TableWriter::applyUpdates()
{
    requireOpen();
    if (edited_)
        post();
    if (pending_.empty())
        return;
    requireInsert();
    while (!pending_.empty()) {
        insert_->execute(pending_.front());
        // From here the row belongs to the transaction and must never be sent again.
        lastApplied_ = std::move(pending_.front());
        pending_.pop_front();
        if (refresh_)
            refreshLastApplied();
    }
}

void TableWriter::discardChanges() noexcept
{
    edited_.reset();
    pending_.clear();
}

void TableWriter::prepareTemplates()
{
    {
        // Prepared only to learn the table's columns: the writer never reads its rows.
        Statement select(connection_, statementText(layout_.selectTemplate));
        const std::vector<ColumnDescription> described = checkTableColumns(layout_, select);
        // Text is cut to what the table holds, so a column made wider keeps whole values.
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (columns_[i].kind == ColumnKind::Text)
                columns_[i].length = described[i].length;
        }
    }
    // Prepared to prove they fit the table, then dropped: the writer never changes or deletes rows.
    std::optional<TemplateStatement> unused;
    prepareUnlessForbidden(unused, layout_.deleteTemplate);
    prepareUnlessForbidden(insert_, layout_.insertTemplate);
    prepareUnlessForbidden(unused, layout_.modifyTemplate);
    prepareUnlessForbidden(refresh_, layout_.refreshTemplate);
    if (!hasDefaultOrComputedColumn(connection_, layout_.table))
        refresh_.reset();
}

void TableWriter::prepareUnlessForbidden(std::optional<TemplateStatement>& target, const QStringList& lines)
{
    try {
        target.emplace(connection_, lines, layout_);
    } catch (const DatabaseError& error) {
        // A failed emplace leaves the target empty: that kind of statement stays disabled.
        if (!error.hasCode(isc_no_priv))
            throw;
    }
}

void TableWriter::requireOpen() const
{
    if (!open_)
        throw Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void TableWriter::requireInsert() const
{
    if (!insert_)
        throw Error(QStringLiteral("Cannot insert into dataset. (No insert query)"));
}

std::size_t TableWriter::requireColumn(const QString& name) const
{
    requireOpen();
    const auto index = columnIndex(layout_, name);
    if (!index)
        throw Error(QStringLiteral("Field '%1' not found").arg(name));
    return *index;
}

TableWriter::Row& TableWriter::editedRow()
{
    if (!edited_)
        throw Error(kNotEditing);
    requireInsert();
    return *edited_;
}

const TableWriter::Row& TableWriter::currentRow() const
{
    if (edited_)
        return *edited_;
    if (!pending_.empty())
        return pending_.back();
    return lastApplied_;
}

void TableWriter::refreshLastApplied()
{
    refresh_->execute(lastApplied_);
    Statement& select = refresh_->statement();
    // A row that a trigger moved to other keys keeps the values it was sent with.
    if (!select.fetch())
        return;
    // The refresh template lists the layout's columns in the layout's order.
    for (std::size_t i = 0; i < lastApplied_.size(); ++i)
        lastApplied_[i] = storedValue(select, static_cast<int>(i));
}
