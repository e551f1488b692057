#pragma once

#include "FileDescriptor.h"

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// SIGTERM, SIGINT and SIGHUP as events of the message loop. The program then ends
// between two orders, never inside one, whatever handlers the libraries it loads
// install for these signals: the signals are blocked in every thread and read here.
class TerminationSignals final : public QObject {
    Q_OBJECT

public:
    // Call first thing in main, before any thread exists: threads inherit the block.
    static void blockInEveryThread();

    // Delivers the blocked signals; while no such object lives they stay pending.
    explicit TerminationSignals(QObject* parent = nullptr);

    // Delivers at once the signals that arrived since the event loop last looked: a
    // signal that came during a long database call is seen before the next order.
    void deliverPending();

signals:
    void received(int signal);

private:
    FileDescriptor descriptor_;
    std::unique_ptr<QSocketNotifier> notifier_;   // goes before the descriptor it watches
};
