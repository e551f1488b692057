#include "DatabaseTest.h"

#include "DatabaseAccount.h"
#include "Error.h"
#include "SideConnection.h"
#include "SingleValueLookup.h"
#include "Statement.h"
#include "Text.h"

#include "QtPrinters.h"

#include <optional>

namespace {

QString openFailure(Connection& connection, const QString& location)
{
    try {
        connection.setLocation(location);
        connection.open();
    } catch (const Error& error) {
        return error.message();
    }
    return QStringLiteral("(opened)");
}

} // namespace

using ConnectionTest = DatabaseTest;

TEST(AttachParameters, HoldTheAccountAndNothingElse)
{
    const std::pair<DatabaseAccount, QByteArray> cases[] = {
        {kBuiltInDatabaseAccount, QByteArray("\x01\x1c\x05KALVE\x1d\x08##384756", 18)},
        {{QStringLiteral("IMPORTADOR"), QStringLiteral("senha com ç")},
         QByteArray("\x01\x1c\x0aIMPORTADOR\x1d\x0csenha com \xc3\xa7", 27)},
        {{QStringLiteral("U"), QString(255, u'p')}, QByteArray("\x01\x1c\x01U\x1d\xff", 6) + QByteArray(255, 'p')},
    };
    for (const auto& [account, block] : cases)
        EXPECT_EQ(attachParameterBlock(account), block) << account.user.toStdString();
}

// One length byte holds each value: a longer one is refused, and the message never shows it.
TEST(AttachParameters, RefuseAValueLongerThanALengthByteCanTell)
{
    const std::pair<DatabaseAccount, QString> cases[] = {
        {{QString(256, u'U'), QStringLiteral("senha")},
         QStringLiteral("The database account's user name is longer than 255 bytes")},
        {{QStringLiteral("IMPORTADOR"), QString(128, u'ç')},
         QStringLiteral("The database account's password is longer than 255 bytes")},
    };
    for (const auto& [account, message] : cases) {
        try {
            attachParameterBlock(account);
            ADD_FAILURE() << "accepted " << message.toStdString();
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), message);
        }
    }
}

// The embedded engine takes the user without asking for the password, as it does for any
// local file; a server checks both (ServerLocationTest).
TEST_F(ConnectionTest, AttachSignsInWithTheConnectionsAccount)
{
    const std::pair<std::optional<DatabaseAccount>, const char*> cases[] = {
        {std::nullopt, "KALVE"},
        {DatabaseAccount{QStringLiteral("IMPORTADOR"), QStringLiteral("outra")}, "IMPORTADOR"},
    };
    for (const auto& [account, user] : cases) {
        SCOPED_TRACE(user);
        FirebirdClient client;
        Transaction transaction(client);
        std::optional<Connection> connection;
        if (account)
            connection.emplace(client, transaction, *account);
        else
            connection.emplace(client, transaction);
        connection->setLocation(databases.backOfficePath());
        connection->open();
        SideConnection side(databases.backOfficePath());
        const auto attachment = side.rows(QStringLiteral(
            "SELECT MON$USER, MON$ROLE, MON$CHARACTER_SET_ID FROM MON$ATTACHMENTS "
            "WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION AND MON$SYSTEM_FLAG = 0"));
        ASSERT_EQ(attachment.size(), 1u);
        EXPECT_EQ(trimmed(*attachment[0][0]), QLatin1StringView(user));
        EXPECT_EQ(trimmed(*attachment[0][1]), QStringLiteral("NONE"));
        EXPECT_EQ(attachment[0][2], QStringLiteral("0")) << "character set NONE";
    }
}

TEST_F(ConnectionTest, LocationChangesOnlyWhileClosed)
{
    BasePedidos.setLocation(QStringLiteral("/first.fdb"));
    BasePedidos.setLocation(databases.ordersPath());
    EXPECT_EQ(BasePedidos.location(), databases.ordersPath());
    BasePedidos.open();

    EXPECT_NO_THROW(BasePedidos.setLocation(databases.ordersPath()));
    try {
        BasePedidos.setLocation(databases.backOfficePath());
        ADD_FAILURE() << "changed the location of an open connection";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cannot perform operation -- DB is currently open"));
    }
    EXPECT_TRUE(BasePedidos.isOpen());
    EXPECT_EQ(BasePedidos.location(), databases.ordersPath());
}

TEST_F(ConnectionTest, FailedOpenLeavesTheConnectionClosedForTheNextTry)
{
    const QString missing = databases.folder() + QStringLiteral("/missing.fdb");
    const std::pair<QString, QString> cases[] = {
        {QString(), QStringLiteral("Database name is missing")},
        {missing, QStringLiteral("I/O error during \"open\" operation for file \"%1\"\r\n"
                                 "Error while trying to open file\r\n"
                                 "No such file or directory")
                      .arg(missing)},
        {QStringLiteral("127.0.0.1/1:") + missing,
         QStringLiteral("Unable to complete network request to host \"127.0.0.1\".\r\n"
                        "Failed to establish a connection")},
    };
    for (const auto& [location, message] : cases) {
        EXPECT_EQ(openFailure(BaseADM, location), message) << location.toStdString();
        EXPECT_FALSE(BaseADM.isOpen());
    }

    EXPECT_EQ(openFailure(BaseADM, databases.backOfficePath()), QStringLiteral("(opened)"));
    EXPECT_TRUE(BaseADM.isOpen());
}

TEST_F(ConnectionTest, OpeningAnOpenConnectionKeepsItsAttachmentAndWork)
{
    openBoth();
    Statement insert(BasePedidos, QStringLiteral("INSERT INTO PARAMETROS (PAR_SEQU, PAR_ENVIAEMAIL) VALUES (1, 'S')"));
    insert.execute();

    BasePedidos.open();
    BaseADM.open();
    TR.commitRetaining();

    SideConnection side(databases.ordersPath());
    EXPECT_EQ(side.value(QStringLiteral("SELECT PAR_ENVIAEMAIL FROM PARAMETROS")), QStringLiteral("S"));
}

TEST_F(ConnectionTest, StatementsFollowTheDatabasesDialect)
{
    const QString dialectOne = databases.createDatabase(QStringLiteral("dialect1.fdb"), QString(), 1);
    struct Case {
        QString location;
        int dialect;
    };
    const Case cases[] = {{dialectOne, 1}, {databases.backOfficePath(), 3}};
    for (const auto& c : cases) {
        FirebirdClient client;
        Transaction transaction(client);
        Connection connection(client, transaction);
        connection.setLocation(c.location);
        connection.open();
        EXPECT_EQ(connection.dialect(), c.dialect);

        // Double quotes delimit a text in dialect 1 and a name in dialect 3.
        RecordingLog log;
        const auto lookUp = [&] {
            return PTAB(QStringLiteral("RDB$DATABASE"), QStringLiteral("\"abc\""), QString(), connection, log,
                        brazilianSettings());
        };
        if (c.dialect == 1)
            EXPECT_EQ(lookUp(), QStringLiteral("abc"));
        else
            EXPECT_THROW(lookUp(), Error);
    }
}
