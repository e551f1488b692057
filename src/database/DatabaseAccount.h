#pragma once

#include <QByteArray>
#include <QString>

// The Firebird user and password that both connections sign in with.
struct DatabaseAccount {
    QString user;
    QString password;
};

// The account built into the program, for installations whose settings file names none.
inline const DatabaseAccount kBuiltInDatabaseAccount{QStringLiteral("KALVE"), QStringLiteral("##384756")};

// The bytes sent on every attach: the account's user and password, nothing else, so the
// attachment's character set is NONE. Both go in the system's encoding, as the location
// does. Fails when either is longer than the 255 bytes an attach parameter can hold; the
// message names which one, never its value.
QByteArray attachParameterBlock(const DatabaseAccount& account);
