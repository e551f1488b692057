#pragma once

#include <QByteArray>
#include <QString>

// The fixed content of "ToDp.xtr": 189 lines, each ended by CR LF, pure ASCII.
QByteArray transformationFileContent();

// Writes the transformation file at the full path, creating it or replacing its content.
// A file that cannot be created fails with "I/O error 103"; a later write or close
// failure fails with the message of the system's error number.
void salvaxtr(const QString& path);
