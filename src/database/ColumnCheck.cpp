#include "ColumnCheck.h"

#include "Error.h"

namespace {

QString typeName(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Integer: return QStringLiteral("Integer");
    case ColumnKind::Number: return QStringLiteral("Float");
    case ColumnKind::Date: return QStringLiteral("Date");
    case ColumnKind::DateTime: return QStringLiteral("DateTime");
    case ColumnKind::Text: return QStringLiteral("String");
    }
    Q_UNREACHABLE();
}

QString typeName(const ColumnDescription& column)
{
    switch (column.type) {
    case SQL_TEXT:
    case SQL_VARYING: return QStringLiteral("String");
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return QStringLiteral("Float");
    case SQL_TYPE_DATE: return QStringLiteral("Date");
    case SQL_TYPE_TIME: return QStringLiteral("Time");
    case SQL_TIMESTAMP: return QStringLiteral("DateTime");
    case SQL_BLOB: return QStringLiteral("Blob");
    case SQL_BOOLEAN: return QStringLiteral("Boolean");
    default: break;
    }
    // Whole numbers with decimal places are exact decimals, whatever their width.
    if (column.scale != 0 && (column.type == SQL_SHORT || column.type == SQL_LONG || column.type == SQL_INT64))
        return QStringLiteral("BCD");
    switch (column.type) {
    case SQL_SHORT: return QStringLiteral("Smallint");
    case SQL_LONG: return QStringLiteral("Integer");
    case SQL_INT64: return QStringLiteral("Largeint");
    default: return QStringLiteral("Unknown");
    }
}

} // namespace

std::vector<ColumnDescription> checkTableColumns(const TableLayout& layout, const Statement& select)
{
    std::vector<ColumnDescription> descriptions;
    for (const ColumnLayout& column : layout.columns) {
        int found = 0;
        while (found < select.columnCount() && select.column(found).name.compare(column.name, Qt::CaseInsensitive) != 0)
            ++found;
        if (found == select.columnCount())
            throw Error(QStringLiteral("Field '%1' not found").arg(column.name));
        const QString expected = typeName(column.kind);
        const QString actual = typeName(select.column(found));
        if (actual != expected) {
            throw Error(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                            .arg(column.name, expected, actual));
        }
        descriptions.push_back(select.column(found));
    }
    return descriptions;
}
