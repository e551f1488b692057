#include "ImportDatabases.h"
#include "InstalledProgram.h"
#include "OrderDocument.h"
#include "ScriptedServer.h"
#include "SideConnection.h"
#include "TestAuthority.h"
#include "TestFirebirdServer.h"

#include <QDir>
#include <QFile>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <array>
#include <csignal>

namespace {

class Program : public testing::Test {
protected:
    QByteArray document() const
    {
        return orderDocument(QString::fromLatin1(ImportDatabases::kCustomerCnpj),
                             {{QStringLiteral("4501"), QStringLiteral("obs"),
                               {{QStringLiteral("123"), QStringLiteral("2.5"), QStringLiteral("199.90")},
                                {QStringLiteral("456"), QStringLiteral("1"), QStringLiteral("10")}}},
                              {QStringLiteral("4502"), QStringLiteral("obs"),
                               {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("5")}}}});
    }
    std::vector<SideRow> recordedOrders() const
    {
        return SideConnection(databases.ordersPath())
            .rows(QStringLiteral("SELECT PED_NROORDEMCOMPRA, PED_NROITENS, CAST(PED_TOTAL AS NUMERIC(18,2)) FROM "
                                 "PEDIDOS ORDER BY 1"));
    }

    // The rights that the package's grant scripts give the built-in account, given to another user.
    static void grantImportRights(const QString& user, const QString& backOffice, const QString& orders)
    {
        const std::pair<QString, const char*> scripts[] = {{backOffice, "backoffice.sql"}, {orders, "orders.sql"}};
        for (const auto& [database, script] : scripts) {
            QFile file(QStringLiteral(GRANTS_FOLDER "/") + QLatin1StringView(script));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << script;
            SideConnection connection(database);
            for (const QByteArray& line : file.readAll().split('\n')) {
                if (line.startsWith("GRANT "))
                    connection.execute(QString::fromLatin1(line.trimmed().chopped(1))
                                           .replace(QStringLiteral("TO USER KALVE"), QStringLiteral("TO USER ") + user));
            }
        }
    }

    ImportDatabases databases;
};

const std::vector<SideRow> kBothOrders = {{"4501", "2", "509.75"}, {"4502", "1", "5.00"}};

} // namespace

// Without a network the service cannot be reached: the earlier document is read again,
// every order is recorded, and the status tells the scheduler of the outage.
TEST_F(Program, AnUnattendedRunImportsTheReceivedDocumentAndTellsOfTheFailedDownload)
{
    const InstalledProgram program(databases.backOfficePath(), databases.ordersPath());
    program.setReceivedDocument(document());
    const auto outcome = program.run();
    EXPECT_EQ(outcome.exitStatus, 5) << outcome.standardError.toStdString();
    EXPECT_EQ(outcome.standardError, QByteArray("Falha ao receber arquivo: name not resolved\n"))
        << "standard error is kept for failures";
    EXPECT_TRUE(outcome.standardOutput.contains("-Resumo: pedidos importados 2, já importados 0, com falha 0; documento: "
                                                "recebido.xml de "));
    EXPECT_TRUE(outcome.standardOutput.contains("-Iniciando tentativa de receber arquivo...\n"));
    EXPECT_TRUE(outcome.standardOutput.contains("-Quantidade Sistema:2,5\n")) << "Brazilian regional settings";
    EXPECT_TRUE(outcome.standardOutput.contains("\nPedido: 4501 (2)\n"));
    EXPECT_EQ(recordedOrders(), kBothOrders);
    EXPECT_FALSE(QDir(program.folder()).exists(QStringLiteral("logs"))) << "the scheduler's journal keeps the log";
}

