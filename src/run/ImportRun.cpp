#include "ImportRun.h"

#include "DateTimeText.h"
#include "Error.h"
#include "FailurePolicy.h"
#include "HeaderImport.h"
#include "ImportContext.h"
#include "OrderDownload.h"
#include "OrderFileScan.h"
#include "ReceivedFileArchive.h"
#include "RecordFields.h"
#include "RunHost.h"
#include "RunLock.h"
#include "RunTally.h"
#include "Text.h"
#include "TransformationFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kTransformationFileName = QStringLiteral("ToDp.xtr");

std::function<QString()> documentFailureSubject(const QString& name)
{
    return [name] { return QStringLiteral("Falha no documento %1").arg(name); };
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QString runEndMessage(RunEnd end)
{
    switch (end) {
    case RunEnd::NoBackOfficeConnection: return QStringLiteral("Sem conexão a base de dados do kelmora...");
    case RunEnd::NoOrdersConnection: return QStringLiteral("Sem conexão a base de dados dos pedidos...");
    case RunEnd::AnotherRunInProgress: return QStringLiteral("Outra execução em andamento...");
    case RunEnd::Stopped: return QStringLiteral("Execução interrompida a pedido do sistema...");
    case RunEnd::Completed:
    case RunEnd::DownloadFailed:
    case RunEnd::OrdersFailed: break;
    }
    return QString();
}

ImportRun::ImportRun(RunHost& host, RunSetup setup, const Clock& clock, const RegionalSettings& regional)
    : host_(host)
    , setup_(std::move(setup))
    , clock_(clock)
    , regional_(regional)
    , pending_(setup_.programFolder)
    , database_(regional, setup_.databaseAccount)
    , DTtarvelo_(Provedor_, tarveloHeaderFields())
{
}

RunEnd ImportRun::execute()
{
    host_.processEvents();

    const auto endEarly = [this](RunEnd end) {
        host_.log(runEndMessage(end));
        return end;
    };
    if (host_.stopRequested())
        return endEarly(RunEnd::Stopped);
    // Two processes importing the same document at once could both find an order new.
    const auto lock = RunLock::tryAcquire(setup_.programFolder);
    if (!lock)
        return endEarly(RunEnd::AnotherRunInProgress);
    if (!openConnection(database_.BaseADM, host_.backOfficeLocation()))
        return endEarly(RunEnd::NoBackOfficeConnection);
    if (!openConnection(database_.BasePedidos, host_.ordersLocation()))
        return endEarly(RunEnd::NoOrdersConnection);

    transformationFile_ = QDir(setup_.programFolder).filePath(kTransformationFileName);
    QFile::remove(transformationFile_);
    salvaxtr(transformationFile_);

    RunTally tally;
    documentsRead_.clear();
    bool finished = false;
    try {
        finished = importPendingDocuments(tally) && importNewDocument(tally);
    } catch (...) {
        host_.log(tally.summaryLine());
        throw;
    }
    if (!finished)
        host_.log(runEndMessage(RunEnd::Stopped));
    host_.log(tally.summaryLine());
    if (!finished)
        return RunEnd::Stopped;

    if (host_.unattended())
        host_.requestQuit();
    if (tally.anyFailed())
        return RunEnd::OrdersFailed;
    return tally.downloadFailed() ? RunEnd::DownloadFailed : RunEnd::Completed;
}

bool ImportRun::openConnection(Connection& connection, const QString& location)
{
    // A run never starts on an attachment the server has dropped (a restart, a shutdown)
    // nor on a database the operator has moved away from.
    if (connection.isOpen() && (connection.location() != location || !connection.isAlive()))
        database_.closeConnection(connection);
    try {
        connection.setLocation(location);
        connection.open();
        return true;
    } catch (const Error& failure) {
        connectionFailure_ = failure.message();
        return false;
    }
}

bool ImportRun::importPendingDocuments(RunTally& tally)
{
    for (const QString& path : pending_.paths()) {
        if (host_.stopRequested())
            return false;
        const QString name = QFileInfo(path).fileName();
        host_.log(QStringLiteral("Documento pendente: ") + name);
        firstReadingThisRun(contentOf(path));
        if (!importDocument(path, name, path, tally))
            return false;
    }
    return !host_.stopRequested();
}

bool ImportRun::importNewDocument(RunTally& tally)
{
    const QString typedPath = trimmed(host_.orderFilePath());
    if (typedPath.isEmpty())
        return importReceivedDocument(tally);
    // The operator holds a file typed into "Arquivo": it is never kept pending.
    tally.setSource(QStringLiteral("arquivo ") + typedPath);
    bool importable = false;
    if (!attempt(host_, documentFailureSubject(typedPath), [&] { importable = scanOrderFile(typedPath, host_); })) {
        tally.addFailure();
        return true;
    }
    return !importable || importDocument(typedPath, typedPath, QString(), tally);
}

bool ImportRun::importReceivedDocument(RunTally& tally)
{
    const QString receivedFile = receivedFilePath(setup_.programFolder);
    host_.log(QStringLiteral("Iniciando tentativa de receber arquivo..."));
    QString name;
    QString failure;
    if (recebearquivo(setup_.serviceAddress, receivedFile, &failure)) {
        name = arquivarecebido(setup_.programFolder, clock_, host_);
        host_.processEvents();
        tally.setSource(QStringLiteral("recebido agora, ") + name);
    } else {
        // The run goes on with the document an earlier run received, if there is one.
        tally.addFailedDownload();
        host_.reportFailure(QStringLiteral("Falha ao receber arquivo: ") + failure);
        const QFileInfo earlier(receivedFile);
        name = earlier.exists() ? receivedCopyName(earlier.lastModified()) : earlier.fileName();
        tally.setSource(earlier.exists() ? QStringLiteral("recebido.xml de %1, lido novamente após a falha ao receber")
                                               .arg(dateTimeText(earlier.lastModified(), regional_))
                                         : QStringLiteral("nenhum, recebido.xml não existe"));
    }

    const QByteArray content = contentOf(receivedFile);
    if (!content.isEmpty() && !firstReadingThisRun(content)) {
        host_.log(QStringLiteral("recebido.xml é um documento pendente já lido nesta execução"));
        return true;
    }
    QString pendingPath;
    if (!content.isEmpty()
        && !attempt(host_, documentFailureSubject(name), [&] { pendingPath = pending_.keep(content, name); }))
        tally.addFailure();

    bool importable = false;
    if (!attempt(host_, documentFailureSubject(name), [&] { importable = scanOrderFile(receivedFile, host_); })) {
        pending_.release(pendingPath);
        tally.addFailure();
        return true;
    }
    if (!importable) {
        // The service's answer that it has no new orders holds none to keep.
        pending_.release(pendingPath);
        tally.setSource(tally.source() + QStringLiteral(", sem pedidos novos"));
        return true;
    }
    return importDocument(receivedFile, name, pendingPath, tally);
}

bool ImportRun::importDocument(const QString& path, const QString& name, const QString& pendingPath, RunTally& tally)
{
    // A document that cannot be read at all holds no order to keep: it stays in "xmlrecebidos".
    const bool loaded = attempt(host_, documentFailureSubject(name), [&] {
        try {
            loadOrderDocument(path);
        } catch (...) {
            pending_.release(pendingPath);
            throw;
        }
    });
    if (!loaded) {
        tally.addFailure();
        return true;
    }
    const ImportContext context{database_, host_, clock_, regional_};
    const DocumentOrders orders = importHeaderRows(context, host_, DTtarvelo_, name, tally);
    if (!pendingPath.isEmpty()) {
        if (orders.failedOrders.isEmpty() && !orders.stopped)
            pending_.release(pendingPath);
        else
            tally.addPending(QFileInfo(pendingPath).fileName(), orders.failedOrders);
    }
    return !orders.stopped;
}

void ImportRun::loadOrderDocument(const QString& orderFile)
{
    Provedor_.setTransformationFile(transformationFile_);
    Provedor_.setXmlDataFile(orderFile);
    if (DTtarvelo_.active())
        DTtarvelo_.close();
    DTtarvelo_.open();
    RecordSet& orders = DTtarvelo_.nestedRecordSet(HeaderField::Pedido);
    host_.bindOrderGrids(orders, orders.nestedRecordSet(OrderField::Item));
}

bool ImportRun::firstReadingThisRun(const QByteArray& content)
{
    const QByteArray digest = QCryptographicHash::hash(content, QCryptographicHash::Sha256);
    if (documentsRead_.contains(digest))
        return false;
    documentsRead_.insert(digest);
    return true;
}
