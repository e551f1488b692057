#pragma once

#include "RunLog.h"

#include <QStringList>

// A log pane that keeps what reaches it, in order: "log:" and "raw:" lines and
// "events" for each processing of pending events.
class RecordingRunLog final : public RunLog {
public:
    void log(const QString& message) override { entries << QStringLiteral("log:") + message; }
    void appendRaw(const QString& line) override { entries << QStringLiteral("raw:") + line; }
    void processEvents() override { entries << QStringLiteral("events"); }

    QStringList entries;
};
