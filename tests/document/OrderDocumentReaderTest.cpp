#include "OrderReader.h"
#include "RecordFields.h"

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
    EXPECT_EQ(reader.DTtarvelo.field(HeaderField::Versao).asText(), QStringLiteral("1.0.0.0"));
    EXPECT_EQ(reader.DTtarvelo.field(HeaderField::Nome).asText(), QStringLiteral("Comercial Tarvelo SA"));
    RecordSet& orders = reader.DTtarvelo.nestedRecordSet(HeaderField::Pedido);
    EXPECT_EQ(orders.fieldDefinition(1).width, 70);
    EXPECT_EQ(orders.field(OrderField::ObservacoesNf).asText().size(), 100);
    RecordSet& items = orders.nestedRecordSet(OrderField::Item);
    EXPECT_EQ(items.field(ItemField::Descricao).asText().size(), 300);
}

// The run reads fields by their named positions: each one must be the field of its name.
TEST(OrderDocumentReader, EveryNamedFieldPositionHoldsTheFieldOfItsName)
{
    OrderReader reader;
    reader.load(OrderReader::fixture(QStringLiteral("empty-root.xml")));
    RecordSet& header = reader.DTtarvelo;
    RecordSet& orders = header.nestedRecordSet(HeaderField::Pedido);
    RecordSet& items = orders.nestedRecordSet(OrderField::Item);
    struct Case {
        const RecordSet& recordSet;
        int position;
        const char* name;
    };
    const Case cases[] = {
        {header, HeaderField::Versao, "versao"},
        {header, HeaderField::Nome, "nome"},
        {header, HeaderField::Cnpj, "cnpj"},
        {header, HeaderField::Pedido, "pedido"},
        {orders, OrderField::OrdemDeCompra, "ordem_de_compra"},
        {orders, OrderField::ObservacoesNf, "observacoes_nf"},
        {orders, OrderField::TipoOrdem, "tipo_ordem"},
        {orders, OrderField::PedidoOriginal, "pedido_original"},
        {orders, OrderField::TotalPedido, "total_pedido"},
        {orders, OrderField::Item, "item"},
        {items, ItemField::IdProduto, "id_produto"},
        {items, ItemField::CodigoProduto, "codigo_produto"},
        {items, ItemField::Descricao, "descricao"},
        {items, ItemField::Quantidade, "quantidade"},
        {items, ItemField::ValorUnitario, "valor_unitario"},
        {items, ItemField::ValorTotal, "valor_total"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.recordSet.fieldDefinition(c.position).name, QLatin1String(c.name)) << c.name;
    EXPECT_EQ(header.fieldCount(), 4);
    EXPECT_EQ(orders.fieldCount(), 6);
    EXPECT_EQ(items.fieldCount(), 6);
}
