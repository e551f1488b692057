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

// Columns that every new order row gets the same text in.
struct ConstantText {
    const char* column;
    const char* text;
};
constexpr ConstantText kOrderConstants[] = {
    {"PED_OBS2", ""},         {"PED_OBS3", ""},          {"PED_EXPORTADO", "N"},
    {"PED_CANCELADO", "N"},   {"PED_ENVIAEMAIL", "S"},   {"PED_ENVIOUEMAIL", "N"},
    {"PED_ENDERECOMAC", "SERVIDOR"}, {"PED_NOMEESTACAO", "SERVIDOR"}, {"PED_PROPOSTACOMERCIAL", "N"},
};

// The steps of recording one new order, in the order they reach the log and the databases.
class OrderRecording {
public:
    OrderRecording(const ImportContext& context, const QString& orderNumber, const QString& customerCode)
        : context_(context)
        , order_(context.database.DTPedido)
        , orderNumber_(orderNumber)
        , customerCode_(customerCode)
    {
    }

    // The new row with its number, dates, remarks, salesman and the columns every order shares.
    void startRow(const RecordSet& orders)
    {
        order_.open();
        order_.append();
        order_.setInteger(QStringLiteral("ORC_CODIGO"), parseInteger(orderNumber_));
        order_.setText(QStringLiteral("PED_DTEMISSAO"), dayMonthYearText(context_.clock.now().date(), context_.regional));
        const QString remarks = orders.field(OrderField::ObservacoesNf).asText();
        context_.log.log(QStringLiteral("Obs:") + remarks);
        order_.setText(QStringLiteral("PED_OBS1"), remarks);
        for (const ConstantText& constant : kOrderConstants)
            order_.setText(QLatin1String(constant.column), QLatin1String(constant.text));
        order_.setText(QStringLiteral("PED_VENDEDOR"), customerValue("CLI_VENDEDOR"));
        order_.setInteger(QStringLiteral("PED_CONDPGTO"), 0);
        order_.setNumber(QStringLiteral("PED_PERCENTUALFRETE"), 0);
    }

    // The customer's state and tax class, and the state the goods leave from.
    ItemTaxation taxation()
    {
        ItemTaxation taxation;
        taxation.customerUf = customerValue("CLI_UF");
        context_.log.log(QStringLiteral("UF CLiente:") + taxation.customerUf);
        taxation.enquadramento = parseInteger(customerValue("CLI_ENQUADRAMENTO"));
        context_.log.log(QStringLiteral("enquadramento:") + QString::number(taxation.enquadramento));
        taxation.originUf = context_.lookup(
            QStringLiteral("PARAMETROS A LEFT OUTER JOIN FILIAIS B ON A.PAR_FILIAL = B.FL_CODIGO LEFT OUTER JOIN "
                           "CIDADES C ON B.FL_CIDADE = C.CID_CODIGO"),
            QStringLiteral("C.CID_UF"), QStringLiteral("PAR_SEQ = 1"), context_.database.BaseADM);
        context_.log.log(QStringLiteral("UF Origem:") + taxation.originUf);
        return taxation;
    }

    // Who bought, where it is sent from, and the purchase order it answers.
    void fillCustomer(const QString& cleanedCnpj, const QString& purchaseOrder)
    {
        order_.setText(QStringLiteral("PED_CNPJ_CPF"), cleanedCnpj);
        order_.setText(QStringLiteral("PED_NOMECLIENTE"), customerValue("CLI_RAZAO"));
        context_.log.log(QStringLiteral("NomeCliente:") + order_.text(QStringLiteral("PED_NOMECLIENTE")));
        order_.setText(QStringLiteral("PED_DTENVIO"), dayMonthYearTimeText(context_.clock.now(), context_.regional));
        order_.setText(QStringLiteral("PED_EMAILS"), customerValue("CLI_EMAIL"));
        context_.log.log(QStringLiteral("emails:") + order_.text(QStringLiteral("PED_EMAILS")));
        order_.setInteger(QStringLiteral("PED_CLIENTE"), parseInteger(customerCode_));
        order_.setText(QStringLiteral("PED_FILIAL"),
                       context_.lookup(QStringLiteral("PARAMETROS"), QStringLiteral("PAR_FILIAL"),
                                       QStringLiteral("PAR_SEQ = 1"), context_.database.BaseADM));
        context_.log.log(QStringLiteral("Filial:") + order_.text(QStringLiteral("PED_FILIAL")));
        order_.setText(QStringLiteral("PED_NROPEDIDOCLIENTE"), purchaseOrder);
        order_.setText(QStringLiteral("PED_NROORDEMCOMPRA"), purchaseOrder);
    }

    // The totals of the items written, then the row goes to the database.
    void applyRow(const ItemTotals& totals)
    {
        order_.setInteger(QStringLiteral("PED_NROITENS"), totals.count);
        order_.setNumber(QStringLiteral("PED_VALORST"), totals.stTotal);
        order_.setNumber(QStringLiteral("PED_TOTAL"), totals.total);
        order_.post();
        order_.applyUpdates();
    }

    // The one payment instalment, committed with the order.
    void commitWithPayment(double total)
    {
        OrderDatabase& database = context_.database;
        setStatement(database.IBQuery1, paymentInsert(orderNumber_, total, context_.regional));
        context_.log.log(database.IBQuery1.text());
        database.IBQuery1.execute();
        database.TR.commitRetaining();
    }

private:
    QString customerValue(const char* field) const
    {
        return context_.lookup(QStringLiteral("CLI_FOR"), QLatin1String(field), customerCondition(customerCode_),
                               context_.database.BaseADM);
    }

    const ImportContext& context_;
    TableWriter& order_;
    const QString& orderNumber_;
    const QString& customerCode_;
};

// Fills the new order row, writes its items, applies it and commits it with its payment.
void recordOrder(const ImportContext& context, const QString& orderNumber, const QString& customerCode,
                 const QString& cleanedCnpj, const RecordSet& orders, RecordSet& items)
{
    OrderRecording recording(context, orderNumber, customerCode);
    recording.startRow(orders);
    const ItemTaxation taxation = recording.taxation();
    const QString purchaseOrder = orders.field(OrderField::OrdemDeCompra).asText();
    recording.fillCustomer(cleanedCnpj, purchaseOrder);
    const ItemTotals totals = importItems(context, parseInteger(orderNumber), taxation, items);
    recording.applyRow(totals);
    recording.commitWithPayment(totals.total);
    context.log.appendRaw(QStringLiteral("Pedido: ") + purchaseOrder + QStringLiteral(" (")
                          + QString::number(totals.count) + QStringLiteral(")"));
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
