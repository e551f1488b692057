#include "DatabaseTest.h"

#include "Error.h"
#include "SideConnection.h"
#include "StatementRunner.h"

#include "QtPrinters.h"

class StatementRunnerTest : public DatabaseTest {
protected:
    void SetUp() override { openBoth(); }

    QString failureOfExecute()
    {
        try {
            IBQuery1.execute();
        } catch (const Error& error) {
            return error.message();
        }
        return QStringLiteral("(no failure)");
    }

    std::vector<SideRow> committedPayments()
    {
        SideConnection side(databases.ordersPath());
        return side.rows(QStringLiteral("SELECT ORC_CODIGO, PG_SEQU, PG_DIAS, CAST(PG_VALOR * 10 AS INTEGER), PG_EXPORTADO "
                                        "FROM PEDIDO_PGTO"));
    }

    StatementRunner IBQuery1{BasePedidos};
};

TEST_F(StatementRunnerTest, TextIsTheLinesEachEndedByCarriageReturnAndLineFeed)
{
    EXPECT_EQ(IBQuery1.text(), QString());
    IBQuery1.add(QStringLiteral("INSERT INTO PARAMETROS"));
    IBQuery1.add(QStringLiteral(" (PAR_SEQU) VALUES (1)"));
    EXPECT_EQ(IBQuery1.text(), QStringLiteral("INSERT INTO PARAMETROS\r\n (PAR_SEQU) VALUES (1)\r\n"));
    IBQuery1.clear();
    EXPECT_EQ(IBQuery1.text(), QString());
}

TEST_F(StatementRunnerTest, InsertRunsInTheTransactionAndIsCommittedWithIt)
{
    EXPECT_FALSE(TR.isActive());
    IBQuery1.close();
    IBQuery1.clear();
    IBQuery1.add(QStringLiteral("INSERT INTO PEDIDO_PGTO\t (ORC_CODIGO,PG_SEQU,PG_DIAS,PG_VALOR,PG_EXPORTADO) VALUES "
                                "(57,1,66,199.9,'N')"));
    IBQuery1.execute();
    EXPECT_TRUE(TR.isActive());
    EXPECT_TRUE(committedPayments().empty());

    TR.commitRetaining();
    EXPECT_EQ(committedPayments(), (std::vector<SideRow>{{QStringLiteral("57"), QStringLiteral("1"), QStringLiteral("66"),
                                                          QStringLiteral("1999"), QStringLiteral("N")}}));
}

TEST_F(StatementRunnerTest, StatementsItDoesNotRunAndWhatTheyLeave)
{
    struct Case {
        QStringList lines;
        QString failure;
        bool transactionStarted;
    };
    const Case cases[] = {
        {{}, QStringLiteral("Empty SQL Statement"), false},
        {{QStringLiteral("INSERT INTO ENVIAEMAIL(ENV_ID,ENV_PEDIDO,ENV_EMAIL,ENV_ENVIADO)VALUES(GEN_ID(GEN_ENVIAEMAIL,1) ,"
                         "57,'d'avila@example.com','N')")},
         QStringLiteral("SQL Parse Error:\r\n\r\nEOF in string detected"), false},
        {{QStringLiteral("SELECT PAR_ENVIAEMAIL FROM PARAMETROS")}, QStringLiteral("use Open for a Select Statement"), true},
        {{QStringLiteral("INSERT INTO PEDIDO_PGTO (ORC_CODIGO) VALUES (57)")},
         QStringLiteral("validation error for column \"PEDIDO_PGTO\".\"PG_SEQU\", value \"*** null ***\""), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failure.toStdString());
        IBQuery1.clear();
        for (const QString& line : c.lines)
            IBQuery1.add(line);
        EXPECT_EQ(failureOfExecute(), c.failure);
        EXPECT_EQ(TR.isActive(), c.transactionStarted);
    }
    TR.commitRetaining();
    EXPECT_TRUE(committedPayments().empty());
}
