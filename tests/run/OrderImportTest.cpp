#include "ImportRunTest.h"

#include "Error.h"

namespace {

DocumentOrder order(const QString& purchaseOrder, std::vector<DocumentItem> items = {
                                                      {QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("100")}})
{
    return {purchaseOrder, QStringLiteral("obs"), std::move(items)};
}

} // namespace

class OrderImportTest : public ImportRunTest {
protected:
    QString count(const char* table) const
    {
        return *orderValue(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)));
    }
};

TEST_F(OrderImportTest, AnOrderAlreadyRecordedForTheCustomerChangesNothingAndDrawsNoNumber)
{
    runOn(orderDocument(kCnpj, {order(QStringLiteral("4501"))}));
    host.lines.clear();
    runOn(orderDocument(kCnpj, {order(QStringLiteral("4501"))}));
    EXPECT_EQ(importLines(), (QStringList{QStringLiteral("@ 10"),
                                          QStringLiteral("@ Resumo: pedidos importados 0, já importados 1, com falha 0; "
                                                         "documento: arquivo %1; pendentes: nenhum")
                                              .arg(programFolder.filePath(QStringLiteral("pedidos.xml")))}));
    EXPECT_EQ(generator(), QStringLiteral("57"));
    EXPECT_EQ(count("PEDIDOS"), QStringLiteral("1"));
    EXPECT_EQ(count("PEDIDO_ITENS"), QStringLiteral("1"));
    EXPECT_EQ(count("PEDIDO_PGTO"), QStringLiteral("1"));
    EXPECT_EQ(count("ENVIAEMAIL"), QStringLiteral("1"));
}

TEST_F(OrderImportTest, TheSamePurchaseOrderUnderAnotherCustomerIsNew)
{
    SideConnection(databases.ordersPath())
        .execute(QStringLiteral("INSERT INTO PEDIDOS (ORC_CODIGO, PED_CLIENTE, PED_NROORDEMCOMPRA) VALUES (1, 11, '4501')"));
    runOn(orderDocument(kCnpj, {order(QStringLiteral("4501"))}));
    EXPECT_EQ(*orderValue(QStringLiteral("SELECT COUNT(*) FROM PEDIDOS WHERE PED_CLIENTE = 10")), QStringLiteral("1"));
}

TEST_F(OrderImportTest, AnOrderWithoutItemsHasZeroTotalsAndAPaymentOfZero)
{
    runOn(orderDocument(kCnpj, {order(QStringLiteral("4502"), {})}));
    EXPECT_EQ(orderRows(QStringLiteral("SELECT PED_NROITENS, CAST(PED_TOTAL AS NUMERIC(18,2)), "
                                       "CAST(PED_VALORST AS NUMERIC(18,2)) FROM PEDIDOS")),
              (std::vector<SideRow>{{"0", "0.00", "0.00"}}));
    EXPECT_EQ(orderRows(QStringLiteral("SELECT CAST(PG_VALOR AS NUMERIC(18,2)) FROM PEDIDO_PGTO")), (std::vector<SideRow>{{"0.00"}}));
    EXPECT_TRUE(host.lines.contains(QStringLiteral("Pedido: 4502 (0)")));
    EXPECT_TRUE(host.lines.contains(QStringLiteral("@ INSERT INTO PEDIDO_PGTO\t (ORC_CODIGO,PG_SEQU,PG_DIAS,PG_VALOR,"
                                                   "PG_EXPORTADO) VALUES (57,1,66,0,'N')\r\n")));
}

TEST_F(OrderImportTest, ItemValuesFollowTheDocumentAndTheBackOffice)
{
    runOn(orderDocument(kCnpj, {order(QStringLiteral("4503"), {
                                                                   {QStringLiteral("00123"), QStringLiteral("3"), QStringLiteral("500")},
                                                                   {QStringLiteral("789"), QStringLiteral("0.1"), QStringLiteral("1")},
                                                                   {QStringLiteral("456"), QString(), QStringLiteral("0.2")},
                                                               })}));
    EXPECT_EQ(orderRows(QStringLiteral("SELECT ITE_SEQU, ITE_PRDCODIGO, ITE_BARRA, CAST(ITE_QUANTIDADE AS NUMERIC(18,4)), ITE_DESCRICAO, "
                                       "CAST(ITE_SUBTOTAL AS NUMERIC(18,4)) FROM PEDIDO_ITENS ORDER BY ITE_SEQU")),
              (std::vector<SideRow>{{"1", "123", "123", "3.0000", "Parafuso sextavado", "1500.0000"},
                                    {"2", "789", "789", "0.1000", std::nullopt, "0.1000"},
                                    {"3", "456", "456", std::nullopt, "Arruela lisa", "0.0000"}}));
    EXPECT_TRUE(host.lines.contains(QStringLiteral("@ DESCRICAO:")));
    EXPECT_TRUE(host.lines.contains(QStringLiteral("@ Quantidade Sistema:")));
    EXPECT_TRUE(host.lines.contains(QStringLiteral("@ INSERT INTO PEDIDO_PGTO\t (ORC_CODIGO,PG_SEQU,PG_DIAS,PG_VALOR,"
                                                   "PG_EXPORTADO) VALUES (57,1,66,1500.1,'N')\r\n")));
}

