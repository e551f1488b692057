#pragma once

#include "RunHost.h"

// A run host that nobody watches: the window's part of a run, at no cost, counting the
// lines the run logs.
class SilentHost final : public RunHost {
public:
    SilentHost(QString backOffice, QString orders, QString orderFile)
        : backOffice_(std::move(backOffice))
        , orders_(std::move(orders))
        , orderFile_(std::move(orderFile))
    {
    }
    void log(const QString&) override { ++lines; }
    void appendRaw(const QString&) override { ++lines; }
    void processEvents() override {}
    QString backOfficeLocation() const override { return backOffice_; }
    QString ordersLocation() const override { return orders_; }
    QString orderFilePath() const override { return orderFile_; }
    void bindOrderGrids(RecordSet&, RecordSet&) override {}
    bool unattended() const override { return false; }
    void requestQuit() override {}
    void reportFailure(const QString& line) override { log(line); }
    bool stopRequested() override { return false; }

    long lines = 0;

private:
    QString backOffice_;
    QString orders_;
    QString orderFile_;
};
