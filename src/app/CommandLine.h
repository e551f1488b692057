#pragma once

#include <QStringList>

#include <functional>

// Calls run once for every argument that is exactly "/executa" (whole text,
// case-sensitive), in order, and stops early when run answers false.
void forEachUnattendedSwitch(const QStringList& arguments, const std::function<bool()>& run);
