#include "ImportRunTest.h"

#include "Error.h"
#include "RecordFields.h"
#include "RecordSet.h"

#include <QDir>

namespace {

const DocumentOrder kOrderWithTwoItems{QStringLiteral("4501"), QStringLiteral("Entregar pela manhã"),
                                       {{QStringLiteral("00123"), QStringLiteral("2.5"), QStringLiteral("199.90")},
                                        {QStringLiteral("456"), QStringLiteral("2"), QStringLiteral("10")}}};

QStringList stRateLines(const char* product, const char* answer)
{
    return {QStringLiteral("@ CALCULO ST - UF ORIGEM:PR"), QStringLiteral("@ CALCULO ST - UF DESTINO:SP"),
            QStringLiteral("@ CALCULO ST - COD PRODUTO") + QLatin1String(product),
            QStringLiteral("@ CALCULO ST - ENQUADRAMENTO: 1"),
            QStringLiteral("@ CALCULO ST - RETORNO: ") + QLatin1String(answer)};
}

} // namespace

TEST_F(ImportRunTest, OneOrderWithTwoItemsLogsEveryStepAndIsRecordedWhole)
{
    host.unattendedMode = true;
    EXPECT_EQ(runOn(orderDocument(kCnpj, {kOrderWithTwoItems})), RunEnd::Completed);

    QStringList expected = {
        QStringLiteral("@ 10"),
        QStringLiteral("@ orc_codigo:57"),
        QStringLiteral("@ Obs:Entregar pela manhã"),
        QStringLiteral("@ UF CLiente:SP"),
        QStringLiteral("@ enquadramento:1"),
        QStringLiteral("@ UF Origem:PR"),
        QStringLiteral("@ NomeCliente:Tarvelo Comércio Eletrônico Ltda"),
        QStringLiteral("@ emails:compras@tarvelo.com.br"),
        QStringLiteral("@ Filial:3"),
        QStringLiteral("@ item cont1"),
        QStringLiteral("@ Prdcodigo: 123"),
        QStringLiteral("@ Quantidade XML:2.5"),
        QStringLiteral("@ Quantidade Sistema:2,5"),
        QStringLiteral("@ Unitario XML:199.90"),
        QStringLiteral("@ Unitario Sistema:199,9"),
    };
    expected << stRateLines("123", "13,2") << QStringLiteral("@ ST:0,132") << stRateLines("123", "13,2")
             << QStringLiteral("@ DESCRICAO:Parafuso sextavado") << QStringLiteral("@ item cont2")
             << QStringLiteral("@ Prdcodigo: 456") << QStringLiteral("@ Quantidade XML:2")
             << QStringLiteral("@ Quantidade Sistema:2") << QStringLiteral("@ Unitario XML:10")
             << QStringLiteral("@ Unitario Sistema:10") << stRateLines("456", "0") << QStringLiteral("@ ST:0")
             << stRateLines("456", "0") << QStringLiteral("@ DESCRICAO:Arruela lisa")
             << QStringLiteral("@ INSERT INTO PEDIDO_PGTO\t (ORC_CODIGO,PG_SEQU,PG_DIAS,PG_VALOR,PG_EXPORTADO) "
                               "VALUES (57,1,66,519.75,'N')\r\n")
             << QStringLiteral("Pedido: 4501 (2)")
             << QStringLiteral("@ Resumo: pedidos importados 1, já importados 0, com falha 0; documento: arquivo %1; "
                               "pendentes: nenhum")
                    .arg(programFolder.filePath(QStringLiteral("pedidos.xml")));
    EXPECT_EQ(importLines(), expected);
    EXPECT_EQ(host.quitRequests, 1);

    // Committed: visible to another attachment while the program still runs.
    EXPECT_EQ(orderRows(QStringLiteral(
                  "SELECT ORC_CODIGO, PED_DTEMISSAO, PED_OBS1, PED_OBS2, PED_OBS3, PED_VENDEDOR, PED_CONDPGTO, "
                  "PED_EXPORTADO, CAST(PED_TOTAL AS NUMERIC(18,4)), PED_CNPJ_CPF, PED_NOMECLIENTE, PED_CANCELADO, "
                  "CAST(PED_DTENVIO AS VARCHAR(24)), PED_ENVIAEMAIL, PED_EMAILS, PED_ENVIOUEMAIL, PED_CLIENTE, "
                  "CAST(PED_PERCENTUALFRETE AS NUMERIC(18,4)), "
                  "PED_DTCARREGAMENTO, CAST(PED_VALORST AS NUMERIC(18,4)), PED_FILIAL, PED_ENDERECOMAC, PED_NOMEESTACAO, "
                  "PED_NROPEDIDOCLIENTE, PED_NROORDEMCOMPRA, PED_PROPOSTACOMERCIAL, PED_NROITENS, PED_FATURADO "
                  "FROM PEDIDOS")),
              (std::vector<SideRow>{{"57", "2024-03-15", "Entregar pela manhã", std::nullopt, std::nullopt, "7", "0", "N",
                                     "519.7500", "12345678000190", "Tarvelo Comércio Eletrônico Ltda", "N",
                                     "2024-03-15 14:30:07.0000", "S", "compras@tarvelo.com.br", "N", "10", "0.0000",
                                     std::nullopt, "65.9670", "3", "SERVIDOR", "SERVIDOR", "4501", "4501", "N", "2",
                                     std::nullopt}}));
    EXPECT_EQ(orderRows(QStringLiteral(
                  "SELECT ORC_CODIGO, ITE_SEQU, ITE_PRDCODIGO, ITE_BARRA, CAST(ITE_QUANTIDADE AS NUMERIC(18,4)), "
                  "CAST(ITE_UNITARIO AS NUMERIC(18,4)), CAST(ITE_ST AS NUMERIC(18,4)), CAST(ITE_SUBTOTAL AS NUMERIC(18,4)), "
                  "ITE_EXPORTADO, ITE_DESCRICAO, ITE_LARGURA, ITE_OBSERVACAO, CAST(ITE_PERCENTUALST AS NUMERIC(18,4)), "
                  "CAST(ITE_DESCONTO + ITE_PERDESC4 + ITE_PRECOTABELA + ITE_PERCENTUALCOMISSAO AS NUMERIC(18,4)), "
                  "ITE_REFERENCIA, NOVO_ST, "
                  "PROCESSOUVENDIDO FROM PEDIDO_ITENS ORDER BY ITE_SEQU")),
              (std::vector<SideRow>{
                  {"57", "1", "123", "123", "2.5000", "199.9000", "65.9670", "499.7500", "N", "Parafuso sextavado",
                   std::nullopt, std::nullopt, "0.1320", "0.0000", std::nullopt, std::nullopt, std::nullopt},
                  {"57", "2", "456", "456", "2.0000", "10.0000", "0.0000", "20.0000", "N", "Arruela lisa", std::nullopt,
                   std::nullopt, "0.0000", "0.0000", std::nullopt, std::nullopt, std::nullopt}}));
    EXPECT_EQ(orderRows(QStringLiteral("SELECT ORC_CODIGO, PG_SEQU, PG_DIAS, CAST(PG_VALOR AS NUMERIC(18,2)), "
                                       "PG_EXPORTADO FROM PEDIDO_PGTO")),
              (std::vector<SideRow>{{"57", "1", "66", "519.75", "N"}}));
    EXPECT_EQ(orderRows(QStringLiteral("SELECT ENV_ID, ENV_PEDIDO, ENV_EMAIL, ENV_ENVIADO FROM ENVIAEMAIL")),
              (std::vector<SideRow>{{"1", "57", "compras@tarvelo.com.br", "N"}}));
    EXPECT_EQ(generator(), QStringLiteral("57"));
}

