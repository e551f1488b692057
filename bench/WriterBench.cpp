// Prints the time and peak memory per order row that the order writer applies, into an
// empty PEDIDOS and into one that already holds many rows, each in a process of its own,
// to show that neither depends on the table's size. Usage: writer_bench [rows] [existing rows]
#include "BenchSupport.h"
#include "DateTimeText.h"
#include "SideConnection.h"
#include "TableWriter.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

namespace {

void seedOrders(const QString& path, int count)
{
    SideConnection side(path);
    side.execute(QStringLiteral(
        "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= %1) DO BEGIN "
        "INSERT INTO PEDIDOS (ORC_CODIGO, PED_DTEMISSAO, PED_OBS1, PED_CLIENTE, PED_TOTAL, PED_NROORDEMCOMPRA, "
        "PED_EMAILS) VALUES (:I, CURRENT_DATE, 'pedido antigo', 7, 199.9, 'OC' || :I, 'compras@example.com'); "
        "I = I + 1; END END")
                     .arg(count));
}

// One order row as the import fills it, mostly from text.
void writeOrder(TableWriter& DTPedido, int number, const RegionalSettings& regional)
{
    const QDateTime now = QDateTime::currentDateTime();
    DTPedido.append();
    DTPedido.setInteger(QStringLiteral("ORC_CODIGO"), number);
    DTPedido.setText(QStringLiteral("PED_DTEMISSAO"), dayMonthYearText(now.date(), regional));
    DTPedido.setText(QStringLiteral("PED_OBS1"), QStringLiteral("Entregar no período da manhã"));
    DTPedido.setText(QStringLiteral("PED_OBS2"), QString());
    DTPedido.setText(QStringLiteral("PED_VENDEDOR"), QStringLiteral("12"));
    DTPedido.setInteger(QStringLiteral("PED_CONDPGTO"), 0);
    DTPedido.setText(QStringLiteral("PED_EXPORTADO"), QStringLiteral("N"));
    DTPedido.setText(QStringLiteral("PED_CNPJ_CPF"), QStringLiteral("12345678000199"));
    DTPedido.setText(QStringLiteral("PED_NOMECLIENTE"), QStringLiteral("Comercial Exemplo Ltda"));
    DTPedido.setText(QStringLiteral("PED_CANCELADO"), QStringLiteral("N"));
    DTPedido.setText(QStringLiteral("PED_DTENVIO"), dayMonthYearTimeText(now, regional));
    DTPedido.setText(QStringLiteral("PED_ENVIAEMAIL"), QStringLiteral("S"));
    DTPedido.setText(QStringLiteral("PED_EMAILS"), QStringLiteral("compras@example.com"));
    DTPedido.setText(QStringLiteral("PED_ENVIOUEMAIL"), QStringLiteral("N"));
    DTPedido.setInteger(QStringLiteral("PED_CLIENTE"), 7);
    DTPedido.setInteger(QStringLiteral("PED_PERCENTUALFRETE"), 0);
    DTPedido.setText(QStringLiteral("PED_FILIAL"), QStringLiteral("1"));
    DTPedido.setText(QStringLiteral("PED_ENDERECOMAC"), QStringLiteral("SERVIDOR"));
    DTPedido.setText(QStringLiteral("PED_NOMEESTACAO"), QStringLiteral("SERVIDOR"));
    DTPedido.setText(QStringLiteral("PED_NROPEDIDOCLIENTE"), QStringLiteral("OC-%1").arg(number));
    DTPedido.setText(QStringLiteral("PED_NROORDEMCOMPRA"), QStringLiteral("OC-%1").arg(number));
    DTPedido.setText(QStringLiteral("PED_PROPOSTACOMERCIAL"), QStringLiteral("N"));
    DTPedido.setInteger(QStringLiteral("PED_NROITENS"), 3);
    DTPedido.setNumber(QStringLiteral("PED_VALORST"), 12.5);
    DTPedido.setNumber(QStringLiteral("PED_TOTAL"), 199.9);
    DTPedido.post();
    DTPedido.applyUpdates();
}

void measure(int rows, int existing)
{
    FirebirdFixture databases;
    if (existing > 0)
        seedOrders(databases.ordersPath(), existing);

    OpenDatabases open(databases);
    Transaction& TR = open.TR;
    const RegionalSettings regional;
    TableWriter DTPedido(open.BasePedidos, orderTableLayout(), regional);

    QElapsedTimer timer;
    timer.start();
    DTPedido.open();
    const double openMilliseconds = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    // The first order warms the statement and the engine's caches.
    writeOrder(DTPedido, existing + 1, regional);
    TR.commitRetaining();

    const long peakBefore = peakResidentKilobytes();
    timer.restart();
    for (int i = 2; i <= rows + 1; ++i) {
        writeOrder(DTPedido, existing + i, regional);
        TR.commitRetaining();
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const long peakAfter = peakResidentKilobytes();
    SideConnection side(databases.ordersPath());
    const QString total = side.value(QStringLiteral("SELECT COUNT(*) FROM PEDIDOS")).value_or(QString());
    std::printf("%7d rows already in PEDIDOS: open %6.1f ms, %d rows in %6.2f s = %6.3f ms/row, "
                "peak resident %ld kB -> %ld kB (%+.3f kB/row), %s rows at the end\n",
                existing, openMilliseconds, rows, seconds, seconds * 1000 / rows, peakBefore, peakAfter,
                static_cast<double>(peakAfter - peakBefore) / rows, qPrintable(total));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const int rows = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int existing = argc > 2 ? std::atoi(argv[2]) : 100000;
    return runApart([&] { measure(rows, 0); }) | runApart([&] { measure(rows, existing); });
}
