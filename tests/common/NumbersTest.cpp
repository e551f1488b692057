#include "Error.h"
#include "Numbers.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ParseInteger, AcceptedTexts)
{
    const std::pair<const char*, std::int32_t> cases[] = {
        {"0", 0},
        {"123", 123},
        {"00123", 123},
        {"   42", 42},
        {"+7", 7},
        {"-7", -7},
        {"$1F", 31},
        {"$ff", 255},
        {"0x10", 16},
        {"0XaB", 171},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"$7FFFFFFF", 2147483647},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(parseInteger(QString::fromLatin1(text)), value) << text;
}

TEST(ParseInteger, RefusedTextsCarryTheText)
{
    const char* cases[] = {"", " ", "12 ", "1.5", "12a", "abc", "+", "-", "$", "0x", "2147483648",
                           "-2147483649", "$80000000", "99999999999999999999", "1,0", "\t5"};
    for (const char* text : cases) {
        try {
            parseInteger(QString::fromLatin1(text));
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), QStringLiteral("'%1' is not a valid integer value").arg(QLatin1String(text)));
        }
    }
}

TEST(ParseFloat, FollowsTheDecimalSeparator)
{
    struct Case {
        const char* text;
        const char* separator;
        double value;
    };
    const Case cases[] = {
        {"2,5", ",", 2.5},   {"2.5", ".", 2.5},     {"199,9", ",", 199.9}, {" -3,25 ", ",", -3.25},
        {"+1", ",", 1},      {"1E3", ",", 1000},    {"2,5e-2", ",", 0.025}, {",5", ",", 0.5},
        {"5,", ",", 5},      {"0", ",", 0},         {"13,2", ",", 13.2},
        // Beyond the largest double, but the general format's text of it.
        {"1,79769313486232E308", ",", std::numeric_limits<double>::max()},
        {"-1.79769313486232e+308", ".", -std::numeric_limits<double>::max()},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(parseFloat(QString::fromLatin1(c.text), QString::fromLatin1(c.separator)), c.value) << c.text;
}

TEST(ParseFloat, RefusedTextsCarryTheText)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2.5", ","}, {"2,5", "."}, {"", ","}, {" ", ","}, {"1.000,50", ","}, {"1e", ","},
        {"abc", ","}, {",", ","},   {"1,2,3", ","}, {"INF", ","}, {"1e999", ","}, {"- 1", ","},
        {"1,79769313486233E308", ","}, {"-1,8E308", ","},
    };
    for (const auto& [text, separator] : cases) {
        try {
            parseFloat(QString::fromLatin1(text), QString::fromLatin1(separator));
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const Error& error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("'%1' is not a valid floating point value").arg(QLatin1String(text)));
        }
    }
}

TEST(FormatGeneral, FifteenSignificantDigitsAndTheSeparator)
{
    struct Case {
        double value;
        const char* comma;
    };
    const Case cases[] = {
        {0, "0"},
        {1500, "1500"},
        {199.9, "199,9"},
        {0.1 + 0.2, "0,3"},
        {2.5, "2,5"},
        {-3.25, "-3,25"},
        {0.132, "0,132"},
        {1.0 / 3, "0,333333333333333"},
        {2.0 / 3, "0,666666666666667"},
        {123456789012345, "123456789012345"},
        {999999999999999, "999999999999999"},
        {1e15, "1E15"},
        {1234567890123456789.0, "1,23456789012346E18"},
        {1e20, "1E20"},
        {0.00001, "0,00001"},
        {0.000012, "0,000012"},
        {0.000009, "9E-6"},
        {-0.0000015, "-1,5E-6"},
        {1e-20, "1E-20"},
        {5.6, "5,6"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatGeneral(c.value, QStringLiteral(",")), QString::fromLatin1(c.comma)) << c.comma;
    EXPECT_EQ(formatGeneral(199.9, QStringLiteral(".")), QStringLiteral("199.9"));
    EXPECT_EQ(formatGeneral(std::nan(""), QStringLiteral(",")), QStringLiteral("NAN"));
}

TEST(FormatGeneral, ReadsBackToTheSameText)
{
    constexpr double kLargest = std::numeric_limits<double>::max();
    for (double value : {0.1, 2.5, 1234.5678, -0.000123, 1e-7, 3.14159265358979, 1e18, kLargest, -kLargest,
                         std::nextafter(kLargest, 0.0), std::numeric_limits<double>::min(),
                         std::numeric_limits<double>::denorm_min()}) {
        const QString text = formatGeneral(value, QStringLiteral(","));
        EXPECT_EQ(formatGeneral(parseFloat(text, QStringLiteral(",")), QStringLiteral(",")), text);
    }
}
