#pragma once

#include <QString>

// An unattended run ("/executa") on a machine without a display: the program
// shows no window and nobody can answer one, so it runs on the offscreen
// platform, echoes the log pane to standard output and reports by exit status.

// Before the application object exists: chooses the offscreen platform when
// "/executa" is given, no platform was asked for and no display is available.
void chooseOffscreenPlatformWhenHeadless(int argc, char** argv);

// After the application object exists: true for an unattended run on a
// platform that shows nothing.
bool isHeadlessRun(int argc, char** argv);

// The log pane's lines, as they reach the pane, for whoever started the program.
void writeToStandardOutput(const QString& lines);
// A message that a window would have shown in a box.
void writeToStandardError(const QString& message);
