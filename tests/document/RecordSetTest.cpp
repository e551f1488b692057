#include "Error.h"
#include "OrderReader.h"

#include <QSignalSpy>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

template <typename Action>
QString errorOf(Action action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.message();
    }
    return QStringLiteral("no error");
}

class RecordSets : public testing::Test {
protected:
    void load(const char* fixture) { reader.load(OrderReader::fixture(QString::fromLatin1(fixture))); }

    OrderReader reader;
    HeaderRecordSet& header = reader.DTtarvelo;
};

} // namespace

TEST_F(RecordSets, FieldsAreAddressedByPosition)
{
    load("complete.xml");
    EXPECT_EQ(header.field(2).asText(), QStringLiteral("12.345.678/0001-95"));
    EXPECT_EQ(header.field(3).asText(), QString());
    EXPECT_EQ(errorOf([&] { header.field(4); }), QStringLiteral("List index out of bounds (4)"));
    EXPECT_EQ(errorOf([&] { header.field(-1); }), QStringLiteral("List index out of bounds (-1)"));
    EXPECT_EQ(errorOf([&] { header.nestedRecordSet(2); }), QStringLiteral("Field 'cnpj' is not a nested record set"));
    RecordSet& items = header.nestedRecordSet(3).nestedRecordSet(5);
    EXPECT_EQ(errorOf([&] { items.field(6); }), QStringLiteral("List index out of bounds (6)"));
}

TEST_F(RecordSets, IntegerValuesAreWholeNumbersOrFailWithTheirText)
{
    load("product-codes.xml");
    RecordSet& items = header.nestedRecordSet(3).nestedRecordSet(5);
    const char* const outcomes[] = {
        "123", "-7", "31",
        "'12.5' is not a valid integer value",
        "'' is not a valid integer value",
        "'A1' is not a valid integer value",
        "'2147483648' is not a valid integer value",
    };
    items.first();
    for (const char* expected : outcomes) {
        ASSERT_FALSE(items.eof());
        QString outcome;
        try {
            outcome = QString::number(items.field(1).asInteger());
        } catch (const Error& error) {
            outcome = error.message();
        }
        EXPECT_EQ(outcome, QString::fromLatin1(expected));
        items.next();
    }
    EXPECT_TRUE(items.eof());
    // A failed conversion leaves the record sets open and positioned.
    EXPECT_TRUE(header.active());
    EXPECT_EQ(items.currentIndex(), 6);
}

TEST_F(RecordSets, NestedRecordSetsAlwaysHoldTheRowsOfTheirParentsCurrentRow)
{
    load("complete.xml");
    RecordSet& orders = header.nestedRecordSet(3);
    RecordSet& items = orders.nestedRecordSet(5);
    QSignalSpy itemResets(&items, &RecordSet::contentReset);

    EXPECT_EQ(orders.recordCount(), 2);
    EXPECT_EQ(items.recordCount(), 2);
    EXPECT_EQ(items.field(1).asInteger(), 123);
    items.next();
    EXPECT_EQ(items.field(3).asText(), QStringLiteral("3"));

    orders.next();
    EXPECT_EQ(itemResets.count(), 1);
    EXPECT_EQ(&orders.nestedRecordSet(5), &items);
    EXPECT_EQ(items.recordCount(), 1);
    EXPECT_EQ(items.currentIndex(), 0);
    EXPECT_EQ(items.field(4).asText(), QStringLiteral("8.5"));

    // Moving on from the last row reaches the end and leaves that row current.
    orders.next();
    EXPECT_TRUE(orders.eof());
    EXPECT_EQ(orders.field(0).asText(), QStringLiteral("OC-1002"));
    EXPECT_EQ(itemResets.count(), 1);

    orders.first();
    EXPECT_FALSE(orders.eof());
    EXPECT_EQ(items.recordCount(), 2);
    EXPECT_EQ(items.field(2).asText(), QStringLiteral("Caneta azul"));
}

TEST_F(RecordSets, MovingToARecordMakesItCurrentWithItsNestedRows)
{
    load("complete.xml");
    RecordSet& orders = header.nestedRecordSet(3);
    RecordSet& items = orders.nestedRecordSet(5);
    orders.next();
    orders.next();
    ASSERT_TRUE(orders.eof());

    QSignalSpy moves(&orders, &RecordSet::currentChanged);
    orders.moveTo(0);
    EXPECT_FALSE(orders.eof()) << "a record chosen is no end";
    EXPECT_EQ(orders.field(0).asText(), QStringLiteral("OC-1001"));
    EXPECT_EQ(items.recordCount(), 2);
    EXPECT_EQ(moves.count(), 1);

    for (const qsizetype nowhere : {qsizetype{-1}, qsizetype{2}}) {
        orders.moveTo(nowhere);
        EXPECT_EQ(orders.currentIndex(), 0) << nowhere;
    }
    orders.moveTo(0);
    EXPECT_EQ(moves.count(), 1) << "no move, no signal";
}

TEST_F(RecordSets, CloseDropsEveryRowAndOpenOnAnOpenSetKeepsThem)
{
    load("complete.xml");
    RecordSet& orders = header.nestedRecordSet(3);
    RecordSet& items = orders.nestedRecordSet(5);

    reader.Provedor.setXmlDataFile(OrderReader::fixture(QStringLiteral("orders-without-items.xml")));
    header.open();
    EXPECT_EQ(orders.field(0).asText(), QStringLiteral("OC-1001"));

    header.close();
    EXPECT_FALSE(header.active());
    EXPECT_TRUE(header.eof());
    EXPECT_EQ(header.recordCount(), 0);
    EXPECT_EQ(header.fieldCount(), 4);
    EXPECT_EQ(header.field(1).asText(), QString());
    EXPECT_EQ(orders.recordCount(), 0);
    EXPECT_EQ(orders.fieldCount(), 0);
    EXPECT_EQ(items.recordCount(), 0);

    header.open();
    EXPECT_EQ(orders.recordCount(), 3);
    EXPECT_EQ(orders.field(0).asText(), QStringLiteral("OC-1"));
    EXPECT_EQ(items.recordCount(), 0);
    EXPECT_TRUE(items.eof());
}

TEST_F(RecordSets, AFailedLoadLeavesTheHeaderClosedWithItsDeclaredFields)
{
    load("complete.xml");
    header.close();
    reader.Provedor.setXmlDataFile(OrderReader::fixture(QStringLiteral("truncated.xml")));
    EXPECT_THROW(header.open(), Error);
    EXPECT_FALSE(header.active());
    EXPECT_EQ(header.recordCount(), 0);
    ASSERT_EQ(header.fieldCount(), 4);
    EXPECT_EQ(header.fieldDefinition(3).kind, FieldKind::Nested);
    EXPECT_EQ(header.nestedRecordSet(3).recordCount(), 0);
}

TEST_F(RecordSets, AnEmptyRecordSetIsAtItsEndAtOnce)
{
    load("root-named-Root.xml");
    EXPECT_TRUE(header.active());
    header.first();
    EXPECT_TRUE(header.eof());
    EXPECT_EQ(header.currentIndex(), -1);
    EXPECT_EQ(header.field(0).asText(), QString());
    EXPECT_EQ(header.nestedRecordSet(3).recordCount(), 0);
}
