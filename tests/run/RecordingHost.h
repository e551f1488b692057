#pragma once

#include "RunHost.h"

#include <QStringList>

// A run host without a window: it keeps the pane's lines in order (stamped lines
// marked with a leading "@ ", raw lines as they are) and plays the three edit boxes.
class RecordingHost final : public RunHost {
public:
    void log(const QString& message) override { lines += QStringLiteral("@ ") + message; }
    void appendRaw(const QString& line) override { lines += line; }
    void processEvents() override { ++eventRounds; }
    QString backOfficeLocation() const override { return backOffice; }
    QString ordersLocation() const override { return orders; }
    QString orderFilePath() const override { return orderFile; }
    void bindOrderGrids(RecordSet& orderRows, RecordSet& itemRows) override
    {
        boundOrders = &orderRows;
        boundItems = &itemRows;
    }
    bool unattended() const override { return unattendedMode; }
    void requestQuit() override { ++quitRequests; }
    void reportFailure(const QString& line) override
    {
        log(line);
        failures += line;
    }
    // Plays a request to end the program that arrives with the given line.
    bool stopRequested() override { return !stopWith.isEmpty() && lines.contains(stopWith); }

    QStringList lines;
    QStringList failures;
    int eventRounds = 0;
    int quitRequests = 0;
    QString backOffice;
    QString orders;
    QString orderFile;
    bool unattendedMode = false;
    QString stopWith;
    RecordSet* boundOrders = nullptr;
    RecordSet* boundItems = nullptr;
};
