#include "OrderDocument.h"

namespace {

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

} // namespace

QByteArray orderDocument(const QString& cnpj, const std::vector<DocumentOrder>& orders)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n  <info>\n"
                                 "    <versao>1.0</versao>\n    <nome>Tarvelo</nome>\n    <cnpj>%1</cnpj>\n  </info>\n"
                                 "  <pedidos>\n")
                      .arg(escaped(cnpj));
    for (const DocumentOrder& order : orders) {
        xml += QStringLiteral("    <pedido>\n      <ordem_de_compra>%1</ordem_de_compra>\n"
                              "      <observacoes_nf>%2</observacoes_nf>\n      <tipo_ordem>N</tipo_ordem>\n"
                              "      <pedido_original>PO-%1</pedido_original>\n      <total_pedido>0</total_pedido>\n"
                              "      <itens>\n")
                   .arg(escaped(order.purchaseOrder), escaped(order.remarks));
        int id = 0;
        for (const DocumentItem& item : order.items) {
            xml += QStringLiteral("        <item>\n          <id_produto>%1</id_produto>\n"
                                  "          <codigo_produto>%2</codigo_produto>\n          <descricao>x</descricao>\n"
                                  "          <quantidade>%3</quantidade>\n          <valor_unitario>%4</valor_unitario>\n"
                                  "          <valor_total>0</valor_total>\n        </item>\n")
                       .arg(QString::number(++id), escaped(item.productCode), escaped(item.quantity),
                            escaped(item.unitPrice));
        }
        xml += QStringLiteral("      </itens>\n    </pedido>\n");
    }
    xml += QStringLiteral("  </pedidos>\n</root>\n");
    return xml.toUtf8();
}