TEST_F(ImportRunTest, TheGridsShowTheLoadedRecordSetsAndASecondRunReadsItsOwnFile)
{
    runOn(orderDocument(kCnpj, {kOrderWithTwoItems}));
    ASSERT_NE(host.boundOrders, nullptr);
    EXPECT_EQ(host.boundOrders->recordCount(), 1);
    EXPECT_EQ(&host.boundOrders->nestedRecordSet(OrderField::Item), host.boundItems);
    EXPECT_EQ(importRun->headerRecordSet().field(HeaderField::Cnpj).asText(), kCnpj);

    runOn(orderDocument(QStringLiteral("99.999.999/0001-99"), {}));
    EXPECT_EQ(importRun->headerRecordSet().field(HeaderField::Cnpj).asText(), QStringLiteral("99.999.999/0001-99"));
    EXPECT_EQ(host.boundOrders->recordCount(), 0);
}

TEST_F(ImportRunTest, AConnectionThatCannotOpenEndsTheRunWithItsLineAndNoQuit)
{
    struct Case {
        QString backOffice;
        QString orders;
        RunEnd end;
        QString line;
    };
    const QString missing = programFolder.filePath(QStringLiteral("nao-existe.fdb"));
    const Case cases[] = {
        {missing, databases.ordersPath(), RunEnd::NoBackOfficeConnection,
         QStringLiteral("@ Sem conexão a base de dados do kelmora...")},
        {QString(), databases.ordersPath(), RunEnd::NoBackOfficeConnection,
         QStringLiteral("@ Sem conexão a base de dados do kelmora...")},
        {databases.backOfficePath(), missing, RunEnd::NoOrdersConnection,
         QStringLiteral("@ Sem conexão a base de dados dos pedidos...")},
    };
    for (const auto& c : cases) {
        importRun.reset();
        host = RecordingHost();
        host.unattendedMode = true;
        host.backOffice = c.backOffice;
        host.orders = c.orders;
        EXPECT_EQ(run(), c.end);
        EXPECT_EQ(host.lines, QStringList{c.line});
        EXPECT_EQ(host.quitRequests, 0);
        EXPECT_FALSE(QFile::exists(programFolder.filePath(QStringLiteral("ToDp.xtr"))));
    }
}

