#pragma once

#include <QString>

class RunLog;

// Shows every line of the order file in the log pane, as it is, and tells
// whether the file may be imported: false when a line begins with "N" and
// contains "pedidos novos" (the service's answer that there are no new orders).
// A file that cannot be opened or read fails with its input/output message.
bool scanOrderFile(const QString& path, RunLog& log);
