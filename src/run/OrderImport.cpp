#include "OrderImport.h"

#include "DateTimeText.h"
#include "Error.h"
#include "ImportContext.h"
#include "ItemImport.h"
#include "Numbers.h"
#include "RecordFields.h"
#include "RecordSet.h"
#include "StatementText.h"
#include "Text.h"

namespace {

QString customerCondition(const QString& customerCode)
{
    return QStringLiteral("CLI_CODIGO = ") + customerCode;
}

QString paymentInsert(const QString& orderNumber, double total, const RegionalSettings& regional)
{
    // The statement always carries a decimal point, whatever the workstation's separator.
    QString value = formatGeneral(total, regional.decimalSeparator);
    const qsizetype comma = value.indexOf(u',');
    if (comma >= 0)
        value[comma] = u'.';
    return QStringLiteral("INSERT INTO PEDIDO_PGTO\t (ORC_CODIGO,PG_SEQU,PG_DIAS,PG_VALOR,PG_EXPORTADO) VALUES (")
        + orderNumber + QStringLiteral(",1,66,") + value + QStringLiteral(",'N')");
}

QString emailInsert(const QString& orderNumber, const QString& emails)
{
    return QStringLiteral("INSERT INTO ENVIAEMAIL(ENV_ID,ENV_PEDIDO,ENV_EMAIL,ENV_ENVIADO)VALUES(GEN_ID(GEN_ENVIAEMAIL,1) ,")
        + orderNumber + QStringLiteral(",'") + withQuotesDoubled(emails) + QStringLiteral("','N')");
}

void setStatement(StatementRunner& runner, const QString& statement)
{
    runner.close();
    runner.clear();
    runner.add(statement);
}

// Fills the new order row, writes its items, applies it and commits it with its payment.
void recordOrder(const ImportContext& context, const QString& orderNumber, const QString& customerCode,
                 const QString& cleanedCnpj, const RecordSet& orders, RecordSet& items)
{
    OrderDatabase& database = context.database;
    Connection& backOffice = database.BaseADM;
    RunLog& log = context.log;
    TableWriter& order = database.DTPedido;
    const auto customerValue = [&](const char* field) {
        return context.lookup(QStringLiteral("CLI_FOR"), QLatin1String(field), customerCondition(customerCode), backOffice);
    };

    order.open();
    order.append();
    order.setInteger(QStringLiteral("ORC_CODIGO"), parseInteger(orderNumber));
    order.setText(QStringLiteral("PED_DTEMISSAO"), dayMonthYearText(context.clock.now().date(), context.regional));
    const QString remarks = orders.field(OrderField::ObservacoesNf).asText();
    log.log(QStringLiteral("Obs:") + remarks);
    order.setText(QStringLiteral("PED_OBS1"), remarks);
    order.setText(QStringLiteral("PED_OBS2"), QString());
    order.setText(QStringLiteral("PED_OBS3"), QString());
    order.setText(QStringLiteral("PED_VENDEDOR"), customerValue("CLI_VENDEDOR"));
    order.setInteger(QStringLiteral("PED_CONDPGTO"), 0);
    order.setText(QStringLiteral("PED_EXPORTADO"), QStringLiteral("N"));

    ItemTaxation taxation;
    taxation.customerUf = customerValue("CLI_UF");
    log.log(QStringLiteral("UF CLiente:") + taxation.customerUf);
    taxation.enquadramento = parseInteger(customerValue("CLI_ENQUADRAMENTO"));
    log.log(QStringLiteral("enquadramento:") + QString::number(taxation.enquadramento));
    taxation.originUf = context.lookup(
        QStringLiteral("PARAMETROS A LEFT OUTER JOIN FILIAIS B ON A.PAR_FILIAL = B.FL_CODIGO LEFT OUTER JOIN CIDADES C "
                       "ON B.FL_CIDADE = C.CID_CODIGO"),
        QStringLiteral("C.CID_UF"), QStringLiteral("PAR_SEQ = 1"), backOffice);
    log.log(QStringLiteral("UF Origem:") + taxation.originUf);

    order.setText(QStringLiteral("PED_CNPJ_CPF"), cleanedCnpj);
    order.setText(QStringLiteral("PED_NOMECLIENTE"), customerValue("CLI_RAZAO"));
    log.log(QStringLiteral("NomeCliente:") + order.text(QStringLiteral("PED_NOMECLIENTE")));
    order.setText(QStringLiteral("PED_CANCELADO"), QStringLiteral("N"));
    order.setText(QStringLiteral("PED_DTENVIO"), dayMonthYearTimeText(context.clock.now(), context.regional));
    order.setText(QStringLiteral("PED_ENVIAEMAIL"), QStringLiteral("S"));
    order.setText(QStringLiteral("PED_EMAILS"), customerValue("CLI_EMAIL"));
    log.log(QStringLiteral("emails:") + order.text(QStringLiteral("PED_EMAILS")));
    order.setText(QStringLiteral("PED_ENVIOUEMAIL"), QStringLiteral("N"));
    order.setInteger(QStringLiteral("PED_CLIENTE"), parseInteger(customerCode));
    order.setNumber(QStringLiteral("PED_PERCENTUALFRETE"), 0);
    order.setText(QStringLiteral("PED_FILIAL"), context.lookup(QStringLiteral("PARAMETROS"), QStringLiteral("PAR_FILIAL"),
                                                               QStringLiteral("PAR_SEQ = 1"), backOffice));
    log.log(QStringLiteral("Filial:") + order.text(QStringLiteral("PED_FILIAL")));
    order.setText(QStringLiteral("PED_ENDERECOMAC"), QStringLiteral("SERVIDOR"));
    order.setText(QStringLiteral("PED_NOMEESTACAO"), QStringLiteral("SERVIDOR"));
    const QString purchaseOrder = orders.field(OrderField::OrdemDeCompra).asText();
    order.setText(QStringLiteral("PED_NROPEDIDOCLIENTE"), purchaseOrder);
    order.setText(QStringLiteral("PED_NROORDEMCOMPRA"), purchaseOrder);
    order.setText(QStringLiteral("PED_PROPOSTACOMERCIAL"), QStringLiteral("N"));

    const ItemTotals totals = importItems(context, parseInteger(orderNumber), taxation, items);
    order.setInteger(QStringLiteral("PED_NROITENS"), totals.count);
    order.setNumber(QStringLiteral("PED_VALORST"), totals.stTotal);
    order.setNumber(QStringLiteral("PED_TOTAL"), totals.total);
    order.post();
    order.applyUpdates();

    setStatement(database.IBQuery1, paymentInsert(orderNumber, totals.total, context.regional));
    log.log(database.IBQuery1.text());
    database.IBQuery1.execute();
    database.TR.commitRetaining();

    log.appendRaw(QStringLiteral("Pedido: ") + purchaseOrder + QStringLiteral(" (") + QString::number(totals.count)
                  + QStringLiteral(")"));
}

// Leaves nothing of an order that failed half-way: no row in the writers, nothing
// in the transaction beyond its last commit point.
void abandonOrder(OrderDatabase& database) noexcept
{
    database.DTPedido.discardChanges();
    database.DTItens.discardChanges();
    try {
        database.TR.rollbackRetaining();
    } catch (...) {
        // The failure that brought us here is the one to report; a transaction that
        // cannot roll back has lost its connection, and with it the uncommitted work.
    }
}

void requestEmail(const ImportContext& context, const QString& orderNumber)
{
    OrderDatabase& database = context.database;
    const QString sendEmails = context.lookup(QStringLiteral("PARAMETROS"), QStringLiteral("PAR_ENVIAEMAIL"),
                                              QStringLiteral("PAR_SEQU = 1"), database.BasePedidos);
    const QString emails = trimmed(database.DTPedido.text(QStringLiteral("PED_EMAILS")));
    if (sendEmails == QLatin1String("S") && !emails.isEmpty()) {
        setStatement(database.IBQuery1, emailInsert(orderNumber, emails));
        database.IBQuery1.execute();
        database.TR.commitRetaining();
    }
}

// The purchase-order number identifies the order for good: it is compared and stored
// whole, so a number that its columns would cut is refused rather than confused with
// another one that shares its beginning.
void requireWholePurchaseOrder(TableWriter& order, const QString& purchaseOrder)
{
    order.open();
    for (const QLatin1String column : {QLatin1String("PED_NROORDEMCOMPRA"), QLatin1String("PED_NROPEDIDOCLIENTE")}) {
        const int width = order.textWidth(column);
        if (purchaseOrder.size() > width) {
            throw Error(QStringLiteral("Purchase order number '%1' has %2 characters; its column %3 holds %4")
                            .arg(purchaseOrder)
                            .arg(purchaseOrder.size())
                            .arg(column)
                            .arg(width));
        }
    }
}

} // namespace

