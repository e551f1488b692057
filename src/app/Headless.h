#pragma once

#include <QString>
#include <QTemporaryDir>

#include <optional>

// An unattended run ("/executa") on a machine without a display: the program
// shows no window and nobody can answer one, so it runs on the offscreen
// platform, echoes the log pane to standard output and reports by exit status.

// Prepares the process before the application object exists, and lives as long as it.
// With "/executa", no platform asked for and no display, it chooses the offscreen
// platform. A headless run started without a runtime directory (by a system service
// or a scheduler) gets a private one for the life of the process: the window toolkit
// looks into that directory at start and would otherwise warn on standard error,
// which is kept for failures.
class HeadlessEnvironment {
public:
    HeadlessEnvironment(int argc, char** argv);

private:
    std::optional<QTemporaryDir> runtimeDirectory_;
};

// After the application object exists: true for an unattended run on a
// platform that shows nothing.
bool isHeadlessRun(int argc, char** argv);

// The log pane's lines, as they reach the pane, for whoever started the program. They
// wait in the standard output's buffer until flushStandardOutput(), which the program calls
// wherever it processes events, or until the program ends (a requested end too: the program
// then returns from main, and the C library writes the buffer out): one write per batch of
// lines, not one per line.
void writeToStandardOutput(const QString& lines);
void flushStandardOutput();
// A message that a window would have shown in a box; the lines written before it go out
// first, so that the two streams read in the order things happened.
void writeToStandardError(const QString& message);