TEST_F(OrderImportTest, AnEmailRequestOnlyForACapitalSAndAnAddress)
{
    struct Case {
        const char* parameter;
        const char* email;
        const char* requests;
    };
    const Case cases[] = {
        {"S", "compras@tarvelo.com.br", "1"},
        {"s", "compras@tarvelo.com.br", "0"},
        {"S ", "compras@tarvelo.com.br", "0"},
        {nullptr, "compras@tarvelo.com.br", "0"},
        {"S", "", "0"},
        {"S", "  ", "0"},
    };
    int purchaseOrder = 6000;
    for (const auto& c : cases) {
        const QString parameter = c.parameter ? QStringLiteral("'%1'").arg(QLatin1String(c.parameter)) : QStringLiteral("NULL");
        SideConnection(databases.ordersPath())
            .execute(QStringLiteral("UPDATE PARAMETROS SET PAR_ENVIAEMAIL = %1").arg(parameter));
        SideConnection(databases.backOfficePath())
            .execute(QStringLiteral("UPDATE CLI_FOR SET CLI_EMAIL = '%1'").arg(QLatin1String(c.email)));
        const QString number = QString::number(++purchaseOrder);
        runOn(orderDocument(kCnpj, {order(number)}));
        EXPECT_EQ(*orderValue(QStringLiteral("SELECT COUNT(*) FROM ENVIAEMAIL E JOIN PEDIDOS P ON P.ORC_CODIGO = "
                                             "E.ENV_PEDIDO WHERE P.PED_NROORDEMCOMPRA = '%1'")
                                  .arg(number)),
                  QLatin1String(c.requests))
            << (c.parameter ? c.parameter : "NULL") << " / '" << c.email << "'";
        EXPECT_EQ(*orderValue(QStringLiteral("SELECT PED_ENVIAEMAIL FROM PEDIDOS WHERE PED_NROORDEMCOMPRA = '%1'").arg(number)),
                  QStringLiteral("S"));
    }
}

TEST_F(OrderImportTest, QuotesInValuesAreImportedLikeAnyOtherCharacter)
{
    SideConnection(databases.backOfficePath())
        .execute(QStringLiteral("UPDATE CLI_FOR SET CLI_EMAIL = 'o''brien@tarvelo.com.br'"));
    runOn(orderDocument(kCnpj, {order(QStringLiteral("45'01"))}));
    runOn(orderDocument(kCnpj, {order(QStringLiteral("45'01"))}));
    EXPECT_EQ(orderRows(QStringLiteral("SELECT PED_NROORDEMCOMPRA, PED_EMAILS FROM PEDIDOS")),
              (std::vector<SideRow>{{"45'01", "o'brien@tarvelo.com.br"}}));
    EXPECT_EQ(*orderValue(QStringLiteral("SELECT ENV_EMAIL FROM ENVIAEMAIL")), QStringLiteral("o'brien@tarvelo.com.br"));
    EXPECT_EQ(host.lines.filter(QStringLiteral("erro PTAB:")), QStringList());
}

// Two numbers that share their first fifteen characters are two orders: neither may
// pass for the other, so a number is compared and stored whole or not at all.
TEST_F(OrderImportTest, APurchaseOrderLongerThanItsColumnIsRefusedEveryTimeAndNothingOfItIsStored)
{
    const std::vector<DocumentOrder> orders = {order(QStringLiteral("ABCDEFGHIJKLMNO")),
                                               order(QStringLiteral("ABCDEFGHIJKLMNO-2"))};
    for (int run = 0; run < 2; ++run) {
        try {
            runOn(orderDocument(kCnpj, orders));
            ADD_FAILURE() << "a number of 17 characters was accepted";
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), QStringLiteral("Purchase order number 'ABCDEFGHIJKLMNO-2' has 17 characters; "
                                                      "its column PED_NROORDEMCOMPRA holds 15"));
        }
    }
    endProgram();
    EXPECT_EQ(orderRows(QStringLiteral("SELECT PED_NROORDEMCOMPRA FROM PEDIDOS")),
              (std::vector<SideRow>{{"ABCDEFGHIJKLMNO"}}));
    EXPECT_EQ(count("PEDIDO_PGTO"), QStringLiteral("1"));
}

TEST_F(OrderImportTest, ColumnsMadeWiderKeepWholeNumbersApart)
{
    {
        SideConnection orders(databases.ordersPath());
        orders.execute(QStringLiteral("ALTER TABLE PEDIDOS ALTER PED_NROORDEMCOMPRA TYPE VARCHAR(20)"));
        orders.execute(QStringLiteral("ALTER TABLE PEDIDOS ALTER PED_NROPEDIDOCLIENTE TYPE VARCHAR(20)"));
    }
    const QByteArray document = orderDocument(kCnpj, {order(QStringLiteral("ABCDEFGHIJKLMNO-1")),
                                                      order(QStringLiteral("ABCDEFGHIJKLMNO-2"))});
    runOn(document);
    runOn(document);
    EXPECT_EQ(orderRows(QStringLiteral("SELECT PED_NROORDEMCOMPRA, PED_NROPEDIDOCLIENTE FROM PEDIDOS ORDER BY 1")),
              (std::vector<SideRow>{{"ABCDEFGHIJKLMNO-1", "ABCDEFGHIJKLMNO-1"},
                                    {"ABCDEFGHIJKLMNO-2", "ABCDEFGHIJKLMNO-2"}}));
}

