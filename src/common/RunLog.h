#pragma once

#include <QString>

// The log pane as every part of a run sees it.
class RunLog {
public:
    // Appends the message with the current time stamp, then lets pending events run.
    virtual void log(const QString& message) = 0;
    // Appends the line as it is: no time stamp, no event processing.
    virtual void appendRaw(const QString& line) = 0;
    // Lets the window handle its pending events (repaint, input).
    virtual void processEvents() = 0;

protected:
    ~RunLog() = default;
};
