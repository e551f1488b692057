#include "DatabaseTest.h"

#include "Error.h"
#include "SideConnection.h"
#include "SingleValueLookup.h"
#include "Statement.h"
#include "Text.h"

#include "QtPrinters.h"

#include <optional>

namespace {

// The program's attachments, as the asking attachment sees them: every user attachment but
// itself. The engine's own attachments (its garbage collector) start transactions at any time.
const QString kProgramAttachments = QStringLiteral(
    "MON$ATTACHMENT_ID <> CURRENT_CONNECTION AND MON$ATTACHMENT_ID IN "
    "(SELECT MON$ATTACHMENT_ID FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0)");

void execute(Connection& connection, const QString& text, const std::vector<ParameterValue>& parameters = {})
{
    Statement statement(connection, text);
    statement.execute(parameters);
}

// One order number written into both databases, as an import writes them.
void writeOrder(Connection& orders, Connection& backOffice, std::int64_t number)
{
    execute(orders, QStringLiteral("INSERT INTO PEDIDOS (ORC_CODIGO) VALUES (?)"), {number});
    execute(backOffice, QStringLiteral("INSERT INTO CLI_FOR (CLI_CODIGO) VALUES (?)"), {number});
}

// A program's client, transaction and both connections, open, within a test's own scope;
// declared so that they are released as at program end, the back-office connection first.
struct ProgramConnections {
    explicit ProgramConnections(const FirebirdFixture& databases)
    {
        orders.setLocation(databases.ordersPath());
        orders.open();
        backOffice.setLocation(databases.backOfficePath());
        backOffice.open();
    }

    FirebirdClient client;
    Transaction transaction{client};
    Connection orders{client, transaction};
    Connection backOffice{client, transaction};
};

QString orderNumbers(SideConnection& side, const QString& table, const QString& column)
{
    QStringList numbers;
    for (const SideRow& row : side.rows(QStringLiteral("SELECT %1 FROM %2 ORDER BY 1").arg(column, table)))
        numbers << *row[0];
    return numbers.join(u',');
}

} // namespace

class TransactionTest : public DatabaseTest {
protected:
    // What another attachment sees committed in each database: "orders | back office".
    QString committedOrders()
    {
        SideConnection orders(databases.ordersPath());
        SideConnection backOffice(databases.backOfficePath());
        return orderNumbers(orders, QStringLiteral("PEDIDOS"), QStringLiteral("ORC_CODIGO")) + QStringLiteral(" | ")
            + orderNumbers(backOffice, QStringLiteral("CLI_FOR"), QStringLiteral("CLI_CODIGO"));
    }

    // How many attachments of the program each database still has.
    QString attachmentsLeft()
    {
        const QString count = QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE ") + kProgramAttachments;
        SideConnection orders(databases.ordersPath());
        SideConnection backOffice(databases.backOfficePath());
        return *orders.value(count) + QStringLiteral(" | ") + *backOffice.value(count);
    }
};

TEST_F(TransactionTest, FirstStatementStartsOneReadCommittedTransactionOnBothDatabases)
{
    EXPECT_EQ(Transaction::parameterBlock(), QByteArray("\x03\x0f\x11", 3));

    openBoth();
    EXPECT_FALSE(TR.isActive());
    PTAB(QStringLiteral("RDB$DATABASE"), QStringLiteral("1"), QString(), BaseADM, log, regional);
    EXPECT_TRUE(TR.isActive());

    for (const QString& path : {databases.ordersPath(), databases.backOfficePath()}) {
        SideConnection side(path);
        const auto transactions = side.rows(
            QStringLiteral("SELECT MON$ISOLATION_MODE, MON$LOCK_TIMEOUT, MON$READ_ONLY FROM MON$TRANSACTIONS WHERE ")
            + kProgramAttachments);
        // Isolation 2 is read committed with record versions; a lock timeout of -1 waits without limit.
        ASSERT_EQ(transactions.size(), 1u) << path.toStdString();
        EXPECT_EQ(transactions[0], (SideRow{QStringLiteral("2"), QStringLiteral("-1"), QStringLiteral("0")}));
    }
}