// Standard output is written in batches, but never after what standard error says later:
// read together, the two streams keep the order in which things happened.
TEST_F(Program, StandardOutputAndStandardErrorTogetherKeepTheirOrder)
{
    const InstalledProgram program(databases.backOfficePath(), databases.ordersPath());
    program.setReceivedDocument(document());
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    program.start(process);
    const auto outcome = InstalledProgram::finish(process);
    EXPECT_EQ(outcome.exitStatus, 5);
    const QByteArray failure = "Falha ao receber arquivo: name not resolved\n";
    const qsizetype logged = outcome.standardOutput.indexOf("-" + failure);
    ASSERT_GE(logged, 0) << outcome.standardOutput.toStdString();
    const qsizetype told = logged + 1 + failure.size();
    EXPECT_EQ(outcome.standardOutput.mid(told, failure.size()), failure) << "told right after the log line";
    EXPECT_GT(outcome.standardOutput.indexOf("-Resumo: "), told);
}

// The account of the settings file signs in to both databases on a Firebird server, and
// nothing the program writes shows its password: neither the server's refusal of a wrong
// one, nor the refusals an account without rights meets, nor an import.
TEST_F(Program, TheSettingsAccountSignsInToTheServerAndItsPasswordIsNeverWritten)
{
    const TestFirebirdServer server;
    const QString backOffice = server.location(databases.backOfficePath());
    const QString orders = server.location(databases.ordersPath());
    InstalledProgram program(backOffice, orders);
    program.setReceivedDocument(document());
    // The program reaches the server on the loopback network; no order service listens there.
    program.setServiceAddress(QStringLiteral("http://127.0.0.1:%1/servico/oc/download").arg(closedLoopbackPort()));
    const auto purchaseOrders = [&] {
        return SideConnection(orders).rows(QStringLiteral("SELECT PED_NROORDEMCOMPRA FROM PEDIDOS ORDER BY 1"));
    };
    // IMPORTADOR's password on the server of scripts/firebird-server, and a wrong one.
    const QByteArray password = "Senha-do-Administrador-1";
    const QByteArray wrongPassword = "Senha-errada-42";

    program.setDatabaseAccount(QStringLiteral("IMPORTADOR"), QString::fromLatin1(wrongPassword));
    const auto refused = program.run();
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_TRUE(refused.standardError.contains("Your user name and password are not defined"))
        << refused.standardError.toStdString();

    program.setDatabaseAccount(QStringLiteral("IMPORTADOR"), QString::fromLatin1(password));
    const auto withoutRights = program.run();
    EXPECT_EQ(withoutRights.exitStatus, 3);
    EXPECT_TRUE(withoutRights.standardError.contains("no permission for SELECT access to TABLE "))
        << withoutRights.standardError.toStdString();
    EXPECT_EQ(purchaseOrders(), std::vector<SideRow>{});

    grantImportRights(QStringLiteral("IMPORTADOR"), backOffice, orders);
    const auto withRights = program.run();
    EXPECT_EQ(withRights.exitStatus, 5) << withRights.standardError.toStdString();
    EXPECT_EQ(purchaseOrders(), (std::vector<SideRow>{{"4501"}, {"4502"}}));

    for (const auto* outcome : {&refused, &withoutRights, &withRights}) {
        for (const QByteArray& secret : {password, wrongPassword}) {
            EXPECT_FALSE(outcome->standardOutput.contains(secret));
            EXPECT_FALSE(outcome->standardError.contains(secret));
        }
    }
}

