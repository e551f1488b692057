#pragma once

#include <QString>

#include <functional>

class RunHost;

// What a failure inside a run does. In the window it ends the run and reaches the
// operator's error box, with the grids on the failing order. Unattended, nobody would
// answer a box: the failure is reported with its subject and the run goes on with the
// next order and the next document, the report beginning with the subject (asked for
// only then). True when the step succeeded.
bool attempt(RunHost& host, const std::function<QString()>& subject, const std::function<void()>& step);
