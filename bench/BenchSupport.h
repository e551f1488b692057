#pragma once

#include "Connection.h"
#include "FirebirdClient.h"
#include "FirebirdFixture.h"
#include "Transaction.h"

#include <functional>

// The process's resident memory now, and its peak so far, in kilobytes; -1 when unknown.
long residentKilobytes();
long peakResidentKilobytes();

// Runs the measurement in a process of its own, so that one measurement's peak memory
// cannot hide another's; answers the process's exit status.
int runApart(const std::function<void()>& measurement);

// The program's two connections and their transaction, open on the fixture's databases
// and released in the program's order.
struct OpenDatabases {
    explicit OpenDatabases(const FirebirdFixture& databases);

    FirebirdClient client;
    Transaction TR{client};
    Connection BasePedidos{client, TR};
    Connection BaseADM{client, TR};
};