// A service whose certificate the system does not trust is one that cannot be reached: the
// request never leaves, the received document is read again and the status tells of it.
TEST_F(Program, AServiceWhoseCertificateDoesNotVerifyIsAFailedDownload)
{
    const TestAuthority unknown(QStringLiteral("Autoridade desconhecida"));
    const ServerIdentity identity = unknown.issue({QStringLiteral("127.0.0.1")});
    const ScriptedServer service(QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"), TlsServing{identity});
    InstalledProgram program(databases.backOfficePath(), databases.ordersPath());
    program.setReceivedDocument(document());
    program.setServiceAddress(service.address());

    const auto outcome = program.run();
    EXPECT_EQ(outcome.exitStatus, 5);
    EXPECT_EQ(outcome.standardError,
              QByteArray("Falha ao receber arquivo: certificate verify failed: unable to get local issuer certificate\n"));
    EXPECT_EQ(service.requests(), std::vector<QByteArray>{});
    EXPECT_EQ(recordedOrders(), kBothOrders);
}

TEST_F(Program, ADatabaseThatCannotBeReachedEndsTheProgramWithItsMessage)
{
    const InstalledProgram program(QStringLiteral("/nao/existe/kelmora.fdb"), databases.ordersPath());
    program.setReceivedDocument(document());
    const auto outcome = program.run();
    EXPECT_EQ(outcome.exitStatus, 2);
    // Standard error adds the client library's reason to the pane's line.
    const QList<QByteArray> lines = outcome.standardError.trimmed().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QByteArray("Sem conexão a base de dados do kelmora..."));
    EXPECT_TRUE(outcome.standardError.contains("/nao/existe/kelmora.fdb")) << outcome.standardError.toStdString();
    EXPECT_FALSE(outcome.standardOutput.contains("/nao/existe/kelmora.fdb"));
    EXPECT_EQ(recordedOrders(), std::vector<SideRow>{});
}

TEST_F(Program, ABrokenOrderDocumentEndsTheProgramWithTheParseErrorAndImportsNothing)
{
    const InstalledProgram program(databases.backOfficePath(), databases.ordersPath());
    program.setReceivedDocument(document().left(300));
    const auto outcome = program.run();
    EXPECT_EQ(outcome.exitStatus, 3);
    EXPECT_TRUE(outcome.standardError.contains("XML Parse Error:\n\rReason: ")) << outcome.standardError.toStdString();
    EXPECT_EQ(recordedOrders(), std::vector<SideRow>{});
}

TEST_F(Program, TwoProgramsStartedTogetherRecordEveryOrderOnce)
{
    const InstalledProgram program(databases.backOfficePath(), databases.ordersPath());
    program.setReceivedDocument(document());
    std::array<QProcess, 2> processes;
    for (QProcess& process : processes)
        program.start(process);
    int completed = 0;
    for (QProcess& process : processes) {
        const auto outcome = InstalledProgram::finish(process);
        // The other one either waited its turn, found the lock held (4) or found the
        // database held by the first process (2). A run that completes cannot reach the
        // service here (5).
        EXPECT_TRUE(outcome.exitStatus == 5 || outcome.exitStatus == 2 || outcome.exitStatus == 4)
            << outcome.exitStatus << ": " << outcome.standardError.toStdString();
        completed += outcome.exitStatus == 5;
    }
    EXPECT_GE(completed, 1);
    EXPECT_EQ(recordedOrders(), kBothOrders);
}

