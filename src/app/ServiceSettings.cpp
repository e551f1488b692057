#include "ServiceSettings.h"

#include "DatabaseLocations.h"
#include "OrderDownload.h"
#include "ProfileFile.h"

QString configuredServiceAddress(const QString& programFolder)
{
    const QString address =
        ProfileFile(settingsFilePath(programFolder)).readString(QStringLiteral("SERVICO"), QStringLiteral("ENDERECO"));
    return address.isEmpty() ? kOrderServiceAddress : address;
}
