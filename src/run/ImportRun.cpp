#include "ImportRun.h"

#include "Error.h"
#include "ImportContext.h"
#include "OrderDownload.h"
#include "OrderFileScan.h"
#include "OrderImport.h"
#include "ReceivedFileArchive.h"
#include "RunHost.h"
#include "RunLock.h"
#include "StatementText.h"
#include "Text.h"
#include "TransformationFile.h"

#include <QDir>
#include <QFile>

namespace {

const QString kTransformationFileName = QStringLiteral("ToDp.xtr");

QString cleanedCnpj(QString cnpj)
{
    cnpj.remove(u'/');
    cnpj.remove(u'-');
    cnpj.remove(u'.');
    return cnpj;
}

} // namespace

QString runEndMessage(RunEnd end)
{
    switch (end) {
    case RunEnd::NoBackOfficeConnection: return QStringLiteral("Sem conexão a base de dados do kelmora...");
    case RunEnd::NoOrdersConnection: return QStringLiteral("Sem conexão a base de dados dos pedidos...");
    case RunEnd::AnotherRunInProgress: return QStringLiteral("Outra execução em andamento...");
    case RunEnd::Stopped: return QStringLiteral("Execução interrompida a pedido do sistema...");
    case RunEnd::Completed: break;
    }
    return QString();
}

ImportRun::ImportRun(RunHost& host, RunSetup setup, const Clock& clock, const RegionalSettings& regional)
    : host_(host)
    , setup_(std::move(setup))
    , clock_(clock)
    , regional_(regional)
    , database_(regional)
    , DTtarvelo_(Provedor_, tarveloHeaderFields())
{
}

RunEnd ImportRun::execute()
{
    host_.processEvents();

    // Two processes importing the same document at once could both find an order new.
    const auto endEarly = [this](RunEnd end) {
        host_.log(runEndMessage(end));
        return end;
    };
    if (host_.stopRequested())
        return endEarly(RunEnd::Stopped);
    const auto lock = RunLock::tryAcquire(setup_.programFolder);
    if (!lock)
        return endEarly(RunEnd::AnotherRunInProgress);
    if (!openConnection(database_.BaseADM, host_.backOfficeLocation()))
        return endEarly(RunEnd::NoBackOfficeConnection);
    if (!openConnection(database_.BasePedidos, host_.ordersLocation()))
        return endEarly(RunEnd::NoOrdersConnection);

    const QString transformationFile = QDir(setup_.programFolder).filePath(kTransformationFileName);
    QFile::remove(transformationFile);
    salvaxtr(transformationFile);

    const QString orderFile = obtainOrderFile();
    if (scanOrderFile(orderFile, host_)) {
        loadOrderDocument(transformationFile, orderFile);
        if (!importHeaderRows())
            return endEarly(RunEnd::Stopped);
    }

    if (host_.unattended())
        host_.requestQuit();
    return RunEnd::Completed;
}

bool ImportRun::openConnection(Connection& connection, const QString& location)
{
    try {
        connection.setLocation(location);
        connection.open();
        return true;
    } catch (const Error&) {
        return false;
    }
}

QString ImportRun::obtainOrderFile()
{
    const QString typedPath = trimmed(host_.orderFilePath());
    if (!typedPath.isEmpty())
        return typedPath;

    const QString receivedFile = receivedFilePath(setup_.programFolder);
    host_.log(QStringLiteral("Iniciando tentativa de receber arquivo..."));
    // A failed download is not reported: the run goes on with whatever file an earlier run left.
    if (recebearquivo(setup_.serviceAddress, receivedFile)) {
        arquivarecebido(setup_.programFolder, clock_, host_);
        host_.processEvents();
    }
    return receivedFile;
}

void ImportRun::loadOrderDocument(const QString& transformationFile, const QString& orderFile)
{
    Provedor_.setTransformationFile(transformationFile);
    Provedor_.setXmlDataFile(orderFile);
    if (DTtarvelo_.active())
        DTtarvelo_.close();
    DTtarvelo_.open();
    RecordSet& orders = DTtarvelo_.nestedRecordSet(3);
    host_.bindOrderGrids(orders, orders.nestedRecordSet(5));
}

bool ImportRun::importHeaderRows()
{
    const ImportContext context{database_, host_, clock_, regional_};
    RecordSet& orders = DTtarvelo_.nestedRecordSet(3);
    RecordSet& items = orders.nestedRecordSet(5);
    for (DTtarvelo_.first(); !DTtarvelo_.eof(); DTtarvelo_.next()) {
        if (host_.stopRequested())
            return false;
        const QString cnpj = cleanedCnpj(DTtarvelo_.field(2).asText());
        const QString customerCode = trimmed(context.lookup(QStringLiteral("CLI_FOR"), QStringLiteral("CLI_CODIGO"),
                                                            QStringLiteral("CLI_CNPJ = '") + withQuotesDoubled(cnpj)
                                                                + QStringLiteral("'"),
                                                            database_.BaseADM));
        host_.log(customerCode);
        if (customerCode.isEmpty())
            continue;
        host_.processEvents();
        for (orders.first(); !orders.eof();) {
            if (host_.stopRequested())
                return false;
            importCurrentOrder(context, customerCode, cnpj, orders, items);
        }
    }
    return true;
}
