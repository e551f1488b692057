#pragma once

#include "RunLog.h"

#include <QString>

class RecordSet;

// What an import run needs from the window that starts it. The window implements
// it; tests drive runs through a recording implementation.
class RunHost : public RunLog {
public:
    virtual QString backOfficeLocation() const = 0;   // EdtBaseKelmora, as typed
    virtual QString ordersLocation() const = 0;       // EdtBasePedidos, as typed
    virtual QString orderFilePath() const = 0;        // EdtArquivo, as typed
    // Shows the orders of the current header row and the items of the current order.
    virtual void bindOrderGrids(RecordSet& orders, RecordSet& items) = 0;
    // True when the program was started with "/executa".
    virtual bool unattended() const = 0;
    // Ends the program once control returns to the message loop.
    virtual void requestQuit() = 0;
    // A failure the run reports and goes on after: a log line of its own and, where
    // nobody reads the window, the place a scheduler reads failures.
    virtual void reportFailure(const QString& line) = 0;
    // True once the system has asked the program to end: the run stops before its next
    // order, never inside one.
    virtual bool stopRequested() = 0;

protected:
    ~RunHost() = default;
};
