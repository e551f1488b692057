#pragma once

#include <QByteArray>
#include <QString>

// Writes the content to a temporary file beside the target and puts it in the
// target's place only once completely written: a failure (full disk, no rights)
// answers false and leaves an existing file as it was.
bool replaceFileContent(const QString& path, const QByteArray& content);
