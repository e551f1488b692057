#include "DatabaseTest.h"

#include "Error.h"
#include "SideConnection.h"
#include "Statement.h"

#include "QtPrinters.h"

using StatementTest = DatabaseTest;

TEST_F(StatementTest, ParametersTakeEveryKindOfValueByPosition)
{
    openBoth();
    Statement insert(BasePedidos, QStringLiteral("INSERT INTO PEDIDOS (ORC_CODIGO, PED_DTEMISSAO, PED_OBS1, PED_TOTAL, "
                                                 "PED_DTENVIO, PED_OBS2, PED_NROITENS, PED_CNPJ_CPF) "
                                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    ASSERT_EQ(insert.parameterCount(), 8);
    insert.execute({std::int64_t{57}, QDate(2024, 3, 15), QStringLiteral("Ação d'água – 5€"), 199.9,
                    QDateTime(QDate(2024, 3, 15), QTime(14, 5, 9)), SqlNull{}, QStringLiteral("12"), std::int64_t{123}});
    TR.commitRetaining();

    SideConnection side(databases.ordersPath());
    const auto rows = side.rows(QStringLiteral("SELECT ORC_CODIGO, PED_DTEMISSAO, PED_OBS1, PED_TOTAL, CAST(PED_DTENVIO AS VARCHAR(24)), "
                                               "PED_OBS2, PED_NROITENS, PED_CNPJ_CPF, OCTET_LENGTH(PED_OBS1) "
                                               "FROM PEDIDOS"));
    ASSERT_EQ(rows.size(), 1u);
    const SideRow expected{QStringLiteral("57"),
                           QStringLiteral("2024-03-15"),
                           QString::fromLatin1("A\xe7\xe3o d'\xe1gua \x96 5\x80"),
                           QStringLiteral("199.9000000000000"),
                           QStringLiteral("2024-03-15 14:05:09.0000"),
                           std::nullopt,
                           QStringLiteral("12"),
                           QStringLiteral("123"),
                           QStringLiteral("16")};
    EXPECT_EQ(rows[0], expected) << "texts travel as single Windows-1252 bytes";
}

TEST_F(StatementTest, ValuesThatCannotBeSentAreRefused)
{
    openBoth();
    Statement insert(BasePedidos, QStringLiteral("INSERT INTO PEDIDOS (ORC_CODIGO, PED_OBS1) VALUES (?, ?)"));
    const std::pair<std::vector<ParameterValue>, QString> cases[] = {
        {{std::int64_t{1}}, QStringLiteral("The statement has 2 parameters; 1 values were given")},
        {{std::int64_t{1}, QString(40000, u'x')},
         QStringLiteral("Text of 40000 characters is too long for a statement parameter")},
    };
    for (const auto& [values, message] : cases) {
        try {
            insert.execute(values);
            ADD_FAILURE() << "ran with " << message.toStdString();
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), message);
        }
    }
}

TEST_F(StatementTest, QuoteLeftOpenIsRefusedBeforeAnythingIsSent)
{
    openBoth();
    try {
        Statement statement(BaseADM, QStringLiteral("SELECT CLI_CODIGO FROM CLI_FOR WHERE CLI_CNPJ = 'O'Brien'"));
        ADD_FAILURE() << "prepared a text with an unterminated literal";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("SQL Parse Error:\r\n\r\nEOF in string detected"));
    }
    EXPECT_FALSE(TR.isActive());
}

TEST_F(StatementTest, SelectRunsAgainFromItsFirstRow)
{
    openBoth();
    {
        SideConnection side(databases.backOfficePath());
        side.execute(QStringLiteral("INSERT INTO CIDADES (CID_CODIGO, CID_UF) VALUES (1, 'SP')"));
        side.execute(QStringLiteral("INSERT INTO CIDADES (CID_CODIGO, CID_UF) VALUES (2, 'RJ')"));
    }
    Statement select(BaseADM, QStringLiteral("SELECT CID_UF FROM CIDADES WHERE CID_CODIGO >= ? ORDER BY CID_CODIGO"));
    EXPECT_TRUE(select.returnsRows());
    for (int run = 0; run < 2; ++run) {
        select.execute({std::int64_t{1}});
        ASSERT_TRUE(select.fetch());
        EXPECT_EQ(select.text(0, regional), QStringLiteral("SP"));
    }
    ASSERT_TRUE(select.fetch());
    EXPECT_EQ(select.text(0, regional), QStringLiteral("RJ"));
    EXPECT_FALSE(select.fetch());
}

TEST_F(StatementTest, WideRowsAreDescribedInFull)
{
    openBoth();
    {
        SideConnection side(databases.ordersPath());
        side.execute(QStringLiteral("INSERT INTO PEDIDO_ITENS (ORC_CODIGO, ITE_SEQU, PROCESSOUVENDIDO) VALUES (7, 1, 'N')"));
    }
    Statement select(BasePedidos, QStringLiteral("SELECT * FROM PEDIDO_ITENS"));
    ASSERT_EQ(select.columnCount(), 31);
    select.execute();
    ASSERT_TRUE(select.fetch());
    EXPECT_EQ(select.text(0, regional), QStringLiteral("7"));
    EXPECT_EQ(select.text(30, regional), QStringLiteral("N"));
    EXPECT_THROW(select.text(31, regional), Error);
}
