#pragma once

#include <QByteArray>
#include <QString>

// Writes the content to a temporary file beside the target and puts it in the
// target's place only once completely written: a failure (full disk, no rights)
// answers false and leaves an existing file as it was. `reason`, when given, then
// receives the failure's input/output message ("Disk full", "File not found", ...).
//
// A folder that lets its user write an existing file but not create one beside it
// (a service account given only its settings file) still gets the file rewritten:
// in place, after the room for the new content has been reserved, so that a full
// disk fails before any byte of the old content changes.
bool replaceFileContent(const QString& path, const QByteArray& content, QString* reason = nullptr);
