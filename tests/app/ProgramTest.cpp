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
