#include "DatabaseTest.h"

#include "Error.h"
#include "SideConnection.h"
#include "StRateLookup.h"

#include "QtPrinters.h"

class StRateLookupTest : public DatabaseTest {
protected:
    // Products 1234 to 1238 each lead to an ICMS table of their own for SP to RJ, class 2.
    void SetUp() override
    {
        SideConnection side(databases.backOfficePath());
        const char* rows[] = {
            "INSERT INTO PRODUTOS (PRD_CODIGO, PRD_NCM) VALUES (1234, '84713012')",
            "INSERT INTO NCM (NCM_CODIGO, NCM_ICMS) VALUES ('84713012', 10)",
            "INSERT INTO ICMS VALUES (10, 'SP', 'RJ', 2, 140, 18, 100, 12)",
            "INSERT INTO ICMS VALUES (10, 'SP', 'RJ', 3, 100, 17, 0, 0)",
            "INSERT INTO ICMS VALUES (10, '''X', 'RJ', 2, 100, 10, 0, 0)",
            // Purchase factor 0: never used, even as the only row.
            "INSERT INTO PRODUTOS (PRD_CODIGO, PRD_NCM) VALUES (1235, '20')",
            "INSERT INTO NCM (NCM_CODIGO, NCM_ICMS) VALUES ('20', 20)",
            "INSERT INTO ICMS VALUES (20, 'SP', 'RJ', 2, 0, 18, 100, 12)",
            "INSERT INTO PRODUTOS (PRD_CODIGO, PRD_NCM) VALUES (1236, '30')",
            "INSERT INTO NCM (NCM_CODIGO, NCM_ICMS) VALUES ('30', 30)",
            "INSERT INTO ICMS VALUES (30, 'SP', 'RJ', 2, 100, 18, NULL, NULL)",
            "INSERT INTO PRODUTOS (PRD_CODIGO, PRD_NCM) VALUES (1237, '40')",
            "INSERT INTO NCM (NCM_CODIGO, NCM_ICMS) VALUES ('40', 40)",
            "INSERT INTO ICMS VALUES (40, 'SP', 'RJ', 2, 100, 12, 140, 18)",
            "INSERT INTO PRODUTOS (PRD_CODIGO, PRD_NCM) VALUES (1238, '50')",
            "INSERT INTO NCM (NCM_CODIGO, NCM_ICMS) VALUES ('50', 50)",
            "INSERT INTO ICMS VALUES (50, 'SP', 'RJ', 2, 100, 7.5, 0, 0)",
            // Factors whose product the server cannot compute.
            "INSERT INTO PRODUTOS (PRD_CODIGO, PRD_NCM) VALUES (1239, '60')",
            "INSERT INTO NCM (NCM_CODIGO, NCM_ICMS) VALUES ('60', 60)",
            "INSERT INTO ICMS VALUES (60, 'SP', 'RJ', 2, 9999999999999.99, 9999999999999.99, 0, 0)",
        };
        for (const char* row : rows)
            side.execute(QString::fromLatin1(row));
    }

};

TEST_F(StRateLookupTest, RateIsTheServersPercentageOverOneHundredAndEveryStepIsLogged)
{
    openBoth();
    EXPECT_DOUBLE_EQ(calculast(QStringLiteral("SP"), QStringLiteral("RJ"), 1234, 2, BaseADM, log, regional), 0.132);
    EXPECT_EQ(log.messages, (QStringList{
                                QStringLiteral("CALCULO ST - UF ORIGEM:SP"),
                                QStringLiteral("CALCULO ST - UF DESTINO:RJ"),
                                QStringLiteral("CALCULO ST - COD PRODUTO1234"),
                                QStringLiteral("CALCULO ST - ENQUADRAMENTO: 2"),
                                QStringLiteral("CALCULO ST - RETORNO: 13,2"),
                            }));

    log.messages.clear();
    EXPECT_DOUBLE_EQ(calculast(QStringLiteral("SP"), QStringLiteral("RJ"), 1234, 2, BaseADM, log,
                               unitedStatesSettings()),
                     0.132);
    EXPECT_EQ(log.messages.last(), QStringLiteral("CALCULO ST - RETORNO: 13.2"));
}

