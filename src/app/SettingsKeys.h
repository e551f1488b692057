#pragma once

#include <QString>

// Every section and key of the settings file. "Salvar" writes only the two locations;
// the account and the service address are written by hand and read once at start.
inline const QString kDatabaseSection = QStringLiteral("BASE");
inline const QString kBackOfficeLocationKey = QStringLiteral("KELMORA");
inline const QString kOrdersLocationKey = QStringLiteral("PEDIDOS");
inline const QString kDatabaseUserKey = QStringLiteral("USUARIO");
inline const QString kDatabasePasswordKey = QStringLiteral("SENHA");
inline const QString kServiceSection = QStringLiteral("SERVICO");
inline const QString kServiceAddressKey = QStringLiteral("ENDERECO");
