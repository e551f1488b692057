#include "Error.h"
#include "OrderReader.h"
#include "TransformationFile.h"

#include <QFile>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Loads a document through the written transformation file after one textual change to it.
class ChangedTransformation : public testing::Test {
protected:
    void change(const QByteArray& before, const QByteArray& after)
    {
        QFile file(reader.transformationFile());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray content = file.readAll();
        ASSERT_TRUE(content.contains(before)) << before.constData();
        content.replace(before, after);
        file.resize(0);
        file.seek(0);
        file.write(content);
    }

    QString loaded(const char* fixture = "complete.xml")
    {
        try {
            reader.load(OrderReader::fixture(QString::fromLatin1(fixture)));
            return reader.dump().section(u'\n', 0, 1);
        } catch (const Error& error) {
            return error.message();
        }
    }

    OrderReader reader;
};

const QString kFirstRows = QStringLiteral("1.0|Tarvelo Marketplace|12.345.678/0001-95\n"
                                          "  OC-1001|Entregar pela manhã|N|PO-77|150.00");

} // namespace

TEST_F(ChangedTransformation, TheRulesOfTheFileAreTheOnesApplied)
{
    change(R"(<Select dest="@nome" from="\info\nome"/>)", R"(<Select dest="@nome" from="\pedidos\pedido\itens\item\descricao"/>)");
    EXPECT_EQ(loaded(), QStringLiteral("1.0|Caneta azul|12.345.678/0001-95\n"
                                       "  OC-1001|Entregar pela manhã|N|PO-77|150.00"));
}

TEST_F(ChangedTransformation, VersionsFromOneUpAreSupported)
{
    const std::pair<QByteArray, QString> versions[] = {
        {R"(Version="2.5")", kFirstRows},
        {R"(Version="1")", kFirstRows},
        {R"(Version="")", kFirstRows},
        {R"(Release="1.0")", kFirstRows},
        {R"(Version="0.9")", QStringLiteral("Version of Transformation File not supported")},
        {R"(Version="-1.0")", QStringLiteral("Version of Transformation File not supported")},
        {R"(Version="one")", QStringLiteral("'one' is not a valid integer value")},
    };
    for (const auto& [version, outcome] : versions) {
        salvaxtr(reader.transformationFile());
        change(R"(Version="1.0">)", version + '>');
        EXPECT_EQ(loaded(), outcome) << version.constData();
    }
}

TEST_F(ChangedTransformation, WithoutASkeletonThereIsNoDataPacket)
{
    change("<Skeleton>\r\n<![CDATA[", "<Unused>\r\n<![CDATA[");
    change("]]></Skeleton>", "]]></Unused>");
    EXPECT_EQ(loaded(), QStringLiteral("Missing data provider or data packet"));
}

TEST_F(ChangedTransformation, ABrokenSkeletonIsAParseError)
{
    change("<PARAMS/></METADATA><ROWDATA/></DATAPACKET>", "<PARAMS/></METADATA><ROWDATA/>");
    EXPECT_EQ(loaded(), QStringLiteral("XML Parse Error:\n\rReason: Premature end of data in tag DATAPACKET line 2\n\r"
                                       "Error on line 53, position 1"));
}

TEST_F(ChangedTransformation, ASkeletonWrittenAsElementsServesAsWell)
{
    change("<Skeleton>\r\n<![CDATA[<?xml version=\"1.0\"?>\r\n", "<Skeleton>\r\n");
    change("]]></Skeleton>", "</Skeleton>");
    EXPECT_EQ(loaded(), kFirstRows);
}

TEST_F(ChangedTransformation, DeclaredHeaderFieldsMustBeInThePacket)
{
    change("\t<FIELD attrname=\"versao\" fieldtype=\"string\" WIDTH=\"5\"/>\r\n\t<FIELD attrname=\"nome\"",
           "\t<FIELD attrname=\"nome\"");
    EXPECT_EQ(loaded(), QStringLiteral("Field 'versao' not found"));
    salvaxtr(reader.transformationFile());
    change("<FIELD attrname=\"cnpj\" fieldtype=\"string\" WIDTH=\"18\"/>\r\n\t<FIELD attrname=\"pedido\"",
           "<FIELD attrname=\"cnpj\" fieldtype=\"nested\"/>\r\n\t<FIELD attrname=\"pedido\"");
    EXPECT_EQ(loaded(), QStringLiteral("Type mismatch for field 'cnpj', expecting: String actual: DataSet"));
}

TEST_F(ChangedTransformation, ARowRuleThatRemovesTheRowItStandsOnEndsCleanly)
{
    // The item rule writes into the order row itself, so an order without items removes its own row.
    change(R"(<SelectEach dest="item\ROWitem" from="\itens\item">)", R"(<SelectEach dest="@x" from="\itens\item">)");
    EXPECT_EQ(loaded("orders-without-items.xml"), QStringLiteral("1.0|Loja|1"));
}

TEST_F(ChangedTransformation, SiblingRowRulesWithoutASourceRemoveTheirRowOnce)
{
    // Both rules stand on the order row, so an order without items is removed by each in turn.
    change(R"(<SelectEach dest="item\ROWitem" from="\itens\item">)",
           R"(<SelectEach dest="@x" from="\ausente"/><SelectEach dest="@x" from="\itens\item">)");
    EXPECT_EQ(loaded("orders-without-items.xml"), QStringLiteral("1.0|Loja|1"));
}
