#pragma once

#include "ChildProcess.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

// An X display of its own in memory (Xvfb) for as long as the object lives, on the
// first free display number.
class VirtualDisplay {
public:
    VirtualDisplay();

    // ":N", for DISPLAY; empty when the server could not start.
    const QString& name() const { return name_; }

private:
    QTemporaryDir folder_;
    std::unique_ptr<ChildProcess> server_;
    QString name_;
};
