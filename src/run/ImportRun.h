#pragma once

#include "ClientRecordSet.h"
#include "Clock.h"
#include "OrderDatabase.h"
#include "RegionalSettings.h"
#include "XmlTransformProvider.h"

#include <QString>

class RunHost;

// How a run ended, when no error escaped it.
enum class RunEnd {
    Completed,                // every step done (an unattended program then ends)
    NoBackOfficeConnection,   // "Sem conexão a base de dados do kelmora..."
    NoOrdersConnection,       // "Sem conexão a base de dados dos pedidos..."
    AnotherRunInProgress,     // another process is importing; nothing was touched
    Stopped,                  // the program was asked to end; every order begun was finished
};

// The log line of a run that ended early; empty for a completed run.
QString runEndMessage(RunEnd end);

// Where a run finds its files and its order service.
struct RunSetup {
    QString programFolder;
    QString serviceAddress;
};

// The import behind "Executar Rotina" and "/executa", with the components that
// outlive single runs: the databases and writers, the transformation provider and
// the header record set the grids show. Creating it loads the database client library.
class ImportRun {
public:
    ImportRun(RunHost& host, RunSetup setup, const Clock& clock, const RegionalSettings& regional);

    // One run. Failures that the run does not handle itself leave as Error.
    RunEnd execute();

    // `DTtarvelo`: the header rows of the last loaded order document.
    RecordSet& headerRecordSet() { return DTtarvelo_; }

private:
    bool openConnection(Connection& connection, const QString& location);
    QString obtainOrderFile();
    void loadOrderDocument(const QString& transformationFile, const QString& orderFile);
    // False when the run stopped, on request, before an order.
    bool importHeaderRows();

    RunHost& host_;
    RunSetup setup_;
    const Clock& clock_;
    const RegionalSettings& regional_;
    OrderDatabase database_;
    XmlTransformProvider Provedor_;
    ClientRecordSet DTtarvelo_;
};
