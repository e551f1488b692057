#pragma once

#include <QString>

// Removes every leading and trailing character whose code is 0 to 32
// (the blank and all control characters).
QString trimmed(const QString& text);
