#pragma once

#include <QByteArray>
#include <QString>

// Database text and the scanned order file are single-byte Windows-1252 text.
QString fromWindows1252(const char* bytes, qsizetype size);
QString fromWindows1252(const QByteArray& bytes);
// Characters without a Windows-1252 byte become '?'.
QByteArray toWindows1252(const QString& text);
// True when every character has a Windows-1252 byte, so the text survives a round trip.
bool fitsWindows1252(const QString& text);