TEST_F(StRateLookupTest, RowsThatDoNotApplyGiveZero)
{
    openBoth();
    struct Case {
        const char* origin;
        const char* destination;
        std::int32_t product;
        std::int32_t enquadramento;
        const char* answer;
        double rate;
    };
    const Case cases[] = {
        {"SP", "RJ", 1235, 2, "0", 0},            // purchase base 0
        {"SP", "RJ", 1236, 2, "18", 0.18},        // NULL sale factors count as 0
        {"SP", "RJ", 1237, 2, "-13,2", -0.132},   // sale side larger than purchase side
        {"SP", "RJ", 1238, 2, "7,5", 0.075},
        {"SP", "RJ", 1234, 3, "17", 0.17},
        {"SP", "RJ", 9999, 2, "0", 0},            // unknown product
        {"SP", "RJ", 1234, 5, "0", 0},            // no row for the class
        {"", "RJ", 1234, 2, "0", 0},
        {"SP", "", 1234, 2, "0", 0},
        {"SP", "RJ", -1234, 2, "0", 0},
    };
    for (const auto& c : cases) {
        log.messages.clear();
        EXPECT_DOUBLE_EQ(calculast(QString::fromLatin1(c.origin), QString::fromLatin1(c.destination), c.product,
                                   c.enquadramento, BaseADM, log, regional),
                         c.rate)
            << c.product;
        ASSERT_EQ(log.messages.size(), 5);
        EXPECT_EQ(log.messages[4], QStringLiteral("CALCULO ST - RETORNO: ") + QString::fromLatin1(c.answer));
    }
}

TEST_F(StRateLookupTest, QuoteInAStateStaysInsideItsLiteral)
{
    openBoth();
    EXPECT_DOUBLE_EQ(calculast(QStringLiteral("'X"), QStringLiteral("RJ"), 1234, 2, BaseADM, log, regional), 0.1);
    EXPECT_DOUBLE_EQ(calculast(QStringLiteral("SP' OR 'A'='A"), QStringLiteral("RJ"), 1234, 2, BaseADM, log,
                               regional),
                     0);
    EXPECT_EQ(log.messages.filter(QStringLiteral("erro PTAB:")), QStringList());
    EXPECT_EQ(log.messages[0], QStringLiteral("CALCULO ST - UF ORIGEM:'X"));
}

TEST_F(StRateLookupTest, StatementIsTheElevenPiecesOnTheBackOffice)
{
    {
        SideConnection side(databases.backOfficePath());
        side.execute(QStringLiteral("DROP TABLE ICMS"));
    }
    openBoth();
    try {
        calculast(QStringLiteral("SP"), QStringLiteral("RJ"), 1234, -2, BaseADM, log, regional);
        ADD_FAILURE() << "ran without the ICMS table";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Dynamic SQL Error"))) << error.message().toStdString();
    }
    ASSERT_EQ(log.messages.size(), 5);
    EXPECT_EQ(log.messages[3], QStringLiteral("CALCULO ST - ENQUADRAMENTO: -2"));
    const QString statement = log.messages[4].mid(log.messages[4].indexOf(QStringLiteral(" - SELECT")) + 3);
    EXPECT_EQ(statement,
              QStringLiteral("SELECT FIRST 1 coalesce(cast((((COALESCE(ICM_BASECOMPRA,0) * COALESCE(ICM_ICMCOMPRA,0)) - "
                             "COALESCE(ICM_BASEVENDA,0) * COALESCE(ICM_ICMVENDA,0))/100)as numeric(15,2)),0) as "
                             "ALIQUOTA_ST from PRODUTOS A, NCM B, ICMS C\r\n"
                             " Where  A.PRD_NCM = B.NCM_CODIGO AND B.NCM_ICMS = C.TAB_CODIGO AND "
                             "C.ICM_UFORIGEM = 'SP'AND ICM_BASECOMPRA <> 0 AND ICM_ICMCOMPRA <> 0 AND C.ICM_UF = "
                             "'RJ'AND A.PRD_CODIGO = 1234 AND C.ICM_ENQUADRAMENTO = -2\r\n"));
}

// An understated tax is worse than no order: a rate the server cannot compute ends the
// lookup with the server's message, after its "erro PTAB:" line, and never reads as 0.
TEST_F(StRateLookupTest, RateTheServerCannotComputeFailsInsteadOfGivingZero)
{
    openBoth();
    try {
        const double rate = calculast(QStringLiteral("SP"), QStringLiteral("RJ"), 1239, 2, BaseADM, log, regional);
        ADD_FAILURE() << "gave the rate " << rate;
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Integer overflow."))) << error.message().toStdString();
    }
    ASSERT_EQ(log.messages.size(), 5);
    EXPECT_TRUE(log.messages[4].startsWith(QStringLiteral("erro PTAB:Integer overflow."))) << log.messages[4].toStdString();
}
