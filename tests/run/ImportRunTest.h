#pragma once

#include "FixedClock.h"
#include "ImportDatabases.h"
#include "ImportRun.h"
#include "OrderDocument.h"
#include "RecordingHost.h"
#include "Regional.h"
#include "ScriptedServer.h"
#include "SideConnection.h"

#include <QFile>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <optional>

// A run on the fresh databases of ImportDatabases. The clock stands at 15/03/2024
// 14:30:07 and the workstation is Brazilian. The service address is a loopback port
// where nothing listens, so a download fails unless a test serves one.
class ImportRunTest : public testing::Test {
protected:
    static inline const QString kCnpj = QString::fromLatin1(ImportDatabases::kCustomerCnpj);

    ImportRunTest()
    {
        host.backOffice = databases.backOfficePath();
        host.orders = databases.ordersPath();
    }

    // Runs the import on the document, given as the order file.
    RunEnd runOn(const QByteArray& document)
    {
        const QString path = programFolder.filePath(QStringLiteral("pedidos.xml"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(document);
        file.close();
        host.orderFile = path;
        return run();
    }

    RunEnd run()
    {
        if (!importRun)
            importRun.emplace(host, RunSetup{programFolder.path(), serviceAddress}, clock, regional);
        return importRun->execute();
    }

    // What program end does to the databases: the connections close, committing.
    void endProgram() { importRun.reset(); }

    std::vector<SideRow> orderRows(const QString& sql) const { return SideConnection(databases.ordersPath()).rows(sql); }
    SideValue orderValue(const QString& sql) const { return SideConnection(databases.ordersPath()).value(sql); }
    SideValue backOfficeValue(const QString& sql) const
    {
        return SideConnection(databases.backOfficePath()).value(sql);
    }
    QString generator() const
    {
        return *backOfficeValue(QStringLiteral("SELECT GEN_ID(ORCAMENTOS_ORC_CODIGO_GEN, 0) FROM RDB$DATABASE"));
    }
    // The lines after the order file's own lines: from the customer code on.
    QStringList importLines() const
    {
        const qsizetype start = host.lines.indexOf(QStringLiteral("@ 10"));
        return start < 0 ? QStringList() : host.lines.mid(start);
    }

    ImportDatabases databases;
    QTemporaryDir programFolder;
    FixedClock clock;
    RegionalSettings regional = brazilianSettings();
    RecordingHost host;
    QString serviceAddress = QStringLiteral("http://127.0.0.1:%1/servico/oc/download").arg(closedLoopbackPort());
    std::optional<ImportRun> importRun;
};
