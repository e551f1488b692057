#include "Text.h"
#include "Windows1252.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(Trimmed, RemovesControlCharactersAndBlanksAtBothEndsOnly)
{
    EXPECT_EQ(trimmed(QStringLiteral("  \t\r\n abc d \x01\x1f ")), QStringLiteral("abc d"));
    EXPECT_EQ(trimmed(QString(QChar(0)) + QStringLiteral("x") + QChar(0)), QStringLiteral("x"));
    EXPECT_EQ(trimmed(QStringLiteral(" \t ")), QString());
    // 0xA0 (no-break space) is above 32 and stays.
    EXPECT_EQ(trimmed(QStringLiteral("\u00a0x ")), QStringLiteral("\u00a0x"));
}

TEST(Windows1252, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
}

TEST(Windows1252, MapsAccentsAndTheEuroAndReplacesWhatItCannotHold)
{
    EXPECT_EQ(fromWindows1252(QByteArray("S\xe3o Jo\xe3o \x80")), QStringLiteral("São João €"));
    EXPECT_EQ(toWindows1252(QStringLiteral("ção € ✓")), QByteArray("\xe7\xe3o \x80 ?"));
    // UTF-8 bytes read as single bytes: each accented letter shows as two characters.
    EXPECT_EQ(fromWindows1252(QStringLiteral("é").toUtf8()), QStringLiteral("Ã©"));
}
