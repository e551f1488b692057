#include "ImportDatabases.h"
#include "InstalledProgram.h"
#include "OrderDocument.h"
#include "SideConnection.h"

#include <QDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <array>

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

    ImportDatabases databases;
};

const std::vector<SideRow> kBothOrders = {{"4501", "2", "509.75"}, {"4502", "1", "5.00"}};

} // namespace

TEST_F(Program, AnUnattendedRunImportsTheReceivedDocumentAndEndsWithStatusZero)
{
    const InstalledProgram program(databases.backOfficePath(), databases.ordersPath());
    program.setReceivedDocument(document());
    const auto outcome = program.run();
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.standardError.toStdString();
    EXPECT_EQ(outcome.standardError, QByteArray()) << "standard error is kept for failures";
    EXPECT_TRUE(outcome.standardOutput.contains("-Iniciando tentativa de receber arquivo...\n"));
    EXPECT_TRUE(outcome.standardOutput.contains("-Quantidade Sistema:2,5\n")) << "Brazilian regional settings";
    EXPECT_TRUE(outcome.standardOutput.contains("\nPedido: 4501 (2)\n"));
    EXPECT_EQ(recordedOrders(), kBothOrders);
}

TEST_F(Program, ADatabaseThatCannotBeReachedEndsTheProgramWithItsMessage)
{
    const InstalledProgram program(QStringLiteral("/nao/existe/kelmora.fdb"), databases.ordersPath());
    program.setReceivedDocument(document());
    const auto outcome = program.run();
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_EQ(outcome.standardError.trimmed().split('\n').last(), QByteArray("Sem conexão a base de dados do kelmora..."));
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
        // database held by the first process (2).
        EXPECT_TRUE(outcome.exitStatus == 0 || outcome.exitStatus == 2 || outcome.exitStatus == 4)
            << outcome.exitStatus << ": " << outcome.standardError.toStdString();
        completed += outcome.exitStatus == 0;
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

    const auto rerun = program.run();
    EXPECT_EQ(rerun.exitStatus, 0) << rerun.standardError.toStdString();
    EXPECT_EQ(recordedOrders(), kBothOrders);
    EXPECT_EQ(parts(), (std::vector<SideRow>{{"0", "0", "0"}}));
}
