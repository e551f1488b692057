#pragma once

#include "RegionalSettings.h"

#include <QString>

#include <cstdint>

class Connection;
class RunLog;

// The ST rate of a product for a sale from one state to another and the customer's tax
// class, as a fraction: the back-office's ICMS factors give the rate in percent, which
// is divided by 100. No matching row gives 0. Every call logs its inputs and answer.
double calculast(const QString& originUf, const QString& destinationUf, std::int32_t productCode,
                 std::int32_t enquadramento, Connection& baseADM, RunLog& log, const RegionalSettings& regional);
