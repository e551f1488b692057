#include "ImportRunTest.h"

#include "Error.h"

#include <QDir>

namespace {

DocumentOrder order(const char* purchaseOrder)
{
    return {QLatin1String(purchaseOrder), QString(), {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("10")}}};
}

QByteArray answerWith(const QByteArray& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

const QByteArray kNoNewOrders = "Nao existem pedidos novos para este fornecedor\r\n";

} // namespace

// Each run is a program start by the scheduler, at its own time, the service handing
// out one document.
class PendingDocumentsTest : public ImportRunTest {
protected:
    PendingDocumentsTest() { host.unattendedMode = true; }

    RunEnd runServing(const QByteArray& body, const QTime& at)
    {
        const ScriptedServer server(answerWith(body));
        serviceAddress = server.address();
        clock.set(QDateTime(QDate(2024, 3, 15), at));
        host.lines.clear();
        host.failures.clear();
        const RunEnd end = run();
        endProgram();
        return end;
    }

    // The database refuses the purchase order while the refusal stands.
    void refuse(const char* purchaseOrder) const
    {
        SideConnection orders(databases.ordersPath());
        orders.execute(QStringLiteral("CREATE EXCEPTION RECUSADO 'pedido recusado'"));
        orders.execute(QStringLiteral("CREATE TRIGGER RECUSA FOR PEDIDOS BEFORE INSERT AS BEGIN IF "
                                      "(NEW.PED_NROORDEMCOMPRA = '%1') THEN EXCEPTION RECUSADO; END")
                           .arg(QLatin1String(purchaseOrder)));
    }
    void liftRefusal() const { SideConnection(databases.ordersPath()).execute(QStringLiteral("DROP TRIGGER RECUSA")); }

    QStringList pending() const
    {
        return QDir(programFolder.filePath(QStringLiteral("pendentes"))).entryList(QDir::Files, QDir::Name);
    }
    // Every recorded order with its item and payment counts.
    std::vector<SideRow> recorded() const
    {
        return orderRows(QStringLiteral(
            "SELECT PED_NROORDEMCOMPRA, (SELECT COUNT(*) FROM PEDIDO_ITENS I WHERE I.ORC_CODIGO = P.ORC_CODIGO), "
            "(SELECT COUNT(*) FROM PEDIDO_PGTO G WHERE G.ORC_CODIGO = P.ORC_CODIGO) FROM PEDIDOS P ORDER BY 1"));
    }
    static std::vector<SideRow> whole(std::initializer_list<const char*> purchaseOrders)
    {
        std::vector<SideRow> rows;
        for (const char* purchaseOrder : purchaseOrders)
            rows.push_back({purchaseOrder, "1", "1"});
        return rows;
    }
};