// The operator may type another location between two runs: the next run ends the
// transaction, closes the old connection and opens the new one; one that does not open
// gives the usual line, and the old location works again afterwards.
TEST_F(ImportRunTest, AChangedLocationIsUsedByTheNextRun)
{
    const ImportDatabases other;
    const auto purchaseOrders = [](const QString& orders) {
        return SideConnection(orders).rows(QStringLiteral("SELECT PED_NROORDEMCOMPRA FROM PEDIDOS ORDER BY 1"));
    };
    EXPECT_EQ(runOn(orderDocument(kCnpj, {kOrderWithTwoItems})), RunEnd::Completed);

    host.orders = other.ordersPath();
    host.backOffice = other.backOfficePath();
    DocumentOrder second = kOrderWithTwoItems;
    second.purchaseOrder = QStringLiteral("4502");
    EXPECT_EQ(runOn(orderDocument(kCnpj, {second})), RunEnd::Completed);
    EXPECT_EQ(purchaseOrders(other.ordersPath()), std::vector<SideRow>{{"4502"}});

    host.orders = programFolder.filePath(QStringLiteral("nao-existe.fdb"));
    host.lines.clear();
    EXPECT_EQ(run(), RunEnd::NoOrdersConnection);
    EXPECT_EQ(host.lines, QStringList{QStringLiteral("@ Sem conexão a base de dados dos pedidos...")});
    EXPECT_TRUE(importRun->connectionFailure().contains(QStringLiteral("nao-existe.fdb")))
        << importRun->connectionFailure().toStdString();

    host.orders = databases.ordersPath();
    host.backOffice = databases.backOfficePath();
    DocumentOrder third = kOrderWithTwoItems;
    third.purchaseOrder = QStringLiteral("4503");
    EXPECT_EQ(runOn(orderDocument(kCnpj, {third})), RunEnd::Completed);
    endProgram();
    EXPECT_EQ(purchaseOrders(databases.ordersPath()), (std::vector<SideRow>{{"4501"}, {"4503"}}));
    EXPECT_EQ(purchaseOrders(other.ordersPath()), std::vector<SideRow>{{"4502"}});
}

