#pragma once

#include <QString>

#include <optional>

// The two database locations that the program keeps from one start to the next.
struct DatabaseLocations {
    QString backOffice;   // key "KELMORA"
    QString orders;       // key "PEDIDOS"
};

// Path of the settings file in the program folder.
QString settingsFilePath(const QString& programFolder);

// The stored locations; nothing when there is no settings file.
std::optional<DatabaseLocations> loadDatabaseLocations(const QString& programFolder);

// Stores both locations trimmed, back office first; every other line of the
// file stays. Fails with "Unable to write to %s", or, before anything is written,
// for a location holding a character the file cannot store.
void saveDatabaseLocations(const QString& programFolder, const DatabaseLocations& locations);
