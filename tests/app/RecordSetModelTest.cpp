#include "HeaderRecordSet.h"
#include "OrderDocumentReader.h"
#include "RecordFields.h"
#include "RecordSetModel.h"
#include "TransformationFile.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class DataSources : public testing::Test {
protected:
    void SetUp() override
    {
        salvaxtr(folder.filePath(QStringLiteral("ToDp.xtr")));
        provider.setTransformationFile(folder.filePath(QStringLiteral("ToDp.xtr")));
        provider.setXmlDataFile(QStringLiteral(DOCUMENT_FIXTURES "/complete.xml"));
    }

    static QString cell(const RecordSetModel& model, int row, int column)
    {
        return model.data(model.index(row, column)).toString();
    }

    static QStringList titles(const RecordSetModel& model)
    {
        QStringList names;
        for (int column = 0; column < model.columnCount(); ++column)
            names += model.headerData(column, Qt::Horizontal).toString();
        return names;
    }

    QTemporaryDir folder;
    OrderDocumentReader provider;
    HeaderRecordSet header{provider, tarveloHeaderFields()};
};

} // namespace

TEST_F(DataSources, ShowTheFieldsAndRecordsOfTheirRecordSet)
{
    RecordSetModel source;
    source.bind(&header);
    EXPECT_EQ(titles(source), QStringList({"versao", "nome", "cnpj", "pedido"}));
    EXPECT_EQ(source.rowCount(), 0);

    QSignalSpy resets(&source, &QAbstractItemModel::modelReset);
    header.open();
    EXPECT_EQ(resets.count(), 1);
    ASSERT_EQ(source.rowCount(), 1);
    EXPECT_EQ(cell(source, 0, 1), QStringLiteral("Tarvelo Marketplace"));
    EXPECT_EQ(cell(source, 0, 3), QString());

    header.close();
    EXPECT_EQ(source.rowCount(), 0);
    EXPECT_EQ(source.columnCount(), 4);
}

TEST_F(DataSources, FollowTheMovesOfTheRecordSetsTheyShow)
{
    header.open();
    RecordSet& orders = header.nestedRecordSet(HeaderField::Pedido);
    RecordSetModel orderSource;
    RecordSetModel itemSource;
    orderSource.bind(&orders);
    itemSource.bind(&orders.nestedRecordSet(OrderField::Item));
    EXPECT_EQ(titles(itemSource).join(u','),
              QStringLiteral("id_produto,codigo_produto,descricao,quantidade,valor_unitario,valor_total"));
    EXPECT_EQ(orderSource.rowCount(), 2);
    EXPECT_EQ(itemSource.rowCount(), 2);

    QSignalSpy currentOrder(&orderSource, &RecordSetModel::currentRowChanged);
    QSignalSpy currentItem(&itemSource, &RecordSetModel::currentRowChanged);
    orders.next();
    ASSERT_EQ(currentOrder.count(), 1);
    EXPECT_EQ(currentOrder.at(0).at(0).toInt(), 1);
    EXPECT_EQ(itemSource.rowCount(), 1);
    EXPECT_EQ(cell(itemSource, 0, 2), QStringLiteral("Borracha"));
    ASSERT_EQ(currentItem.count(), 1);
    EXPECT_EQ(currentItem.at(0).at(0).toInt(), 0);
}

TEST_F(DataSources, ShowNothingOnceTheirRecordSetIsGone)
{
    RecordSetModel source;
    {
        OrderDocumentReader otherProvider;
        HeaderRecordSet shortLived(otherProvider, tarveloHeaderFields());
        source.bind(&shortLived);
        EXPECT_EQ(source.columnCount(), 4);
    }
    EXPECT_EQ(source.recordSet(), nullptr);
    EXPECT_EQ(source.columnCount(), 0);
}