TEST_F(ImportRunTest, TheNoNewOrdersAnswerIsShownAndNothingIsLoaded)
{
    host.unattendedMode = true;
    EXPECT_EQ(runOn("Resposta do servi\xe7o\r\nconsulta 15/03\r\nNao existem pedidos novos para este fornecedor\r\n"),
              RunEnd::Completed);
    EXPECT_EQ(host.lines, (QStringList{QStringLiteral("Resposta do serviço"), QStringLiteral("consulta 15/03"),
                                       QStringLiteral("Nao existem pedidos novos para este fornecedor"),
                                       QStringLiteral("@ Resumo: pedidos importados 0, já importados 0, com falha 0; "
                                                      "documento: arquivo %1; pendentes: nenhum")
                                           .arg(programFolder.filePath(QStringLiteral("pedidos.xml")))}));
    EXPECT_EQ(host.boundOrders, nullptr);
    EXPECT_EQ(host.quitRequests, 1);
    EXPECT_EQ(generator(), QStringLiteral("56"));

    // The same mark on a line of a remark stops the import as well.
    DocumentOrder order = kOrderWithTwoItems;
    order.remarks = QStringLiteral("Atencao\nNao ha pedidos novos no lote anterior");
    runOn(orderDocument(kCnpj, {order}));
    EXPECT_EQ(generator(), QStringLiteral("56"));
    EXPECT_EQ(*orderValue(QStringLiteral("SELECT COUNT(*) FROM PEDIDOS")), QStringLiteral("0"));
}

TEST_F(ImportRunTest, TheCnpjIsLookedUpWithoutItsPunctuation)
{
    struct Case {
        QString cnpj;
        QString customerLine;
    };
    const Case cases[] = {
        {QStringLiteral("12.345.678/0001-90"), QStringLiteral("@ 10")},
        {QStringLiteral("12345678000190"), QStringLiteral("@ 10")},
        {QStringLiteral("12 345 678 0001 90"), QStringLiteral("@ ")},
        {QStringLiteral("98.765.432/0001-10"), QStringLiteral("@ ")},
        {QStringLiteral("x' OR '1'='1"), QStringLiteral("@ ")},
    };
    for (const auto& c : cases) {
        host.lines.clear();
        host.quitRequests = 0;
        host.unattendedMode = true;
        EXPECT_EQ(runOn(orderDocument(c.cnpj, {})), RunEnd::Completed);
        EXPECT_EQ(host.lines.filter(QStringLiteral("@ ")).first(), c.customerLine) << c.cnpj.toStdString();
        EXPECT_EQ(host.quitRequests, 1);
    }
}

// Its orders fail until the back office knows the customer: in the window with the error
// box, unattended with a report; nothing is recorded and no number is drawn.
TEST_F(ImportRunTest, ACustomerNobodyHasFailsItsOrders)
{
    const QByteArray document = orderDocument(QStringLiteral("98.765.432/0001-10"),
                                              {kOrderWithTwoItems, {QStringLiteral("4502"), QString(), {}}});
    try {
        runOn(document);
        ADD_FAILURE() << "the orders of an unknown customer passed";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("no customer with CNPJ 98765432000110"));
    }
    host.unattendedMode = true;
    EXPECT_EQ(runOn(document), RunEnd::OrdersFailed);
    EXPECT_EQ(host.failures, QStringList{QStringLiteral("Falha nos pedidos 4501, 4502 do documento %1: no customer with "
                                                        "CNPJ 98765432000110")
                                            .arg(programFolder.filePath(QStringLiteral("pedidos.xml")))});
    EXPECT_TRUE(host.lines.last().startsWith(QStringLiteral("@ Resumo: pedidos importados 0, já importados 0, com falha 2;")));
    EXPECT_EQ(generator(), QStringLiteral("56"));
    EXPECT_EQ(*orderValue(QStringLiteral("SELECT COUNT(*) FROM PEDIDOS")), QStringLiteral("0"));
}

