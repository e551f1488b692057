#include "ImportRunTest.h"

#include "Error.h"
#include "Statement.h"

namespace {

// Three new orders of two items each, their purchase-order numbers after the prefix;
// the second is the one that fails.
QByteArray threeOrders(const QString& prefix)
{
    std::vector<DocumentOrder> orders;
    for (int n = 1; n <= 3; ++n) {
        orders.push_back({prefix + QString::number(n), QStringLiteral("pedido %1").arg(n),
                          {{QStringLiteral("123"), QString::number(n), QStringLiteral("10")},
                           {QStringLiteral("456"), QString::number(n + 1), QStringLiteral("5")}}});
    }
    return orderDocument(QString::fromLatin1(ImportDatabases::kCustomerCnpj), orders);
}

const QString kInjectedFailure = QStringLiteral("falha injetada");

// Keeps the statements that a run sends, and makes the one at a chosen position fail.
class StatementFaults {
public:
    explicit StatementFaults(qsizetype failingPosition = -1)
    {
        Statement::observeExecutions([this, failingPosition](const QString& text) {
            sent << text;
            if (sent.size() - 1 == failingPosition)
                throw Error(kInjectedFailure);
        });
    }
    ~StatementFaults() { Statement::observeExecutions({}); }
    StatementFaults(const StatementFaults&) = delete;
    StatementFaults& operator=(const StatementFaults&) = delete;

    QStringList sent;
};

// Positions of the statements that belong to the second order: from its duplicate test
// to the one before the third order's.
std::pair<qsizetype, qsizetype> secondOrderStatements(const QStringList& sent)
{
    std::vector<qsizetype> orderStarts;
    for (qsizetype i = 0; i < sent.size(); ++i) {
        if (sent[i].contains(QStringLiteral("PED_NROORDEMCOMPRA = '")))
            orderStarts.push_back(i);
    }
    return orderStarts.size() == 3 ? std::pair{orderStarts[1], orderStarts[2]} : std::pair<qsizetype, qsizetype>{0, 0};
}

} // namespace

class FaultInjectionTest : public ImportRunTest {
protected:
    // Each order of the prefix, by its number after the prefix, with its item count, its
    // items, payments and e-mail requests.
    std::vector<SideRow> recordedOrders(const QString& prefix) const
    {
        return orderRows(QStringLiteral(
            "SELECT SUBSTRING(P.PED_NROORDEMCOMPRA FROM %1), P.PED_NROITENS, (SELECT COUNT(*) FROM PEDIDO_ITENS I "
            "WHERE I.ORC_CODIGO = P.ORC_CODIGO), (SELECT COUNT(*) FROM PEDIDO_PGTO G WHERE G.ORC_CODIGO = P.ORC_CODIGO), "
            "(SELECT COUNT(*) FROM ENVIAEMAIL E WHERE E.ENV_PEDIDO = P.ORC_CODIGO) FROM PEDIDOS P WHERE "
            "P.PED_NROORDEMCOMPRA STARTING WITH '%2' ORDER BY 1").arg(prefix.size() + 1).arg(prefix));
    }
    // Rows that belong to no recorded order.
    QString strayRows() const
    {
        return *orderValue(QStringLiteral(
            "SELECT (SELECT COUNT(*) FROM PEDIDO_ITENS I WHERE NOT EXISTS (SELECT 1 FROM PEDIDOS P WHERE P.ORC_CODIGO = "
            "I.ORC_CODIGO)) + (SELECT COUNT(*) FROM PEDIDO_PGTO G WHERE NOT EXISTS (SELECT 1 FROM PEDIDOS P WHERE "
            "P.ORC_CODIGO = G.ORC_CODIGO)) FROM RDB$DATABASE"));
    }
};

TEST_F(FaultInjectionTest, EveryStatementOfTheSecondOrderFailingInTurnLeavesNoHalfOrder)
{
    // A run without faults shows which statements the second order sends.
    QStringList sent;
    {
        const StatementFaults observer;
        runOn(threeOrders(QStringLiteral("R-")));
        sent = observer.sent;
    }
    endProgram();
    const auto [first, end] = secondOrderStatements(sent);
    ASSERT_GT(end - first, 20) << "order number, duplicate test, lookups, items, order, payment, e-mail";

    const std::vector<SideRow> allOrdersOnce = {
        {"1", "2", "2", "1", "1"}, {"2", "2", "2", "1", "1"}, {"3", "2", "2", "1", "1"}};
    for (qsizetype position = first; position < end; ++position) {
        SCOPED_TRACE(sent[position].simplified().toStdString());
        // The e-mail request follows the commit of the order with its payment: its failure
        // leaves the order recorded without the request.
        const bool afterPaymentCommit = sent[position].contains(QStringLiteral("PAR_ENVIAEMAIL"))
            || sent[position].contains(QStringLiteral("INSERT INTO ENVIAEMAIL"));
        const SideRow secondWithoutRequest = {"2", "2", "2", "1", "0"};
        // In the window the failure ends the run; unattended, the run goes on with the third order.
        for (const bool unattended : {false, true}) {
            SCOPED_TRACE(unattended ? "unattended" : "window");
            host.unattendedMode = unattended;
            host.failures.clear();
            const QString prefix = QStringLiteral("F%1%2-").arg(position).arg(unattended ? "U" : "W");
            {
                const StatementFaults fault(position);
                if (unattended)
                    EXPECT_EQ(runOn(threeOrders(prefix)), RunEnd::OrdersFailed);
                else
                    EXPECT_THROW(runOn(threeOrders(prefix)), Error);
            }
            endProgram();
            std::vector<SideRow> expected = {allOrdersOnce[0]};
            if (afterPaymentCommit)
                expected.push_back(secondWithoutRequest);
            if (unattended)
                expected.push_back(allOrdersOnce[2]);
            EXPECT_EQ(recordedOrders(prefix), expected);
            EXPECT_EQ(strayRows(), QStringLiteral("0"));
            if (unattended) {
                EXPECT_EQ(host.failures, QStringList{QStringLiteral("Falha no pedido %1 do documento %2: %3")
                                                         .arg(prefix + QStringLiteral("2"),
                                                              programFolder.filePath(QStringLiteral("pedidos.xml")),
                                                              kInjectedFailure)});
            }

            EXPECT_EQ(runOn(threeOrders(prefix)), RunEnd::Completed);
            endProgram();
            expected = allOrdersOnce;
            if (afterPaymentCommit)
                expected[1] = secondWithoutRequest;
            EXPECT_EQ(recordedOrders(prefix), expected);
            EXPECT_EQ(strayRows(), QStringLiteral("0"));
        }
    }
}