// A document with A, B (refused by the orders database) and C, then one with D, then
// the refusal lifted while the service has nothing new: nothing is lost, nothing is
// recorded twice, and no number is drawn for an order already recorded.
TEST_F(PendingDocumentsTest, AFailingOrderStaysPendingWhileEveryOtherOrderIsRecorded)
{
    refuse("B");
    EXPECT_EQ(runServing(orderDocument(kCnpj, {order("A"), order("B"), order("C")}), QTime(14, 30, 7)),
              RunEnd::OrdersFailed);
    EXPECT_EQ(recorded(), whole({"A", "C"}));
    ASSERT_EQ(host.failures.size(), 1);
    EXPECT_TRUE(host.failures[0].startsWith(
        QStringLiteral("Falha no pedido B do documento 20240315_143007.xml: exception 1\r\nRECUSADO\r\npedido recusado")))
        << host.failures[0].toStdString();
    EXPECT_EQ(pending(), QStringList{QStringLiteral("20240315_143007.xml")});
    EXPECT_EQ(host.lines.last(), QStringLiteral("@ Resumo: pedidos importados 2, já importados 0, com falha 1; documento: "
                                                "recebido agora, 20240315_143007.xml; pendentes: 20240315_143007.xml (B)"));

    EXPECT_EQ(runServing(orderDocument(kCnpj, {order("D")}), QTime(14, 35, 0)), RunEnd::OrdersFailed);
    EXPECT_EQ(recorded(), whole({"A", "C", "D"}));
    EXPECT_EQ(host.lines.filter(QStringLiteral("Documento pendente")),
              QStringList{QStringLiteral("@ Documento pendente: 20240315_143007.xml")});
    ASSERT_EQ(host.failures.size(), 1);
    EXPECT_TRUE(host.failures[0].startsWith(QStringLiteral("Falha no pedido B do documento 20240315_143007.xml: ")));
    EXPECT_EQ(pending(), QStringList{QStringLiteral("20240315_143007.xml")});
    EXPECT_EQ(host.lines.last(), QStringLiteral("@ Resumo: pedidos importados 1, já importados 2, com falha 1; documento: "
                                                "recebido agora, 20240315_143500.xml; pendentes: 20240315_143007.xml (B)"));

    liftRefusal();
    EXPECT_EQ(runServing(kNoNewOrders, QTime(14, 40, 0)), RunEnd::Completed);
    EXPECT_EQ(recorded(), whole({"A", "B", "C", "D"}));
    EXPECT_EQ(host.failures, QStringList());
    EXPECT_EQ(pending(), QStringList());
    EXPECT_EQ(host.lines.last(), QStringLiteral("@ Resumo: pedidos importados 1, já importados 2, com falha 0; documento: "
                                                "recebido agora, 20240315_144000.xml, sem pedidos novos; pendentes: nenhum"));
    // A, B (refused), C; B (refused), D; B.
    EXPECT_EQ(generator(), QStringLiteral("62"));
    EXPECT_EQ(QDir(programFolder.filePath(QStringLiteral("xmlrecebidos"))).entryList(QDir::Files).size(), 3);
}

TEST_F(PendingDocumentsTest, OrdersOfACustomerTheBackOfficeDoesNotKnowWaitForIt)
{
    const QString unknown = QStringLiteral("98765432000110");
    EXPECT_EQ(runServing(orderDocument(unknown, {order("X"), order("Y")}), QTime(9, 0, 0)), RunEnd::OrdersFailed);
    EXPECT_EQ(host.failures, QStringList{QStringLiteral("Falha nos pedidos X, Y do documento 20240315_090000.xml: no "
                                                        "customer with CNPJ 98765432000110")});
    EXPECT_EQ(pending(), QStringList{QStringLiteral("20240315_090000.xml")});

    SideConnection(databases.backOfficePath())
        .execute(QStringLiteral("INSERT INTO CLI_FOR VALUES (11, '%1', 'Outro Cliente', 7, 'SP', 1, NULL)").arg(unknown));
    EXPECT_EQ(runServing(kNoNewOrders, QTime(9, 5, 0)), RunEnd::Completed);
    EXPECT_EQ(recorded(), whole({"X", "Y"}));
    EXPECT_EQ(pending(), QStringList());
}

// An order recorded meanwhile by hand is found recorded: it is not drawn a number nor
// recorded again, and the document leaves when its other orders are recorded.
TEST_F(PendingDocumentsTest, AnOrderRecordedMeanwhileByHandIsFoundRecorded)
{
    refuse("B");
    EXPECT_EQ(runServing(orderDocument(kCnpj, {order("A"), order("B")}), QTime(10, 0, 0)), RunEnd::OrdersFailed);
    liftRefusal();
    SideConnection(databases.ordersPath())
        .execute(QStringLiteral("INSERT INTO PEDIDOS (ORC_CODIGO, PED_CLIENTE, PED_NROORDEMCOMPRA) VALUES (900, 10, 'B')"));
    const QString drawn = generator();

    EXPECT_EQ(runServing(kNoNewOrders, QTime(10, 5, 0)), RunEnd::Completed);
    EXPECT_EQ(generator(), drawn);
    EXPECT_EQ(*orderValue(QStringLiteral("SELECT COUNT(*) FROM PEDIDOS WHERE PED_NROORDEMCOMPRA = 'B'")), QStringLiteral("1"));
    EXPECT_EQ(pending(), QStringList());
    EXPECT_TRUE(host.lines.last().startsWith(QStringLiteral("@ Resumo: pedidos importados 0, já importados 2, com falha 0;")));
}