TEST_F(TransactionTest, StartNeedsEveryDatabaseOpen)
{
    BaseADM.setLocation(databases.backOfficePath());
    BaseADM.open();
    try {
        Statement statement(BaseADM, QStringLiteral("SELECT 1 FROM RDB$DATABASE"));
        ADD_FAILURE() << "started the transaction with the orders database closed";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cannot perform operation -- DB is not open"));
    }
    EXPECT_FALSE(TR.isActive());
}

TEST_F(TransactionTest, CommitAndRollbackRetainingNeedAnActiveTransaction)
{
    openBoth();
    for (const auto& step : {&Transaction::commitRetaining, &Transaction::rollbackRetaining}) {
        try {
            (TR.*step)();
            ADD_FAILURE() << "accepted without an active transaction";
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), QStringLiteral("Transaction is not active"));
        }
    }
}

TEST_F(TransactionTest, CommitRetainingPublishesBothDatabasesTogetherAndStaysActive)
{
    openBoth();
    writeOrder(BasePedidos, BaseADM, 1);
    EXPECT_EQ(committedOrders(), QStringLiteral(" | "));

    TR.commitRetaining();
    EXPECT_TRUE(TR.isActive());
    EXPECT_EQ(committedOrders(), QStringLiteral("1 | 1"));

    writeOrder(BasePedidos, BaseADM, 2);
    EXPECT_EQ(committedOrders(), QStringLiteral("1 | 1"));
    TR.commitRetaining();
    EXPECT_EQ(committedOrders(), QStringLiteral("1,2 | 1,2"));
}

TEST_F(TransactionTest, RollbackRetainingDiscardsOnlyWhatCameAfterTheLastCommit)
{
    openBoth();
    writeOrder(BasePedidos, BaseADM, 1);
    TR.commitRetaining();
    writeOrder(BasePedidos, BaseADM, 2);

    TR.rollbackRetaining();
    EXPECT_TRUE(TR.isActive());
    writeOrder(BasePedidos, BaseADM, 3);
    TR.commitRetaining();
    EXPECT_EQ(committedOrders(), QStringLiteral("1,3 | 1,3"));
}

TEST_F(TransactionTest, ProgramEndCommitsWhenTheBackOfficeConnectionCloses)
{
    {
        ProgramConnections program(databases);
        writeOrder(program.orders, program.backOffice, 1);
        program.transaction.commitRetaining();
        writeOrder(program.orders, program.backOffice, 2);
    }
    EXPECT_EQ(committedOrders(), QStringLiteral("1,2 | 1,2"));

    EXPECT_EQ(attachmentsLeft(), QStringLiteral("0 | 0"));
}

TEST_F(TransactionTest, FailedFinalCommitRollsBackAndTheProgramStillEnds)
{
    {
        SideConnection side(databases.ordersPath());
        side.execute(QStringLiteral("CREATE EXCEPTION REFUSED 'order 99 refused'"));
        side.execute(QStringLiteral(
            "CREATE TRIGGER REFUSE_ORDER_99 ON TRANSACTION COMMIT AS BEGIN "
            "IF (EXISTS (SELECT 1 FROM PEDIDOS WHERE ORC_CODIGO = 99)) THEN EXCEPTION REFUSED; END"));
    }
    {
        ProgramConnections program(databases);
        writeOrder(program.orders, program.backOffice, 1);
        program.transaction.commitRetaining();
        writeOrder(program.orders, program.backOffice, 99);
    }
    EXPECT_EQ(committedOrders(), QStringLiteral("1 | 1"));
    EXPECT_EQ(attachmentsLeft(), QStringLiteral("0 | 0"));
}

TEST_F(TransactionTest, TransactionReleasedBeforeItsConnectionsCommitsAndLetsThemDetach)
{
    FirebirdClient client;
    std::optional<Transaction> transaction(std::in_place, client);
    Connection orders(client, *transaction);
    Connection backOffice(client, *transaction);
    orders.setLocation(databases.ordersPath());
    orders.open();
    backOffice.setLocation(databases.backOfficePath());
    backOffice.open();
    writeOrder(orders, backOffice, 1);

    transaction.reset();
    EXPECT_EQ(committedOrders(), QStringLiteral("1 | 1"));
    try {
        Statement statement(orders, QStringLiteral("SELECT 1 FROM RDB$DATABASE"));
        ADD_FAILURE() << "ran a statement without a transaction";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Transaction not assigned"));
    }
}
