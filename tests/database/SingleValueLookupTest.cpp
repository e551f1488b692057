#include "DatabaseTest.h"

#include "Error.h"
#include "SideConnection.h"
#include "SingleValueLookup.h"

#include "QtPrinters.h"

namespace {

const QString kPrompt = QStringLiteral("erro PTAB:");

} // namespace

class SingleValueLookupTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        SideConnection side(databases.backOfficePath());
        side.execute(QStringLiteral(
            "CREATE TABLE FORMS (ID INTEGER, C10 CHAR(10), V10 VARCHAR(10), N2 NUMERIC(15,2), N4 NUMERIC(15,4), "
            "N6 NUMERIC(18,6), S SMALLINT, B BIGINT, D DOUBLE PRECISION, F FLOAT, DT DATE, TM TIME, TS TIMESTAMP)"));
        side.execute(QStringLiteral("INSERT INTO FORMS VALUES (1, 'AB', 'AB', 5.60, 1.2345, 1.5, -7, 9007199254740993, "
                                    "199.9, 0.5, '2024-03-15', '14:05:09', '2024-03-15 14:05:09')"));
        side.execute(QStringLiteral("INSERT INTO FORMS VALUES (2, NULL, 'Ação', -0.50, 7.0000, 0.000001, 0, -1, "
                                    "1e20, NULL, '2024-12-31', '00:00:00', '2024-03-15 00:00:00')"));
        side.execute(QStringLiteral("INSERT INTO FORMS (ID, N2, D) VALUES (3, 12.50, 0.1)"));
        openBoth();
    }

    QString lookUp(const QString& field, const QString& condition, const RegionalSettings& settings)
    {
        return PTAB(QStringLiteral("FORMS"), field, condition, BaseADM, log, settings);
    }

    // The message of the failure of a lookup that cannot answer.
    QString failureOf(const QString& table, const QString& field, const QString& condition)
    {
        try {
            const QString value = PTAB(table, field, condition, BaseADM, log, regional);
            return QStringLiteral("(no failure: '%1')").arg(value);
        } catch (const Error& error) {
            return error.message();
        }
    }
};

TEST_F(SingleValueLookupTest, ValuesReadAsTextInTheWorkstationsForms)
{
    struct Case {
        const char* field;
        int row;
        const char* brazilian;
        const char* unitedStates;
    };
    const Case cases[] = {
        {"C10", 1, "AB        ", "AB        "},
        {"V10", 1, "AB", "AB"},
        {"V10", 2, "Ação", "Ação"},
        {"N2", 1, "5,6", "5.6"},
        {"N2", 2, "-0,5", "-0.5"},
        {"N2", 3, "12,5", "12.5"},
        {"N4", 1, "1,2345", "1.2345"},
        {"N4", 2, "7", "7"},
        {"N6", 1, "1,5", "1.5"},
        {"N6", 2, "1E-6", "1E-6"},
        {"S", 1, "-7", "-7"},
        {"S", 2, "0", "0"},
        {"B", 1, "9007199254740993", "9007199254740993"},
        {"D", 1, "199,9", "199.9"},
        {"D", 2, "1E20", "1E20"},
        {"D", 3, "0,1", "0.1"},
        {"F", 1, "0,5", "0.5"},
        {"DT", 1, "15/03/2024", "3/15/2024"},
        {"TM", 1, "14:05:09", "2:05:09 PM"},
        {"TM", 2, "00:00:00", "12:00:00 AM"},
        {"TS", 1, "15/03/2024 14:05:09", "3/15/2024 2:05:09 PM"},
        {"TS", 2, "15/03/2024", "3/15/2024"},
        {"C10", 2, "", ""},
        {"F", 2, "", ""},
        {"DT", 3, "", ""},
    };
    for (const auto& c : cases) {
        const QString field = QString::fromLatin1(c.field);
        const QString condition = QStringLiteral("ID = %1").arg(c.row);
        EXPECT_EQ(lookUp(field, condition, brazilianSettings()), QString::fromUtf8(c.brazilian)) << c.field << c.row;
        EXPECT_EQ(lookUp(field, condition, unitedStatesSettings()), QString::fromUtf8(c.unitedStates))
            << c.field << c.row;
    }
    EXPECT_TRUE(log.messages.isEmpty());
}

