// Prints what one unattended import of a large order document costs — time, statements
// sent per order and peak memory — into an orders database that already holds many
// orders and into an empty one, each in a process of its own, to show that neither
// depends on how many orders the database holds.
// Usage: import_bench [orders] [items per order] [orders already recorded]
#include "BenchSupport.h"
#include "ImportDatabases.h"
#include "ImportRun.h"
#include "LargeDocument.h"
#include "SideConnection.h"
#include "SilentHost.h"
#include "Statement.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

void recordEarlierOrders(const QString& ordersPath, int count, int items)
{
    SideConnection(ordersPath)
        .execute(QStringLiteral(
                     "EXECUTE BLOCK AS DECLARE I INTEGER = 1; DECLARE J INTEGER; BEGIN WHILE (I <= %1) DO BEGIN "
                     "INSERT INTO PEDIDOS (ORC_CODIGO, PED_DTEMISSAO, PED_OBS1, PED_CLIENTE, PED_TOTAL, PED_NROORDEMCOMPRA, "
                     "PED_NROITENS) VALUES (:I, CURRENT_DATE, 'pedido antigo', 10, 199.9, 'ANT-' || :I, %2); J = 1; "
                     "WHILE (J <= %2) DO BEGIN INSERT INTO PEDIDO_ITENS (ORC_CODIGO, ITE_SEQU, ITE_PRDCODIGO, "
                     "ITE_QUANTIDADE, ITE_UNITARIO) VALUES (:I, :J, 123, 1, 39.98); J = J + 1; END I = I + 1; END END")
                     .arg(count)
                     .arg(items));
}

void measure(int orders, int items, int earlierOrders)
{
    const ImportDatabases databases;
    if (earlierOrders > 0)
        recordEarlierOrders(databases.ordersPath(), earlierOrders, items);
    // The earlier orders took the first order numbers.
    SideConnection(databases.backOfficePath())
        .execute(QStringLiteral("SET GENERATOR ORCAMENTOS_ORC_CODIGO_GEN TO %1").arg(earlierOrders + 1000));

    const QTemporaryDir programFolder;
    const QString document = QDir(programFolder.path()).filePath(QStringLiteral("pedidos.xml"));
    QFile file(document);
    if (!file.open(QIODevice::WriteOnly) || file.write(largeOrderDocument(orders, items)) < 0)
        std::exit(1);
    file.close();

    SilentHost host(databases.backOfficePath(), databases.ordersPath(), document);
    const SystemClock clock;
    const RegionalSettings regional;
    long statements = 0;
    Statement::observeExecutions([&statements](const QString&) { ++statements; });
    const long peakBefore = peakResidentKilobytes();
    QElapsedTimer timer;
    timer.start();
    {
        ImportRun run(host, RunSetup{programFolder.path(), QStringLiteral("http://127.0.0.1:9/")}, clock, regional);
        run.execute();
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    Statement::observeExecutions({});
    const QString recorded =
        SideConnection(databases.ordersPath()).value(QStringLiteral("SELECT COUNT(*) FROM PEDIDOS")).value_or(QString());
    std::printf("%7d orders already recorded: %d orders x %d items in %6.2f s = %6.2f ms/order, "
                "%.1f statements/order, %ld log lines, peak resident %ld kB (%ld kB before the run), "
                "%s orders at the end\n",
                earlierOrders, orders, items, seconds, seconds * 1000 / orders,
                static_cast<double>(statements) / orders, host.lines, peakResidentKilobytes(), peakBefore,
                qPrintable(recorded));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const int orders = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int items = argc > 2 ? std::atoi(argv[2]) : 5;
    const int earlier = argc > 3 ? std::atoi(argv[3]) : 100000;
    return runApart([&] { measure(orders, items, earlier); }) | runApart([&] { measure(orders, items, 0); });
}
