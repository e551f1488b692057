#include "IoError.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(IoErrorMessage, NamedNumbersAndTheRest)
{
    const std::pair<int, const char*> cases[] = {
        {2, "File not found"},       {3, "Invalid filename"}, {4, "Too many open files"},
        {5, "File access denied"},   {100, "Read beyond end of file"}, {101, "Disk full"},
        {106, "Invalid numeric input"}, {103, "I/O error 103"}, {32, "I/O error 32"},
    };
    for (const auto& [code, message] : cases)
        EXPECT_EQ(ioErrorMessage(code), QString::fromLatin1(message)) << code;
}

TEST(IoErrorMessage, SystemCausesGetTheirMessage)
{
    EXPECT_EQ(systemIoErrorMessage(ENOENT), QStringLiteral("File not found"));
    EXPECT_EQ(systemIoErrorMessage(EACCES), QStringLiteral("File access denied"));
    EXPECT_EQ(systemIoErrorMessage(EROFS), QStringLiteral("File access denied"));
    EXPECT_EQ(systemIoErrorMessage(ENOSPC), QStringLiteral("Disk full"));
    EXPECT_EQ(systemIoErrorMessage(ENOTDIR), QStringLiteral("Invalid filename"));
    EXPECT_EQ(systemIoErrorMessage(EMFILE), QStringLiteral("Too many open files"));
    // An I/O fault of the device is not a matter of rights.
    EXPECT_EQ(systemIoErrorMessage(EIO), QStringLiteral("I/O error %1").arg(EIO));
}
