#pragma once

#include <QString>

#include <optional>

// "--help" and "--version": what they print, and whether the command line asks for
// one of them. Both are answered before anything else starts, so they need neither a
// display nor the database client library.

// How to start the program and what its exit statuses mean.
QString usageText();

// The program's name and version on one line.
QString versionText();

// The text the first "--help" or "--version" argument asks for (whole argument,
// case-sensitive); nothing when there is neither, and the program starts as usual.
std::optional<QString> requestedInformation(int argc, char** argv);
