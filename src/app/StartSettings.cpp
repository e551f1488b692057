#include "StartSettings.h"

#include "DatabaseLocations.h"
#include "OrderDownload.h"
#include "ProfileFile.h"
#include "SettingsKeys.h"

StartSettings readStartSettings(const QString& programFolder)
{
    const ProfileFile file(settingsFilePath(programFolder));
    const auto read = [&file](const QString& section, const QString& key, const QString& builtIn) {
        const QString value = file.readString(section, key);
        return value.isEmpty() ? builtIn : value;
    };
    return StartSettings{
        DatabaseAccount{read(kDatabaseSection, kDatabaseUserKey, kBuiltInDatabaseAccount.user),
                        read(kDatabaseSection, kDatabasePasswordKey, kBuiltInDatabaseAccount.password)},
        read(kServiceSection, kServiceAddressKey, kOrderServiceAddress),
    };
}
