#pragma once

#include "Clock.h"
#include "RunLog.h"

#include <QString>

// The file in the program folder that the download writes the order document to.
QString receivedFilePath(const QString& programFolder);

// The name of a received document's dated copy, "yyyyMMdd_HHmmss.xml" in local time.
QString receivedCopyName(const QDateTime& moment);

// Keeps a copy of the received file in the folder "xmlrecebidos" of the program
// folder, named after the local time of the copy ("yyyyMMdd_HHmmss.xml",
// replacing a copy of the same second). Creating the folder fails whenever it
// exists already, which the log shows as the raw line "pasta já existe"; a copy
// that fails is not reported. Lets pending events run at the end. Gives the
// copy's name.
QString arquivarecebido(const QString& programFolder, const Clock& clock, RunLog& log);
