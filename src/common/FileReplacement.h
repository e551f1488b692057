#pragma once

#include <QByteArray>
#include <QString>

// Writes the content to a temporary file beside the target and puts it in the
// target's place only once completely written: a failure (full disk, no rights)
// answers false and leaves an existing file as it was. `reason`, when given, then
// receives the failure's input/output message ("Disk full", "File not found", ...).
bool replaceFileContent(const QString& path, const QByteArray& content, QString* reason = nullptr);
