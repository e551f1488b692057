#include "OrderReader.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct DocumentCase {
    const char* file;
    const char* rows;
};

// clang-format off
const DocumentCase kDocuments[] = {
    {"complete.xml",
     "1.0|Tarvelo Marketplace|12.345.678/0001-95\n"
     "  OC-1001|Entregar pela manhã|N|PO-77|150.00\n"
     "    1|00123|Caneta azul|10|1.50|15.00\n"
     "    2|456|Caderno|3|45.00|135.00\n"
     "  OC-1002||R|PO-78|8.5\n"
     "    3|789|Borracha|1|8.5|8.5"},
    // Only a root element named exactly "root" yields the header row.
    {"root-named-Root.xml", ""},
    {"root-named-pedidos.xml", ""},
    {"empty-root.xml", "||"},
    {"pedidos-without-pedido.xml", "1.0|Loja|11222333000181"},
    {"orders-without-items.xml",
     "1.0|Loja|1\n"
     "  OC-1||||\n"
     "  OC-2||||\n"
     "  OC-3||||\n"
     "    7|70||||"},
    // Each field comes from the first element under which it is found; the first of repeated elements counts.
    {"missing-and-repeated.xml",
     "2|Primeiro|99\n"
     "  OC-1||||10\n"
     "    |5||||"},
    {"two-pedidos-blocks.xml",
     "1|Loja|1\n"
     "  OC-A||||"},
    // Rows are the siblings of the first match with its name; comments, other elements,
    // processing instructions and elements under another parent are passed over.
    {"rows-among-other-nodes.xml",
     "1|Loja|1\n"
     "  OC-1||||\n"
     "    1|||||\n"
     "    2|||||\n"
     "  OC-2||||\n"
     "  OC-3||||"},
    {"entities-and-cdata.xml",
     "1|Loja & Cia|12.345\n"
     "  OC-<1>|Frete \"grátis\" <já> & rápido & seguro||Café ☺|Caneta azul fina"},
    // Names match without their prefix; later rows must carry the prefix of the first.
    {"namespaces.xml",
     "1|Loja|1\n"
     "  OC-1||||\n"
     "    |10||||\n"
     "    |20||||\n"
     "  OC-3||||"},
};
// clang-format on

} // namespace

TEST(OrderDocumentReader, DocumentsYieldTheirRows)
{
    OrderReader reader;
    for (const DocumentCase& document : kDocuments) {
        SCOPED_TRACE(document.file);
        reader.load(OrderReader::fixture(QString::fromLatin1(document.file)));
        EXPECT_EQ(reader.dump(), QString::fromUtf8(document.rows));
    }
}

TEST(OrderDocumentReader, ValuesAreReadWholeWhateverTheFieldWidth)
{
    OrderReader reader;
    reader.load(OrderReader::fixture(QStringLiteral("long-values.xml")));
    EXPECT_EQ(reader.DTtarvelo.fieldDefinition(1).width, 14);
    EXPECT_EQ(reader.DTtarvelo.field(0).asText(), QStringLiteral("1.0.0.0"));
    EXPECT_EQ(reader.DTtarvelo.field(1).asText(), QStringLiteral("Comercial Tarvelo SA"));
    RecordSet& orders = reader.DTtarvelo.nestedRecordSet(3);
    EXPECT_EQ(orders.fieldDefinition(1).width, 70);
    EXPECT_EQ(orders.field(1).asText().size(), 100);
    RecordSet& items = orders.nestedRecordSet(5);
    EXPECT_EQ(items.field(2).asText().size(), 300);
}

TEST(OrderDocumentReader, FieldsOfTheNestedRecordSetsComeFromThePacketInOrder)
{
    OrderReader reader;
    reader.load(OrderReader::fixture(QStringLiteral("empty-root.xml")));
    const auto names = [](const RecordSet& recordSet) {
        QStringList names;
        for (int position = 0; position < recordSet.fieldCount(); ++position)
            names += recordSet.fieldDefinition(position).name;
        return names.join(u',');
    };
    RecordSet& orders = reader.DTtarvelo.nestedRecordSet(3);
    EXPECT_EQ(names(reader.DTtarvelo), QStringLiteral("versao,nome,cnpj,pedido"));
    EXPECT_EQ(names(orders), QStringLiteral("ordem_de_compra,observacoes_nf,tipo_ordem,pedido_original,total_pedido,item"));
    EXPECT_EQ(names(orders.nestedRecordSet(5)),
              QStringLiteral("id_produto,codigo_produto,descricao,quantidade,valor_unitario,valor_total"));
}