OrderOutcome importOrder(const ImportContext& context, const QString& customerCode, const QString& cleanedCnpj,
                         const RecordSet& orders, RecordSet& items)
{
    OrderDatabase& database = context.database;
    const QString purchaseOrder = orders.field(OrderField::OrdemDeCompra).asText();
    requireWholePurchaseOrder(database.DTPedido, purchaseOrder);
    // Asked before a number is drawn: documents still pending are read again by every run,
    // and their orders already recorded must not use up the back office's numbers.
    const QString recorded = context.lookup(
        QStringLiteral("PEDIDOS"), QStringLiteral("ORC_CODIGO"),
        QStringLiteral("PED_CLIENTE = ") + customerCode + QStringLiteral(" AND PED_NROORDEMCOMPRA = '")
            + withQuotesDoubled(purchaseOrder) + QStringLiteral("'"),
        database.BasePedidos);
    if (!recorded.isEmpty())
        return OrderOutcome::AlreadyRecorded;

    const QString orderNumber = trimmed(context.lookup(
        QStringLiteral("RDB$DATABASE"), QStringLiteral("GEN_ID(ORCAMENTOS_ORC_CODIGO_GEN,1)"), QString(), database.BaseADM));
    context.log.log(QStringLiteral("orc_codigo:") + orderNumber);
    context.log.processEvents();
    try {
        recordOrder(context, orderNumber, customerCode, cleanedCnpj, orders, items);
    } catch (...) {
        abandonOrder(database);
        throw;
    }
    requestEmail(context, orderNumber);
    return OrderOutcome::Recorded;
}
