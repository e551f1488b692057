#pragma once

#include <QString>

// The order service's address: the key ENDERECO of the section SERVICO in the settings
// file, written only by hand (the whole address, with its path and token), read once at
// start; the built-in address when the file, the section or the key is missing or empty.
QString configuredServiceAddress(const QString& programFolder);
