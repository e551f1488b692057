#pragma once

#include <functional>

// The process's peak resident memory so far, in kilobytes; -1 when unknown.
long peakResidentKilobytes();

// Runs the measurement in a process of its own, so that one measurement's peak memory
// cannot hide another's; answers the process's exit status.
int runApart(const std::function<void()>& measurement);