TEST_F(OrderImportTest, AnOrderThatFailsHalfWayLeavesNothingAndIsImportedWholeByTheNextRun)
{
    std::vector<DocumentOrder> orders = {
        order(QStringLiteral("7001"), {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("10")},
                                        {QStringLiteral("456"), QStringLiteral("1"), QStringLiteral("20")}}),
        order(QStringLiteral("7002"), {{QStringLiteral("123"), QStringLiteral("2"), QStringLiteral("10")},
                                        {QStringLiteral("12a"), QStringLiteral("1"), QStringLiteral("20")}}),
        order(QStringLiteral("7003")),
    };
    try {
        runOn(orderDocument(kCnpj, orders));
        ADD_FAILURE() << "a product code with a letter was accepted";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("'12a' is not a valid integer value"));
    }
    EXPECT_EQ(orderRows(QStringLiteral("SELECT PED_NROORDEMCOMPRA FROM PEDIDOS")), (std::vector<SideRow>{{"7001"}}));

    endProgram();
    const auto recorded = [this] {
        return orderRows(QStringLiteral("SELECT P.PED_NROORDEMCOMPRA, COUNT(I.ITE_SEQU) FROM PEDIDOS P LEFT JOIN "
                                        "PEDIDO_ITENS I ON I.ORC_CODIGO = P.ORC_CODIGO GROUP BY 1 ORDER BY 1"));
    };
    EXPECT_EQ(recorded(), (std::vector<SideRow>{{"7001", "2"}})) << "nothing of 7002 after the program ended";
    EXPECT_EQ(count("PEDIDO_PGTO"), QStringLiteral("1"));

    orders[1].items[1].productCode = QStringLiteral("456");
    host.lines.clear();
    EXPECT_EQ(runOn(orderDocument(kCnpj, orders)), RunEnd::Completed);
    endProgram();
    EXPECT_EQ(recorded(), (std::vector<SideRow>{{"7001", "2"}, {"7002", "2"}, {"7003", "1"}}));
    EXPECT_EQ(count("PEDIDO_PGTO"), QStringLiteral("3"));
}

TEST_F(OrderImportTest, AFailedWriteInTheDatabaseLeavesNothingOfTheOrder)
{
    // The database refuses the second order's second item.
    SideConnection(databases.ordersPath())
        .execute(QStringLiteral("CREATE EXCEPTION RECUSADO 'item recusado'"));
    SideConnection(databases.ordersPath())
        .execute(QStringLiteral("CREATE TRIGGER RECUSA FOR PEDIDO_ITENS BEFORE INSERT AS BEGIN "
                                "IF (NEW.ORC_CODIGO = 58 AND NEW.ITE_SEQU = 2) THEN EXCEPTION RECUSADO; END"));
    const std::vector<DocumentOrder> orders = {
        order(QStringLiteral("8001")),
        order(QStringLiteral("8002"), {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("10")},
                                        {QStringLiteral("456"), QStringLiteral("1"), QStringLiteral("20")}}),
    };
    EXPECT_THROW(runOn(orderDocument(kCnpj, orders)), Error);
    endProgram();
    EXPECT_EQ(orderRows(QStringLiteral("SELECT ORC_CODIGO FROM PEDIDO_ITENS")), (std::vector<SideRow>{{"57"}}));
    EXPECT_EQ(orderRows(QStringLiteral("SELECT PED_NROORDEMCOMPRA FROM PEDIDOS")), (std::vector<SideRow>{{"8001"}}));
}

// A tax the back office cannot compute must not be recorded as no tax at all.
TEST_F(OrderImportTest, AnSTRateTheServerCannotComputeEndsTheOrderInsteadOfRecordingZero)
{
    {
        SideConnection backOffice(databases.backOfficePath());
        backOffice.execute(QStringLiteral("INSERT INTO NCM VALUES ('7319', 2)"));
        backOffice.execute(
            QStringLiteral("INSERT INTO ICMS VALUES (2, 'PR', 'SP', 1, 9999999999999.99, 9999999999999.99, 0, 0)"));
    }
    const std::vector<DocumentOrder> orders = {
        order(QStringLiteral("9001"), {{QStringLiteral("456"), QStringLiteral("1"), QStringLiteral("10")}})};
    try {
        runOn(orderDocument(kCnpj, orders));
        ADD_FAILURE() << "the order was recorded";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Integer overflow."))) << error.message().toStdString();
    }
    endProgram();
    EXPECT_EQ(count("PEDIDOS"), QStringLiteral("0"));
    EXPECT_EQ(count("PEDIDO_ITENS"), QStringLiteral("0"));
}