TEST_F(Program, AProgramKilledInTheMiddleOfAnOrderLeavesNoPartOfIt)
{
    // The second order's payment (order number 58) takes seconds to write, long enough to
    // kill the program while that order's items and row are sent but not committed.
    SideConnection(databases.ordersPath())
        .execute(QStringLiteral("CREATE TRIGGER DEMORA FOR PEDIDO_PGTO BEFORE INSERT AS DECLARE I INTEGER = 0; BEGIN "
                                "IF (NEW.ORC_CODIGO = 58) THEN WHILE (I < 200000000) DO I = I + 1; END"));
    const InstalledProgram program(databases.backOfficePath(), databases.ordersPath());
    program.setReceivedDocument(document());
    QProcess process;
    program.start(process);
    QByteArray output;
    while (!output.contains("VALUES (58,1,66,") && process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(100);
        output += process.readAllStandardOutput();
    }
    ASSERT_TRUE(output.contains("\nPedido: 4501 (2)\n"));
    process.kill();
    process.waitForFinished();

    const auto parts = [this] {
        return SideConnection(databases.ordersPath())
            .rows(QStringLiteral("SELECT (SELECT COUNT(*) FROM PEDIDOS WHERE ORC_CODIGO = 58), (SELECT COUNT(*) FROM "
                                 "PEDIDO_ITENS WHERE ORC_CODIGO = 58), (SELECT COUNT(*) FROM PEDIDO_PGTO WHERE ORC_CODIGO "
                                 "= 58) FROM RDB$DATABASE"));
    };
    EXPECT_EQ(parts(), (std::vector<SideRow>{{"0", "0", "0"}}));
    EXPECT_EQ(recordedOrders(), (std::vector<SideRow>{{"4501", "2", "509.75"}}));
    const QDir pending(QDir(program.folder()).filePath(QStringLiteral("pendentes")));
    EXPECT_EQ(pending.entryList(QDir::Files).size(), 1) << "the document waits for the next run";

    SideConnection(databases.ordersPath()).execute(QStringLiteral("DROP TRIGGER DEMORA"));
    const auto rerun = program.run();
    EXPECT_EQ(rerun.exitStatus, 5) << rerun.standardError.toStdString();
    EXPECT_EQ(recordedOrders(), kBothOrders);
    EXPECT_EQ(SideConnection(databases.ordersPath())
                  .value(QStringLiteral("SELECT COUNT(*) FROM PEDIDO_ITENS I WHERE NOT EXISTS (SELECT 1 FROM PEDIDOS P "
                                        "WHERE P.ORC_CODIGO = I.ORC_CODIGO)")),
              QStringLiteral("0"));
    EXPECT_EQ(pending.entryList(QDir::Files).size(), 0);
}

namespace {

// Three orders; the second one's payment (order number 58) takes a while to record, so a
// request to end arrives while that order is being recorded.
struct SlowSecondOrder {
    SlowSecondOrder()
        : program(databases.backOfficePath(), databases.ordersPath())
    {
        SideConnection(databases.ordersPath())
            .execute(QStringLiteral("CREATE TRIGGER DEMORA FOR PEDIDO_PGTO BEFORE INSERT AS DECLARE I INTEGER = 0; "
                                    "BEGIN IF (NEW.ORC_CODIGO = 58) THEN WHILE (I < 20000000) DO I = I + 1; END"));
        const auto order = [](const char* number) {
            return DocumentOrder{QLatin1String(number), QString(),
                                 {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("10")}}};
        };
        program.setReceivedDocument(orderDocument(QString::fromLatin1(ImportDatabases::kCustomerCnpj),
                                                  {order("4501"), order("4502"), order("4503")}));
    }

    // Starts the program and sends it the signal once the second order's payment is on
    // its way; gives the program's outcome with all its output.
    InstalledProgram::Outcome runInterruptedBy(int signal) const
    {
        QProcess process;
        program.start(process);
        QByteArray output;
        while (!output.contains("VALUES (58,1,66,") && process.state() != QProcess::NotRunning) {
            process.waitForReadyRead(100);
            output += process.readAllStandardOutput();
        }
        ::kill(static_cast<pid_t>(process.processId()), signal);
        auto outcome = InstalledProgram::finish(process);
        outcome.standardOutput.prepend(output);
        return outcome;
    }

    std::vector<SideRow> ordersWithPayments() const
    {
        return SideConnection(databases.ordersPath())
            .rows(QStringLiteral("SELECT PED_NROORDEMCOMPRA, (SELECT COUNT(*) FROM PEDIDO_PGTO G WHERE G.ORC_CODIGO = "
                                 "P.ORC_CODIGO), (SELECT COUNT(*) FROM PEDIDO_ITENS I WHERE I.ORC_CODIGO = "
                                 "P.ORC_CODIGO) FROM PEDIDOS P ORDER BY 1"));
    }

    ImportDatabases databases;
    InstalledProgram program;
};

} // namespace

