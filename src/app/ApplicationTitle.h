#pragma once

#include <QString>

// Shown on the taskbar and as the caption of the standard error box.
inline const QString kApplicationTitle = QStringLiteral("Integração Tarvelo Tarvelo");
