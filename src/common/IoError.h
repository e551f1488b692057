#pragma once

#include <QString>

// File operations report failures with a message chosen by an error number:
// 2 "File not found", 3 "Invalid filename", 4 "Too many open files",
// 5 "File access denied", 100 "Read beyond end of file", 101 "Disk full",
// 106 "Invalid numeric input", any other number "I/O error %d".
QString ioErrorMessage(int code);

// The message for a failure the system reported with errno: the common causes
// (missing file, bad path, no rights, full disk) get the message of their number
// above; any other cause reads "I/O error %d" with the errno.
QString systemIoErrorMessage(int posixErrno);

// Error number of a write to a file that could not be opened.
inline constexpr int kFileNotOpenForOutput = 103;