// In the window the failing order ends the run with its error, as the operator expects;
// the document stays pending and the next click reads it first.
TEST_F(PendingDocumentsTest, InTheWindowAFailingOrderEndsTheRunAndItsDocumentStaysPending)
{
    host.unattendedMode = false;
    refuse("B");
    EXPECT_THROW(runServing(orderDocument(kCnpj, {order("A"), order("B"), order("C")}), QTime(11, 0, 0)), Error);
    endProgram();
    EXPECT_EQ(recorded(), whole({"A"}));
    EXPECT_EQ(pending(), QStringList{QStringLiteral("20240315_110000.xml")});

    liftRefusal();
    EXPECT_EQ(runServing(kNoNewOrders, QTime(11, 5, 0)), RunEnd::Completed);
    EXPECT_EQ(recorded(), whole({"A", "B", "C"}));
    EXPECT_EQ(pending(), QStringList());
}

TEST_F(PendingDocumentsTest, WhatIsNeverPending)
{
    // A file the operator typed: the operator holds it.
    host.unattendedMode = false;
    refuse("B");
    EXPECT_THROW(runOn(orderDocument(kCnpj, {order("A"), order("B")})), Error);
    endProgram();
    EXPECT_EQ(pending(), QStringList());

    // A document that cannot be read at all: it stays in "xmlrecebidos", reported.
    host.unattendedMode = true;
    host.orderFile.clear();
    EXPECT_EQ(runServing(orderDocument(kCnpj, {order("C")}).left(200), QTime(12, 0, 0)), RunEnd::OrdersFailed);
    ASSERT_EQ(host.failures.size(), 1);
    EXPECT_TRUE(host.failures[0].startsWith(
        QStringLiteral("Falha no documento 20240315_120000.xml: XML Parse Error:\n\rReason: ")))
        << host.failures[0].toStdString();
    EXPECT_EQ(pending(), QStringList());
    EXPECT_TRUE(QFile::exists(programFolder.filePath(QStringLiteral("xmlrecebidos/20240315_120000.xml"))));
}

// After a failed download the earlier document is read again; when it is the pending
// one just read, it is not read twice.
TEST_F(PendingDocumentsTest, AFailedDownloadIsToldAndThePendingDocumentIsReadOnce)
{
    refuse("B");
    EXPECT_EQ(runServing(orderDocument(kCnpj, {order("A"), order("B")}), QTime(13, 0, 0)), RunEnd::OrdersFailed);

    serviceAddress = QStringLiteral("http://127.0.0.1:%1/servico/oc/download").arg(closedLoopbackPort());
    host.lines.clear();
    host.failures.clear();
    EXPECT_EQ(run(), RunEnd::OrdersFailed);
    EXPECT_EQ(host.failures.size(), 2);
    EXPECT_EQ(host.failures.filter(QStringLiteral("Falha no pedido B")).size(), 1) << "read once";
    EXPECT_TRUE(host.failures.contains(QStringLiteral("Falha ao receber arquivo: connect failed: Connection refused")));
    EXPECT_TRUE(host.lines.contains(QStringLiteral("@ recebido.xml é um documento pendente já lido nesta execução")));

    liftRefusal();
    host.failures.clear();
    EXPECT_EQ(run(), RunEnd::DownloadFailed);
    EXPECT_EQ(host.failures, QStringList{QStringLiteral("Falha ao receber arquivo: connect failed: Connection refused")});
    EXPECT_EQ(recorded(), whole({"A", "B"}));
    EXPECT_EQ(pending(), QStringList());
}
