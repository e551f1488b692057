#include "DatabaseTest.h"

#include "Error.h"
#include "SideConnection.h"
#include "SingleValueLookup.h"
#include "Statement.h"
#include "Text.h"

#include "QtPrinters.h"

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

TEST_F(ConnectionTest, AttachSendsOnlyTheFixedAccount)
{
    EXPECT_EQ(Connection::attachParameterBlock(), QByteArray("\x01\x1c\x05KALVE\x1d\x08##384756", 18));

    BaseADM.setLocation(databases.backOfficePath());
    BaseADM.open();
    SideConnection side(databases.backOfficePath());
    const auto attachment = side.rows(QStringLiteral(
        "SELECT MON$USER, MON$ROLE, MON$CHARACTER_SET_ID FROM MON$ATTACHMENTS "
        "WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION AND MON$SYSTEM_FLAG = 0"));
    ASSERT_EQ(attachment.size(), 1u);
    EXPECT_EQ(trimmed(*attachment[0][0]), QStringLiteral("KALVE"));
    EXPECT_EQ(trimmed(*attachment[0][1]), QStringLiteral("NONE"));
    EXPECT_EQ(attachment[0][2], QStringLiteral("0")) << "character set NONE";
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
