#include "Error.h"
#include "StatementText.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(StatementText, EveryLineEndsWithCarriageReturnAndLineFeed)
{
    EXPECT_EQ(statementText({QStringLiteral("SELECT 1"), QStringLiteral(" Where X = 1")}),
              QStringLiteral("SELECT 1\r\n Where X = 1\r\n"));
    EXPECT_EQ(statementText({}), QString());
}

TEST(StatementText, QuotesAreDoubledInsideLiterals)
{
    const std::pair<const char*, const char*> cases[] = {
        {"SP", "SP"}, {"", ""}, {"'", "''"}, {"D'Avila", "D''Avila"}, {"''", "''''"}, {"x' OR '1'='1", "x'' OR ''1''=''1"},
    };
    for (const auto& [value, doubled] : cases)
        EXPECT_EQ(withQuotesDoubled(QString::fromLatin1(value)), QString::fromLatin1(doubled)) << value;
}

TEST(StatementText, QuoteLeftOpenIsRefused)
{
    const char* closed[] = {
        "SELECT 1 FROM T",
        "X = 'abc'",
        "X = 'it''s'",
        "X = ''",
        "\"Name\" = 'a' || 'b'",
        "X = 'say \"hi\"'",
        "\"it's\" = 1",
    };
    for (const char* text : closed)
        EXPECT_NO_THROW(throwIfQuoteLeftOpen(QString::fromLatin1(text))) << text;

    const char* open[] = {"X = 'abc", "X = 'it''s", "X = 'O'Brien'", "\"Name = 1", "X = '''", "'"};
    for (const char* text : open) {
        try {
            throwIfQuoteLeftOpen(QString::fromLatin1(text));
            ADD_FAILURE() << "accepted " << text;
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), QStringLiteral("SQL Parse Error:\r\n\r\nEOF in string detected")) << text;
        }
    }
}

TEST(StatementText, MarkersOutsideQuotesBecomeQuestionMarksAndKeepTheirNames)
{
    struct Case {
        const char* text;
        const char* positional;
        QStringList names;
    };
    const Case cases[] = {
        {"  (:ORC_CODIGO, :PED_OBS1)\r\n", "  (?, ?)\r\n", {QStringLiteral("ORC_CODIGO"), QStringLiteral("PED_OBS1")}},
        {"  ORC_CODIGO = :OLD_ORC_CODIGO and", "  ORC_CODIGO = ? and", {QStringLiteral("OLD_ORC_CODIGO")}},
        {"X = ':NOT' AND Y = :Y", "X = ':NOT' AND Y = ?", {QStringLiteral("Y")}},
        {"X = 'it''s :no' || :yes", "X = 'it''s :no' || ?", {QStringLiteral("yes")}},
        {"\"A:B\" = :C", "\"A:B\" = ?", {QStringLiteral("C")}},
        {"T = '10:30' AND U = : V", "T = '10:30' AND U = : V", {}},
        {"SELECT * FROM PEDIDOS", "SELECT * FROM PEDIDOS", {}},
    };
    for (const Case& c : cases) {
        const PositionalText result = withPositionalParameters(QString::fromLatin1(c.text));
        EXPECT_EQ(result.text, QString::fromLatin1(c.positional)) << c.text;
        EXPECT_EQ(result.parameterNames, c.names) << c.text;
    }
}
