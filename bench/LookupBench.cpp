// Prints the speed of single-value and ST rate lookups on fresh embedded databases and
// the process's resident memory before and after them, to show that a long series of
// lookups holds on to nothing. Usage: lookup_bench [lookups]
#include "BenchSupport.h"
#include "RunLog.h"
#include "SideConnection.h"
#include "SingleValueLookup.h"
#include "StRateLookup.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

namespace {

class DiscardingLog final : public RunLog {
public:
    void log(const QString&) override {}
    void appendRaw(const QString&) override {}
    void processEvents() override {}
};

template <typename Lookup>
void measure(const char* name, int count, Lookup lookUp)
{
    lookUp();
    const long before = residentKilobytes();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i)
        lookUp();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("%-22s %7d calls  %8.1f calls/s  %7.3f ms/call  resident %ld kB -> %ld kB\n", name, count,
                count / seconds, seconds * 1000 / count, before, residentKilobytes());
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    FirebirdFixture databases;
    {
        SideConnection side(databases.backOfficePath());
        side.execute(QStringLiteral("INSERT INTO CLI_FOR (CLI_CODIGO, CLI_CNPJ, CLI_UF) VALUES (7, '12345678000199', 'RJ')"));
        side.execute(QStringLiteral("INSERT INTO PRODUTOS (PRD_CODIGO, PRD_NCM) VALUES (1234, '84713012')"));
        side.execute(QStringLiteral("INSERT INTO NCM (NCM_CODIGO, NCM_ICMS) VALUES ('84713012', 10)"));
        side.execute(QStringLiteral("INSERT INTO ICMS VALUES (10, 'SP', 'RJ', 2, 140, 18, 100, 12)"));
    }

    OpenDatabases open(databases);
    Connection& BaseADM = open.BaseADM;
    DiscardingLog log;
    const RegionalSettings regional;

    measure("PTAB customer code", count, [&] {
        PTAB(QStringLiteral("CLI_FOR"), QStringLiteral("CLI_CODIGO"), QStringLiteral("CLI_CNPJ = '12345678000199'"),
             BaseADM, log, regional);
    });
    measure("PTAB generator", count, [&] {
        PTAB(QStringLiteral("RDB$DATABASE"), QStringLiteral("GEN_ID(ORCAMENTOS_ORC_CODIGO_GEN,1)"), QString(), BaseADM,
             log, regional);
    });
    measure("calculast", count, [&] { calculast(QStringLiteral("SP"), QStringLiteral("RJ"), 1234, 2, BaseADM, log, regional); });
    return 0;
}
