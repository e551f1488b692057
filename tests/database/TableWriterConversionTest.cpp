#include "WriterTest.h"

#include <functional>
#include <variant>

namespace {

using Given = std::variant<QString, std::int32_t, double>;

const QString kNoFailure = QStringLiteral("(no failure)");

void set(TableWriter& writer, const QString& column, const Given& value)
{
    if (const auto* text = std::get_if<QString>(&value))
        writer.setText(column, *text);
    else if (const auto* integer = std::get_if<std::int32_t>(&value))
        writer.setInteger(column, *integer);
    else
        writer.setNumber(column, std::get<double>(value));
}

} // namespace

class TableWriterConversionTest : public WriterTest {
protected:
    void SetUp() override
    {
        openBoth();
        DTPedido.open();
    }

    void startOrder(int number)
    {
        DTPedido.append();
        DTPedido.setInteger(QStringLiteral("ORC_CODIGO"), number);
    }
};

TEST_F(TableWriterConversionTest, ValuesAreConvertedReadBackAndStoredByColumnKind)
{
    struct Case {
        bool unitedStates;
        const char* column;
        Given given;
        QString readBack;
        QString failure;
        SideValue stored;
    };
    const QString digits = QStringLiteral("0123456789").repeated(10);
    const Case cases[] = {
        // text(n): cut to n, the empty text is NULL, integers as their digits
        {false, "PED_OBS1", digits, digits.left(70), kNoFailure, digits.left(70)},
        {false, "PED_OBS2", QString(), QString(), kNoFailure, std::nullopt},
        {false, "PED_OBS3", QStringLiteral(" both ends "), QStringLiteral(" both ends "), kNoFailure, QStringLiteral(" both ends ")},
        {false, "PED_CNPJ_CPF", std::int32_t{-123}, QStringLiteral("-123"), kNoFailure, QStringLiteral("-123")},
        {false, "PED_EXPORTADO", std::int32_t{45}, QStringLiteral("4"), kNoFailure, QStringLiteral("4")},
        // integer
        {false, "PED_VENDEDOR", QString(), QString(), kNoFailure, std::nullopt},
        {false, "PED_VENDEDOR", QStringLiteral("  -42"), QStringLiteral("-42"), kNoFailure, QStringLiteral("-42")},
        {false, "PED_VENDEDOR", QStringLiteral("+7"), QStringLiteral("7"), kNoFailure, QStringLiteral("7")},
        {false, "PED_VENDEDOR", QStringLiteral("$1F"), QStringLiteral("31"), kNoFailure, QStringLiteral("31")},
        {false, "PED_VENDEDOR", QStringLiteral("0x1f"), QStringLiteral("31"), kNoFailure, QStringLiteral("31")},
        {false, "PED_VENDEDOR", QStringLiteral("12 "), QString(),
         QStringLiteral("'12 ' is not a valid integer value for field 'PED_VENDEDOR'"), std::nullopt},
        {false, "PED_VENDEDOR", QStringLiteral("2147483648"), QString(),
         QStringLiteral("'2147483648' is not a valid integer value for field 'PED_VENDEDOR'"), std::nullopt},
        {false, "PED_FILIAL", QStringLiteral("1,5"), QString(),
         QStringLiteral("'1,5' is not a valid integer value for field 'PED_FILIAL'"), std::nullopt},
        {false, "PED_CLIENTE", std::int32_t{-2147483647 - 1}, QStringLiteral("-2147483648"), kNoFailure,
         QStringLiteral("-2147483648")},
        // number, with the workstation's decimal separator
        {false, "PED_TOTAL", QStringLiteral("2,5"), QStringLiteral("2,5"), kNoFailure, QStringLiteral("2.500000000000000")},
        {true, "PED_TOTAL", QStringLiteral("2,5"), QString(),
         QStringLiteral("'2,5' is not a valid floating point value for field 'PED_TOTAL'"), std::nullopt},
        {true, "PED_TOTAL", QStringLiteral("2.5"), QStringLiteral("2.5"), kNoFailure, QStringLiteral("2.500000000000000")},
        {false, "PED_TOTAL", QStringLiteral(" -1,5E3 "), QStringLiteral("-1500"), kNoFailure,
         QStringLiteral("-1500.000000000000")},
        {false, "PED_VALORST", QStringLiteral("1.234,5"), QString(),
         QStringLiteral("'1.234,5' is not a valid floating point value for field 'PED_VALORST'"), std::nullopt},
        {false, "PED_VALORST", QString(), QString(), kNoFailure, std::nullopt},
        {false, "PED_PERCENTUALFRETE", std::int32_t{3}, QStringLiteral("3"), kNoFailure, QStringLiteral("3.000000000000000")},
        {false, "PED_TOTAL", 0.1 + 0.2, QStringLiteral("0,3"), kNoFailure, QStringLiteral("0.3000000000000000")},
        {false, "PED_TOTAL", 1e20, QStringLiteral("1E20"), kNoFailure, QStringLiteral("1.000000000000000e+20")},
        {false, "PED_TOTAL", 0.000001, QStringLiteral("1E-6"), kNoFailure, QStringLiteral("1.000000000000000e-06")},
        // date and date-time, in the short date order
        {false, "PED_DTEMISSAO", QStringLiteral("15/03/2024"), QStringLiteral("15/03/2024"), kNoFailure,
         QStringLiteral("2024-03-15")},
        {true, "PED_DTEMISSAO", QStringLiteral("15/03/2024"), QString(), QStringLiteral("'15/03/2024' is not a valid date"),
         std::nullopt},
        {true, "PED_DTEMISSAO", QStringLiteral("03/12/2024"), QStringLiteral("3/12/2024"), kNoFailure,
         QStringLiteral("2024-03-12")},
        {false, "PED_DTCARREGAMENTO", QStringLiteral("31/02/2024"), QString(),
         QStringLiteral("'31/02/2024' is not a valid date"), std::nullopt},
        {false, "PED_DTCARREGAMENTO", QString(), QString(), kNoFailure, std::nullopt},
        {false, "PED_DTENVIO", QStringLiteral("15/03/2024 14:05:09"), QStringLiteral("15/03/2024 14:05:09"), kNoFailure,
         QStringLiteral("2024-03-15 14:05:09.0000")},
        {true, "PED_DTENVIO", QStringLiteral("15/03/2024 14:05:09"), QString(),
         QStringLiteral("'15/03/2024 14:05:09' is not a valid date and time"), std::nullopt},
        {true, "PED_DTENVIO", QStringLiteral("12/03/2024 14:05"), QStringLiteral("12/3/2024 2:05:00 PM"), kNoFailure,
         QStringLiteral("2024-12-03 14:05:00.0000")},
        {false, "PED_DTENVIO", QStringLiteral("15/03/2024"), QString(),
         QStringLiteral("'15/03/2024' is not a valid date and time"), std::nullopt},
        {false, "PED_DTENVIO", QStringLiteral("15/03/2024 24:00:00"), QString(),
         QStringLiteral("'15/03/2024 24:00:00' is not a valid date and time"), std::nullopt},
    };

    int number = 0;
    for (const Case& c : cases) {
        const QString column = QString::fromLatin1(c.column);
        SCOPED_TRACE(column.toStdString() + " case " + std::to_string(number + 1));
        regional = c.unitedStates ? unitedStatesSettings() : brazilianSettings();
        startOrder(++number);
        EXPECT_EQ(failureOf([&] { set(DTPedido, column, c.given); }), c.failure);
        EXPECT_EQ(DTPedido.text(column), c.readBack);
        DTPedido.post();
        DTPedido.applyUpdates();
    }
    TR.commitRetaining();

    number = 0;
    for (const Case& c : cases) {
        const auto stored = committed(QStringLiteral("SELECT CAST(%1 AS VARCHAR(100)) FROM PEDIDOS WHERE ORC_CODIGO = %2").arg(c.column).arg(++number));
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_EQ(stored[0][0], c.stored) << c.column << " case " << number;
    }
}

