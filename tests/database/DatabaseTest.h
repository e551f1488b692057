#pragma once

#include "Connection.h"
#include "FirebirdClient.h"
#include "FirebirdFixture.h"
#include "RecordingLog.h"
#include "Regional.h"
#include "Transaction.h"

#include <gtest/gtest.h>

// Fresh back-office and orders databases, and the program's connections and transaction
// over them, declared in the order the main window creates them so that they are
// released as at program end.
class DatabaseTest : public testing::Test {
protected:
    void openBoth()
    {
        BaseADM.setLocation(databases.backOfficePath());
        BaseADM.open();
        BasePedidos.setLocation(databases.ordersPath());
        BasePedidos.open();
    }

    FirebirdFixture databases;
    FirebirdClient client;
    Transaction TR{client};
    Connection BasePedidos{client, TR};
    Connection BaseADM{client, TR};
    RecordingLog log;
    RegionalSettings regional = brazilianSettings();
};
