#pragma once

#include "Clock.h"
#include "HeaderRecordSet.h"
#include "OrderDatabase.h"
#include "OrderDocumentReader.h"
#include "PendingDocuments.h"
#include "RegionalSettings.h"

#include <QByteArray>
#include <QSet>
#include <QString>

class RunHost;
class RunTally;

// How a run ended, when no error escaped it.
enum class RunEnd {
    Completed,                // every order of every document read is recorded
    DownloadFailed,           // as completed, but the service could not be reached
    OrdersFailed,             // unattended: orders were reported as failed and stay pending
    NoBackOfficeConnection,   // "Sem conexão a base de dados do kelmora..."
    NoOrdersConnection,       // "Sem conexão a base de dados dos pedidos..."
    AnotherRunInProgress,     // another process is importing; nothing was touched
    Stopped,                  // the program was asked to end; every order begun was finished
};

// The log line of a run that ended early; empty for a run that read its documents.
QString runEndMessage(RunEnd end);

// Where a run finds its files and its order service, and how it signs in to the databases.
struct RunSetup {
    QString programFolder;
    QString serviceAddress;
    DatabaseAccount databaseAccount = kBuiltInDatabaseAccount;
};

// The import behind "Executar Rotina" and "/executa", with the components that
// outlive single runs: the databases and writers, the transformation provider and
// the header record set the grids show. Creating it loads the database client library.
//
// A run first reads the documents still pending from earlier runs, oldest first, then
// the new document (the file typed into "Arquivo", or the one the service hands out).
// A received document is kept pending until each of its orders is recorded.
class ImportRun {
public:
    ImportRun(RunHost& host, RunSetup setup, const Clock& clock, const RegionalSettings& regional);

    // One run. Failures that the run does not handle itself leave as Error.
    RunEnd execute();

    // `DTtarvelo`: the header rows of the last loaded order document.
    RecordSet& headerRecordSet() { return DTtarvelo_; }
    // Why the last connection that could not open did not: the client library's message.
    const QString& connectionFailure() const { return connectionFailure_; }

private:
    bool openConnection(Connection& connection, const QString& location);
    // The reading of every document; false when the program was asked to end.
    bool importPendingDocuments(RunTally& tally);
    bool importNewDocument(RunTally& tally);
    bool importReceivedDocument(RunTally& tally);
    bool importDocument(const QString& path, const QString& name, const QString& pendingPath, RunTally& tally);
    void loadOrderDocument(const QString& orderFile);
    // False when the same bytes were read already in this run.
    bool firstReadingThisRun(const QByteArray& content);

    RunHost& host_;
    RunSetup setup_;
    const Clock& clock_;
    const RegionalSettings& regional_;
    PendingDocuments pending_;
    OrderDatabase database_;
    OrderDocumentReader Provedor_;
    HeaderRecordSet DTtarvelo_;
    QString transformationFile_;
    QSet<QByteArray> documentsRead_;   // digests of the documents read in the current run
    QString connectionFailure_;
};
