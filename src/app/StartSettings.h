#pragma once

#include "DatabaseAccount.h"

#include <QString>

// What the settings file sets for the life of the program, read once at start; these
// keys are written only by hand (the file of an installation is readable only by the
// administrator and the service account). A key that is missing or empty, or a missing
// file, leaves the built-in value:
//   [BASE] USUARIO and SENHA   the account of both databases
//   [SERVICO] ENDERECO         the order service's whole address, with its path and token
struct StartSettings {
    DatabaseAccount databaseAccount;
    QString serviceAddress;
};

StartSettings readStartSettings(const QString& programFolder);
