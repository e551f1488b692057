#pragma once

// Exit statuses of a program started with "/executa", for whoever started it.
enum ExitStatus : int {
    kExitCompleted = 0,
    kExitWindowNotCreated = 1,
    kExitNoDatabaseConnection = 2,
    kExitRunFailed = 3,
    kExitAnotherRunInProgress = 4,
    kExitDownloadFailed = 5,   // every order read is recorded, but the service could not be reached
};

// The system asked the program to end with this signal: 128 and the signal's number,
// as a shell reports a program that a signal ended.
int exitStatusOfSignal(int signal);

// Of the statuses of two runs, the one a scheduler must see: an ended program over a
// failed run, a failed run over a missing database, that over a failed download, that
// over a run that found another in progress, and any of them over a completed run.
int worseExitStatus(int first, int second);
