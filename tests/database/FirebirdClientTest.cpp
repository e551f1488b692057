#include "Error.h"
#include "FirebirdClient.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(FirebirdClient, MissingLibraryNamesTheFileThatWasLookedForAndThePackageThatBringsIt)
{
    try {
        FirebirdClient client(QStringLiteral("libfbclient-absent.so.7"));
        ADD_FAILURE() << "loaded a library that does not exist";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("InterBase library libfbclient-absent.so.7 not found in the path. "
                                                  "Please install InterBase to use this functionality\n"
                                                  "Install the Debian package libfbclient2."));
    }
}

TEST(FirebirdClient, LibraryWithoutTheFunctionsGivesTheSystemsText)
{
    try {
        FirebirdClient client(QStringLiteral("libz.so.1"));
        ADD_FAILURE() << "accepted a library without the client functions";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().endsWith(QStringLiteral("libz.so.1: undefined symbol: isc_attach_database")))
            << error.what();
    }
}
