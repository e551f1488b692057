#include "ItemImport.h"

#include "Connection.h"
#include "ImportContext.h"
#include "Numbers.h"
#include "RecordFields.h"
#include "RecordSet.h"
#include "StRateLookup.h"

namespace {

// The document writes decimals with a point; the workstation reads them with its comma.
QString withDecimalComma(QString number)
{
    const qsizetype point = number.indexOf(u'.');
    if (point >= 0)
        number[point] = u',';
    return number;
}

// Columns that every new item row gets 0 in, and the text columns it leaves NULL.
constexpr const char* kZeroNumberColumns[] = {"ITE_DESCONTO",  "ITE_ACRESCIMO", "ITE_PERDESC1",
                                              "ITE_PERDESC2",  "ITE_PERDESC3",  "ITE_PERDESC4",
                                              "ITE_DESCONTOACUMULADO", "ITE_PRECOTABELA", "ITE_PERCENTUALCOMISSAO"};
constexpr const char* kEmptyTextColumns[] = {"ITE_OBSERVACAO", "ITE_REFERENCIA"};

// The product, and the quantity and unit price as the document writes them and as the
// workstation reads them.
void fillProductAndQuantities(RunLog& log, TableWriter& item, const RecordSet& items)
{
    item.setInteger(QStringLiteral("ITE_PRDCODIGO"), items.field(ItemField::CodigoProduto).asInteger());
    log.log(QStringLiteral("Prdcodigo: ") + item.text(QStringLiteral("ITE_PRDCODIGO")));
    item.setInteger(QStringLiteral("ITE_BARRA"), items.field(ItemField::CodigoProduto).asInteger());

    const QString quantity = items.field(ItemField::Quantidade).asText();
    log.log(QStringLiteral("Quantidade XML:") + quantity);
    item.setText(QStringLiteral("ITE_QUANTIDADE"), withDecimalComma(quantity));
    log.log(QStringLiteral("Quantidade Sistema:") + item.text(QStringLiteral("ITE_QUANTIDADE")));
    const QString unitPrice = items.field(ItemField::ValorUnitario).asText();
    log.log(QStringLiteral("Unitario XML:") + unitPrice);
    item.setText(QStringLiteral("ITE_UNITARIO"), withDecimalComma(unitPrice));
    log.log(QStringLiteral("Unitario Sistema:") + item.text(QStringLiteral("ITE_UNITARIO")));
}

// The ST rate, asked once for the log and once for the column, the subtotal and the ST value.
void fillTaxAndSubtotal(const ImportContext& context, TableWriter& item, const ItemTaxation& taxation)
{
    const std::int32_t product = item.integer(QStringLiteral("ITE_PRDCODIGO"));
    const auto stRate = [&] {
        return calculast(taxation.originUf, taxation.customerUf, product, taxation.enquadramento,
                         context.database.BaseADM, context.log, context.regional);
    };
    context.log.log(QStringLiteral("ST:") + formatGeneral(stRate(), context.regional.decimalSeparator));
    item.setNumber(QStringLiteral("ITE_PERCENTUALST"), stRate());
    item.setNumber(QStringLiteral("ITE_SUBTOTAL"),
                   item.number(QStringLiteral("ITE_UNITARIO")) * item.number(QStringLiteral("ITE_QUANTIDADE")));
    item.setNumber(QStringLiteral("ITE_ST"),
                   item.number(QStringLiteral("ITE_PERCENTUALST")) * item.number(QStringLiteral("ITE_SUBTOTAL")));
}

void fillDescriptionAndConstants(const ImportContext& context, TableWriter& item)
{
    item.setText(QStringLiteral("ITE_EXPORTADO"), QStringLiteral("N"));
    item.setText(QStringLiteral("ITE_DESCRICAO"),
                 context.lookup(QStringLiteral("PRODUTOS"), QStringLiteral("PRD_DESCRICAO"),
                                QStringLiteral("PRD_CODIGO = ") + item.text(QStringLiteral("ITE_PRDCODIGO")),
                                context.database.BaseADM));
    context.log.log(QStringLiteral("DESCRICAO:") + item.text(QStringLiteral("ITE_DESCRICAO")));
    for (const char* column : kEmptyTextColumns)
        item.setText(QLatin1String(column), QString());
    for (const char* column : kZeroNumberColumns)
        item.setNumber(QLatin1String(column), 0);
}

void writeItem(const ImportContext& context, std::int32_t orderNumber, std::int32_t sequence,
               const ItemTaxation& taxation, const RecordSet& items)
{
    TableWriter& item = context.database.DTItens;
    item.open();
    item.append();
    context.log.log(QStringLiteral("item cont") + QString::number(sequence));
    item.setInteger(QStringLiteral("ORC_CODIGO"), orderNumber);
    item.setInteger(QStringLiteral("ITE_SEQU"), sequence);
    fillProductAndQuantities(context.log, item, items);
    fillTaxAndSubtotal(context, item, taxation);
    fillDescriptionAndConstants(context, item);
    item.post();
    item.applyUpdates();
}

} // namespace

ItemTotals importItems(const ImportContext& context, std::int32_t orderNumber, const ItemTaxation& taxation,
                       RecordSet& items)
{
    ItemTotals totals;
    for (items.first(); !items.eof(); items.next()) {
        ++totals.count;
        writeItem(context, orderNumber, totals.count, taxation, items);
        const TableWriter& item = context.database.DTItens;
        totals.total += item.number(QStringLiteral("ITE_SUBTOTAL"));
        totals.stTotal += item.number(QStringLiteral("ITE_ST"));
    }
    return totals;
}