TEST_F(TableWriterConversionTest, ReadingBackFollowsTheColumnKindAndTheCurrentSettings)
{
    startOrder(1);
    EXPECT_EQ(DTPedido.integer(QStringLiteral("PED_VENDEDOR")), 0) << "NULL reads as 0";
    EXPECT_EQ(DTPedido.number(QStringLiteral("PED_VENDEDOR")), 0);
    EXPECT_EQ(DTPedido.number(QStringLiteral("PED_TOTAL")), 0);
    EXPECT_EQ(DTPedido.text(QStringLiteral("PED_TOTAL")), QString());

    DTPedido.setText(QStringLiteral("PED_VENDEDOR"), QStringLiteral("42"));
    EXPECT_EQ(DTPedido.integer(QStringLiteral("PED_VENDEDOR")), 42);
    EXPECT_EQ(DTPedido.number(QStringLiteral("PED_VENDEDOR")), 42.0);
    DTPedido.setText(QStringLiteral("PED_TOTAL"), QStringLiteral("2,5"));
    EXPECT_EQ(DTPedido.number(QStringLiteral("PED_TOTAL")), 2.5);

    regional = unitedStatesSettings();
    EXPECT_EQ(DTPedido.text(QStringLiteral("PED_TOTAL")), QStringLiteral("2.5"));

    const std::pair<std::function<void()>, QString> refused[] = {
        {[&] { DTPedido.number(QStringLiteral("PED_OBS1")); }, QStringLiteral("Cannot access field 'PED_OBS1' as type Float")},
        {[&] { DTPedido.integer(QStringLiteral("PED_TOTAL")); },
         QStringLiteral("Cannot access field 'PED_TOTAL' as type Integer")},
        {[&] { DTPedido.setInteger(QStringLiteral("PED_DTEMISSAO"), 1); },
         QStringLiteral("Cannot access field 'PED_DTEMISSAO' as type Integer")},
        {[&] { DTPedido.setNumber(QStringLiteral("PED_VENDEDOR"), 1.5); },
         QStringLiteral("Cannot access field 'PED_VENDEDOR' as type Float")},
        {[&] { DTPedido.setText(QStringLiteral("PED_NADA"), QStringLiteral("x")); },
         QStringLiteral("Field 'PED_NADA' not found")},
        {[&] { DTPedido.text(QStringLiteral("PED_NADA")); }, QStringLiteral("Field 'PED_NADA' not found")},
    };
    for (const auto& [action, message] : refused)
        EXPECT_EQ(failureOf(action), message);
}

TEST_F(TableWriterConversionTest, ValueThatCannotBeTakenLeavesTheColumnAsItWas)
{
    startOrder(1);
    const std::pair<const char*, const char*> columns[] = {
        {"PED_VENDEDOR", "5"}, {"PED_TOTAL", "2,5"}, {"PED_DTEMISSAO", "15/03/2024"}, {"PED_DTENVIO", "15/03/2024 14:05:09"}};
    for (const auto& [column, good] : columns) {
        DTPedido.setText(QString::fromLatin1(column), QString::fromLatin1(good));
        EXPECT_THROW(DTPedido.setText(QString::fromLatin1(column), QStringLiteral("x")), Error);
        EXPECT_EQ(DTPedido.text(QString::fromLatin1(column)), QString::fromLatin1(good));
    }
}
