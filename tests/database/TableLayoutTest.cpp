#include "StatementText.h"
#include "TableLayout.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QStringList columnNames(const TableLayout& layout)
{
    QStringList names;
    for (const ColumnLayout& column : layout.columns)
        names << column.name;
    return names;
}

QStringList keyNames(const TableLayout& layout)
{
    QStringList names;
    for (const ColumnLayout& column : layout.columns) {
        if (column.key)
            names << column.name;
    }
    return names;
}

// The names between the parentheses that follow "insert into TABLE", before "values".
QStringList insertedColumns(const QStringList& insertTemplate)
{
    const QString text = insertTemplate.mid(1, insertTemplate.indexOf(QStringLiteral("values")) - 1).join(QString());
    QStringList names;
    for (QString name : text.sliced(text.indexOf(u'(') + 1).split(u','))
        names << name.remove(u')').trimmed();
    return names;
}

} // namespace

TEST(TableLayout, ColumnsAndKeysOfBothTables)
{
    EXPECT_EQ(orderTableLayout().columns.size(), 28u);
    EXPECT_EQ(keyNames(orderTableLayout()), QStringList{QStringLiteral("ORC_CODIGO")});
    EXPECT_EQ(itemTableLayout().columns.size(), 31u);
    EXPECT_EQ(keyNames(itemTableLayout()), (QStringList{QStringLiteral("ORC_CODIGO"), QStringLiteral("ITE_SEQU")}));
}

TEST(TableLayout, InsertNamesEveryColumnOnceInColumnOrderAndMarksItsValue)
{
    for (const TableLayout* layout : {&orderTableLayout(), &itemTableLayout()}) {
        const QStringList columns = columnNames(*layout);
        EXPECT_EQ(insertedColumns(layout->insertTemplate), columns) << layout->table.toStdString();
        EXPECT_EQ(withPositionalParameters(statementText(layout->insertTemplate)).parameterNames, columns)
            << layout->table.toStdString();
    }
}

TEST(TableLayout, TemplatesHaveTheirLines)
{
    struct Case {
        const TableLayout& layout;
        QStringList TableLayout::*templateLines;
        qsizetype lineCount;
        qsizetype line;
        const char* text;
    };
    const TableLayout& order = orderTableLayout();
    const TableLayout& item = itemTableLayout();
    const Case cases[] = {
        {order, &TableLayout::selectTemplate, 1, 0, "SELECT * FROM PEDIDOS"},
        {order, &TableLayout::insertTemplate, 14, 0, "insert into PEDIDOS"},
        {order, &TableLayout::insertTemplate, 14, 7, "values"},
        {order, &TableLayout::modifyTemplate, 32, 0, "update PEDIDOS"},
        {order, &TableLayout::modifyTemplate, 32, 1, "set"},
        {order, &TableLayout::modifyTemplate, 32, 2, "  ORC_CODIGO = :ORC_CODIGO,"},
        {order, &TableLayout::modifyTemplate, 32, 29, "  PED_FATURADO = :PED_FATURADO"},
        {order, &TableLayout::modifyTemplate, 32, 30, "where"},
        {order, &TableLayout::modifyTemplate, 32, 31, "  ORC_CODIGO = :OLD_ORC_CODIGO"},
        {order, &TableLayout::deleteTemplate, 3, 0, "delete from PEDIDOS"},
        {order, &TableLayout::deleteTemplate, 3, 2, "  ORC_CODIGO = :OLD_ORC_CODIGO"},
        {order, &TableLayout::refreshTemplate, 32, 0, "Select "},
        {order, &TableLayout::refreshTemplate, 32, 1, "  ORC_CODIGO,"},
        {order, &TableLayout::refreshTemplate, 32, 28, "  PED_FATURADO"},
        {order, &TableLayout::refreshTemplate, 32, 29, "from PEDIDOS "},
        {order, &TableLayout::refreshTemplate, 32, 30, "where"},
        {order, &TableLayout::refreshTemplate, 32, 31, "  ORC_CODIGO = :ORC_CODIGO"},
        {item, &TableLayout::selectTemplate, 1, 0, "SELECT * FROM PEDIDO_ITENS"},
        {item, &TableLayout::insertTemplate, 15, 0, "insert into PEDIDO_ITENS"},
        {item, &TableLayout::insertTemplate, 15, 7, "values"},
        {item, &TableLayout::modifyTemplate, 36, 0, "update PEDIDO_ITENS"},
        {item, &TableLayout::modifyTemplate, 36, 3, "  ITE_SEQU = :ITE_SEQU,"},
        {item, &TableLayout::modifyTemplate, 36, 32, "  PROCESSOUVENDIDO = :PROCESSOUVENDIDO"},
        {item, &TableLayout::modifyTemplate, 36, 33, "where"},
        {item, &TableLayout::modifyTemplate, 36, 34, "  ORC_CODIGO = :OLD_ORC_CODIGO and"},
        {item, &TableLayout::modifyTemplate, 36, 35, "  ITE_SEQU = :OLD_ITE_SEQU"},
        {item, &TableLayout::deleteTemplate, 4, 0, "delete from PEDIDO_ITENS"},
        {item, &TableLayout::deleteTemplate, 4, 1, "where"},
        {item, &TableLayout::deleteTemplate, 4, 2, "  ORC_CODIGO = :OLD_ORC_CODIGO and"},
        {item, &TableLayout::deleteTemplate, 4, 3, "  ITE_SEQU = :OLD_ITE_SEQU"},
        {item, &TableLayout::refreshTemplate, 36, 0, "Select "},
        {item, &TableLayout::refreshTemplate, 36, 31, "  PROCESSOUVENDIDO"},
        {item, &TableLayout::refreshTemplate, 36, 32, "from PEDIDO_ITENS "},
        {item, &TableLayout::refreshTemplate, 36, 34, "  ORC_CODIGO = :ORC_CODIGO and"},
        {item, &TableLayout::refreshTemplate, 36, 35, "  ITE_SEQU = :ITE_SEQU"},
    };
    for (const Case& c : cases) {
        const QStringList& lines = c.layout.*c.templateLines;
        ASSERT_EQ(lines.size(), c.lineCount) << c.text;
        EXPECT_EQ(lines[c.line], QString::fromLatin1(c.text)) << c.layout.table.toStdString() << " line " << c.line;
    }
    // Between their first and last lines, modify and refresh hold one line per column in column order.
    for (const TableLayout* layout : {&order, &item}) {
        const QStringList columns = columnNames(*layout);
        for (qsizetype i = 0; i < columns.size(); ++i) {
            EXPECT_TRUE(layout->modifyTemplate[i + 2].startsWith(QStringLiteral("  %1 = :%1").arg(columns[i])));
            EXPECT_TRUE(layout->refreshTemplate[i + 1].startsWith(QStringLiteral("  %1").arg(columns[i])));
        }
    }
}
