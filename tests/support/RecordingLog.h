#pragma once

#include "RunLog.h"

#include <QStringList>

// A run log that keeps every message as it was given, for exact expectations.
class RecordingLog final : public RunLog {
public:
    void log(const QString& message) override { messages << message; }
    void appendRaw(const QString& line) override { rawLines << line; }
    void processEvents() override {}

    QStringList messages;
    QStringList rawLines;
};
