#include "DatabaseLocations.h"

#include "ProfileFile.h"
#include "Text.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Every name of the settings file.
const QString kSettingsFileName = QStringLiteral("ConfigTarveloTarvelo.ini");
const QString kSection = QStringLiteral("BASE");
const QString kBackOfficeKey = QStringLiteral("KELMORA");
const QString kOrdersKey = QStringLiteral("PEDIDOS");

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
    return DatabaseLocations{file.readString(kSection, kBackOfficeKey), file.readString(kSection, kOrdersKey)};
}

void saveDatabaseLocations(const QString& programFolder, const DatabaseLocations& locations)
{
    const ProfileFile file(settingsFilePath(programFolder));
    file.writeString(kSection, kBackOfficeKey, trimmed(locations.backOffice));
    file.writeString(kSection, kOrdersKey, trimmed(locations.orders));
}
