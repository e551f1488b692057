#pragma once

#include "DataPacket.h"

#include <libxml/tree.h>

// Reads the data packet document: the field layout from its first METADATA, the rows from
// its first ROWDATA (nested rows from each row's child element named after the nested
// field). A document without them fails with "Missing data provider or data packet".
DataPacket readDataPacket(xmlDoc* packet);

// The message of a transformation that yields no usable data packet.
inline constexpr const char* kMissingDataPacket = "Missing data provider or data packet";
