#include "DatabaseLocations.h"

#include "Error.h"
#include "ProfileFile.h"
#include "SettingsKeys.h"
#include "Text.h"
#include "Windows1252.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kSettingsFileName = QStringLiteral("ConfigTarveloTarvelo.ini");

} // namespace

QString settingsFilePath(const QString& programFolder)
{
    return QDir(programFolder).filePath(kSettingsFileName);
}

std::optional<DatabaseLocations> loadDatabaseLocations(const QString& programFolder)
{
    const QString path = settingsFilePath(programFolder);
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    const ProfileFile file(path);
    return DatabaseLocations{file.readString(kDatabaseSection, kBackOfficeLocationKey),
                             file.readString(kDatabaseSection, kOrdersLocationKey)};
}

void saveDatabaseLocations(const QString& programFolder, const DatabaseLocations& locations)
{
    const QString backOffice = trimmed(locations.backOffice);
    const QString orders = trimmed(locations.orders);
    // A character the file cannot hold would come back as another one, and the next start
    // would look for a database that does not exist: refuse before anything is written.
    for (const QString& location : {backOffice, orders}) {
        if (!fitsWindows1252(location)) {
            throw Error(QStringLiteral("The location '%1' cannot be saved: the settings file holds only "
                                       "Windows-1252 characters")
                            .arg(location));
        }
    }
    const ProfileFile file(settingsFilePath(programFolder));
    file.writeString(kDatabaseSection, kBackOfficeLocationKey, backOffice);
    file.writeString(kDatabaseSection, kOrdersLocationKey, orders);
}
