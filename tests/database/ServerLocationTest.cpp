#include "DatabaseTest.h"

#include "DatabaseAccount.h"
#include "Error.h"
#include "SingleValueLookup.h"

#include "QtPrinters.h"

#include <QFile>

#include <stdexcept>

namespace {

// "host/port:path" on the Firebird server that scripts/firebird-server runs for these tests
// in FIREBIRD_SERVER_FOLDER; the script writes the port it listens on into that folder.
QString serverLocation(const QString& host, const QString& path)
{
    QFile portFile(QStringLiteral(FIREBIRD_SERVER_FOLDER "/port"));
    if (!portFile.open(QIODevice::ReadOnly))
        throw std::runtime_error("no Firebird server for the tests: start one with scripts/firebird-server start "
                                 FIREBIRD_SERVER_FOLDER);
    return host + QLatin1Char('/') + QString::fromLatin1(portFile.readAll().trimmed()) + QLatin1Char(':') + path;
}

} // namespace

using ServerLocation = DatabaseTest;

TEST_F(ServerLocation, HostAndPathLocationsOpenThroughTheServer)
{
    BaseADM.setLocation(serverLocation(QStringLiteral("localhost"), databases.backOfficePath()));
    BaseADM.open();
    BasePedidos.setLocation(serverLocation(QStringLiteral("127.0.0.1"), databases.ordersPath()));
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
    BaseADM.setLocation(serverLocation(QStringLiteral("127.0.0.1"), QStringLiteral("wrong-password")));
    try {
        BaseADM.open();
        ADD_FAILURE() << "logged in with a password the server does not know";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Your user name and password are not defined. Ask your database "
                                                  "administrator to set up a Firebird login"));
    }
    EXPECT_FALSE(BaseADM.isOpen());
}

namespace {

// The user that scripts/firebird-server creates besides the built-in account's, as an
// administrator would for the settings file.
const DatabaseAccount kAdministratorsAccount{QStringLiteral("IMPORTADOR"), QStringLiteral("Senha-do-Administrador-1")};

const QString kLoginRefused = QStringLiteral(
    "Your user name and password are not defined. Ask your database administrator to set up a Firebird login");

} // namespace

TEST_F(ServerLocation, AnAccountOtherThanTheBuiltInOneSignsInOnlyWithItsOwnPassword)
{
    struct Case {
        const char* name;
        DatabaseAccount account;
        QString failure;   // empty: signed in
    };
    const Case cases[] = {
        {"the administrator's account", kAdministratorsAccount, QString()},
        {"its user with the built-in password", {kAdministratorsAccount.user, kBuiltInDatabaseAccount.password},
         kLoginRefused},
        {"the built-in user with its password", {kBuiltInDatabaseAccount.user, kAdministratorsAccount.password},
         kLoginRefused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FirebirdClient client;
        Transaction transaction(client);
        Connection connection(client, transaction, c.account);
        connection.setLocation(serverLocation(QStringLiteral("127.0.0.1"), databases.backOfficePath()));
        try {
            connection.open();
            EXPECT_EQ(PTAB(QStringLiteral("MON$ATTACHMENTS"), QStringLiteral("MON$USER"),
                           QStringLiteral("MON$ATTACHMENT_ID = CURRENT_CONNECTION"), connection, log, regional)
                          .trimmed(),
                      c.account.user);
            EXPECT_EQ(c.failure, QString());
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), c.failure);
            EXPECT_FALSE(error.message().contains(c.account.password));
            EXPECT_FALSE(connection.isOpen());
        }
    }
}
