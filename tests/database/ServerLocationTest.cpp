#include "DatabaseTest.h"

#include "Error.h"
#include "SingleValueLookup.h"

#include "QtPrinters.h"

// These tests need the Firebird server on 127.0.0.1 that scripts/firebird-server starts.
using ServerLocation = DatabaseTest;

TEST_F(ServerLocation, HostAndPathLocationsOpenThroughTheServer)
{
    BaseADM.setLocation(QStringLiteral("localhost:") + databases.backOfficePath());
    BaseADM.open();
    BasePedidos.setLocation(QStringLiteral("127.0.0.1/3050:") + databases.ordersPath());
    BasePedidos.open();

    for (Connection* connection : {&BaseADM, &BasePedidos}) {
        EXPECT_EQ(PTAB(QStringLiteral("MON$ATTACHMENTS"), QStringLiteral("MON$REMOTE_PROTOCOL"),
                       QStringLiteral("MON$ATTACHMENT_ID = CURRENT_CONNECTION"), *connection, log, regional),
                  QStringLiteral("TCPv4"));
    }
    EXPECT_TRUE(TR.isActive());
    TR.commitRetaining();
}

TEST_F(ServerLocation, WrongPasswordGivesTheServersTextAndLeavesTheConnectionClosed)
{
    BaseADM.setLocation(QStringLiteral("127.0.0.1:wrong-password"));
    try {
        BaseADM.open();
        ADD_FAILURE() << "logged in with a password the server does not know";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Your user name and password are not defined. Ask your database "
                                                  "administrator to set up a Firebird login"));
    }
    EXPECT_FALSE(BaseADM.isOpen());
}