TEST_F(SingleValueLookupTest, NoRowGivesTheEmptyTextAsNullDoes)
{
    EXPECT_EQ(lookUp(QStringLiteral("V10"), QStringLiteral("ID = 99"), regional), QString());
    EXPECT_EQ(lookUp(QStringLiteral("C10"), QStringLiteral("ID = 2"), regional), QString());
    EXPECT_TRUE(log.messages.isEmpty());
}

TEST_F(SingleValueLookupTest, GeneratorValueAdvancesWithEveryLookup)
{
    for (const char* expected : {"1", "2"}) {
        EXPECT_EQ(PTAB(QStringLiteral("RDB$DATABASE"), QStringLiteral("GEN_ID(ORCAMENTOS_ORC_CODIGO_GEN,1)"), QString(),
                       BaseADM, log, regional),
                  QString::fromLatin1(expected));
    }
}

// A lookup that cannot answer never passes for one that found nothing: whether the
// statement could not be prepared, executed or fetched, the "erro PTAB:" line carries the
// failure and the statement, and the failure itself travels on with the database's message.
TEST_F(SingleValueLookupTest, StatementThatFailsIsLoggedWithItsTextAndTravelsOn)
{
    struct Case {
        QString table;
        QString field;
        QString condition;
        QString message;
        QString statement;
    };
    const QString unknownColumn = QStringLiteral(
        "Dynamic SQL Error\r\nSQL error code = -206\r\nColumn unknown\r\nNOPE\r\nAt line 1, column 16");
    const Case cases[] = {
        {QStringLiteral("RDB$DATABASE"), QStringLiteral("NOPE"), QString(), unknownColumn,
         QStringLiteral("SELECT FIRST 1 NOPE from RDB$DATABASE\r\n")},
        {QStringLiteral("RDB$DATABASE"), QStringLiteral("NOPE"), QStringLiteral(" \t "), unknownColumn,
         QStringLiteral("SELECT FIRST 1 NOPE from RDB$DATABASE\r\n")},
        {QStringLiteral("PARAMETROS"), QStringLiteral("NOPE"), QStringLiteral(" PAR_SEQ = 1"), unknownColumn,
         QStringLiteral("SELECT FIRST 1 NOPE from PARAMETROS\r\n Where  PAR_SEQ = 1\r\n")},
        {QStringLiteral("CLI_FOR"), QStringLiteral("CLI_CODIGO"), QStringLiteral("CLI_CNPJ = 'O'Brien'"),
         QStringLiteral("SQL Parse Error:\r\n\r\nEOF in string detected"),
         QStringLiteral("SELECT FIRST 1 CLI_CODIGO from CLI_FOR\r\n Where CLI_CNPJ = 'O'Brien'\r\n")},
        // Only fetching fails: the server computes the select list row by row.
        {QStringLiteral("FORMS"), QStringLiteral("CAST(V10 AS INTEGER)"), QStringLiteral("ID = 1"),
         QStringLiteral("conversion error from string \"AB\""),
         QStringLiteral("SELECT FIRST 1 CAST(V10 AS INTEGER) from FORMS\r\n Where ID = 1\r\n")},
        {QStringLiteral("FORMS"), QStringLiteral("B * B * B"), QStringLiteral("ID = 1"),
         QStringLiteral("Integer overflow.  The result of an integer operation caused the most significant bit of "
                        "the result to carry"),
         QStringLiteral("SELECT FIRST 1 B * B * B from FORMS\r\n Where ID = 1\r\n")},
    };
    for (const auto& c : cases) {
        log.messages.clear();
        EXPECT_EQ(failureOf(c.table, c.field, c.condition), c.message) << c.field.toStdString();
        EXPECT_EQ(log.messages, QStringList{kPrompt + c.message + QStringLiteral(" - ") + c.statement}) << c.field.toStdString();
    }
}

TEST_F(SingleValueLookupTest, ThousandsOfLookupsLeaveNoStatementBehind)
{
    SideConnection side(databases.backOfficePath());
    const QString statementsOfTheProgram = QStringLiteral(
        "SELECT COUNT(*) FROM MON$STATEMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION");
    lookUp(QStringLiteral("V10"), QStringLiteral("ID = 1"), regional);
    const SideValue before = side.value(statementsOfTheProgram);

    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(lookUp(QStringLiteral("V10"), QStringLiteral("ID = 1"), regional), QStringLiteral("AB"));

    EXPECT_EQ(side.value(statementsOfTheProgram), before);
    EXPECT_EQ(before, QStringLiteral("0"));
}