TEST_F(ImportRunTest, AnOrderFileThatCannotBeReadEndsTheRunBeforeAnyLookup)
{
    struct Case {
        QString typed;
        QString message;
    };
    const Case cases[] = {
        {programFolder.filePath(QStringLiteral("nao-existe.xml")), QStringLiteral("File not found")},
        // Blanks only: the run downloads; the download fails and no earlier file exists.
        {QStringLiteral("   "), QStringLiteral("File not found")},
    };
    for (const auto& c : cases) {
        host.lines.clear();
        host.orderFile = c.typed;
        try {
            run();
            ADD_FAILURE() << "ran without an order file";
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), c.message);
        }
    }
    EXPECT_EQ(host.lines.filter(QStringLiteral("receber arquivo")),
              (QStringList{QStringLiteral("@ Iniciando tentativa de receber arquivo..."),
                           QStringLiteral("@ Falha ao receber arquivo: connect failed: Connection refused")}));
    EXPECT_EQ(generator(), QStringLiteral("56"));
}

TEST_F(ImportRunTest, ADownloadedDocumentIsArchivedAndImported)
{
    const QByteArray document = orderDocument(kCnpj, {kOrderWithTwoItems});
    const ScriptedServer server(QByteArray("HTTP/1.1 200 OK\r\nContent-Length: ") + QByteArray::number(document.size())
                                + "\r\n\r\n" + document);
    serviceAddress = server.address();
    EXPECT_EQ(run(), RunEnd::Completed);

    EXPECT_EQ(host.lines.first(), QStringLiteral("@ Iniciando tentativa de receber arquivo..."));
    EXPECT_TRUE(QFile::exists(programFolder.filePath(QStringLiteral("xmlrecebidos/20240315_143007.xml"))));
    EXPECT_EQ(*orderValue(QStringLiteral("SELECT COUNT(*) FROM PEDIDOS")), QStringLiteral("1"));
}

TEST_F(ImportRunTest, AFailedDownloadReadsTheEarlierDocumentAgainAndRecordsNothingTwice)
{
    const QByteArray document = orderDocument(kCnpj, {kOrderWithTwoItems});
    QFile earlier(programFolder.filePath(QStringLiteral("recebido.xml")));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write(document);
    earlier.close();

    EXPECT_EQ(run(), RunEnd::DownloadFailed);
    EXPECT_EQ(run(), RunEnd::DownloadFailed);
    EXPECT_FALSE(QDir(programFolder.filePath(QStringLiteral("xmlrecebidos"))).exists());
    EXPECT_EQ(*orderValue(QStringLiteral("SELECT COUNT(*) FROM PEDIDOS")), QStringLiteral("1"));
    EXPECT_EQ(generator(), QStringLiteral("57")) << "no number is drawn for the known order";
    EXPECT_EQ(host.failures, QStringList(2, QStringLiteral("Falha ao receber arquivo: connect failed: Connection refused")));
}

TEST_F(ImportRunTest, TheTransformationFileIsWrittenAnewByEveryRun)
{
    const QString path = programFolder.filePath(QStringLiteral("ToDp.xtr"));
    QFile changed(path);
    ASSERT_TRUE(changed.open(QIODevice::WriteOnly));
    changed.write("<XmlTransformation Version=\"0.1\"/>");
    changed.close();
    EXPECT_EQ(runOn(orderDocument(kCnpj, {})), RunEnd::Completed);
    EXPECT_EQ(QFileInfo(path).size(), 8037);
}