// The system's requests to end (a service stopped, a time limit, a closed terminal) end
// the program with 128 and the signal's number after the order in progress, which is
// recorded whole; the orders after it wait for the next run.
TEST_F(Program, ARequestToEndFinishesTheOrderInProgressAndStopsBeforeTheNext)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const SlowSecondOrder round;
        const auto outcome = round.runInterruptedBy(signal);
        const QByteArray& output = outcome.standardOutput;

        EXPECT_EQ(outcome.exitStatus, 128 + signal) << outcome.standardError.toStdString();
        EXPECT_TRUE(output.contains("\nPedido: 4502 (1)\n")) << signal;
        EXPECT_EQ(output.count("-orc_codigo:"), 2) << "the third order is not begun";
        EXPECT_TRUE(output.contains("-Execução interrompida a pedido do sistema...\n")) << signal;
        EXPECT_EQ(round.ordersWithPayments(), (std::vector<SideRow>{{"4501", "1", "1"}, {"4502", "1", "1"}}))
            << signal;
    }
}

// The scheduler's runs against a loopback stand-in of the order service: a document with
// A, B (refused by the orders database) and C, then one with D, then the refusal lifted
// while the service has nothing new. Nothing is lost and nothing is recorded twice.
TEST_F(Program, TheSchedulerRecordsEveryOrderOnceWhateverFailsOnTheWay)
{
    SideConnection(databases.ordersPath()).execute(QStringLiteral("CREATE EXCEPTION RECUSADO 'pedido recusado'"));
    SideConnection(databases.ordersPath())
        .execute(QStringLiteral("CREATE TRIGGER RECUSA FOR PEDIDOS BEFORE INSERT AS BEGIN IF (NEW.PED_NROORDEMCOMPRA = "
                                "'B') THEN EXCEPTION RECUSADO; END"));
    const auto order = [](const char* number) {
        return DocumentOrder{QLatin1String(number), QString(), {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("10")}}};
    };
    const auto answer = [](const QByteArray& body) {
        return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    };
    const QString cnpj = QString::fromLatin1(ImportDatabases::kCustomerCnpj);
    InstalledProgram program(databases.backOfficePath(), databases.ordersPath());
    const auto runServing = [&](const QByteArray& body) {
        const ScriptedServer service(answer(body));
        program.setServiceAddress(service.address());
        return program.run();
    };
    const auto purchaseOrders = [this] {
        return SideConnection(databases.ordersPath())
            .rows(QStringLiteral("SELECT PED_NROORDEMCOMPRA FROM PEDIDOS ORDER BY 1"));
    };

    const auto first = runServing(orderDocument(cnpj, {order("A"), order("B"), order("C")}));
    EXPECT_EQ(first.exitStatus, 3);
    EXPECT_TRUE(first.standardError.contains("Falha no pedido B do documento ")) << first.standardError.toStdString();
    EXPECT_EQ(purchaseOrders(), (std::vector<SideRow>{{"A"}, {"C"}}));

    const auto second = runServing(orderDocument(cnpj, {order("D")}));
    EXPECT_EQ(second.exitStatus, 3);
    EXPECT_TRUE(second.standardError.contains("Falha no pedido B do documento ")) << second.standardError.toStdString();
    EXPECT_EQ(purchaseOrders(), (std::vector<SideRow>{{"A"}, {"C"}, {"D"}}));

    SideConnection(databases.ordersPath()).execute(QStringLiteral("DROP TRIGGER RECUSA"));
    const auto third = runServing("Nao existem pedidos novos para este fornecedor\r\n");
    EXPECT_EQ(third.exitStatus, 0) << third.standardError.toStdString();
    EXPECT_FALSE(third.standardError.contains("Falha"));
    EXPECT_TRUE(third.standardOutput.contains("-Resumo: pedidos importados 1, já importados 2, com falha 0;"));
    EXPECT_EQ(purchaseOrders(), (std::vector<SideRow>{{"A"}, {"B"}, {"C"}, {"D"}}));
    EXPECT_TRUE(QDir(QDir(program.folder()).filePath(QStringLiteral("pendentes"))).isEmpty());
}
