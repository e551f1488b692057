#pragma once

#include <QByteArray>

#include <libxml/tree.h>

#include <vector>

// A path of the transformation rules: names separated by "\", empty pieces dropped.
using PathPieces = std::vector<QByteArray>;
PathPieces splitPath(const QByteArray& path);

// The element a source path selects at the context element, or null. A first piece equal
// to the context's local name stands for the context itself; each further piece goes down
// to child elements of that local name (case-sensitive), and the first candidate under
// which the rest of the path resolves wins.
xmlNode* resolveSourcePath(xmlNode* context, const PathPieces& pieces);

// Where a destination path leads from the context element: down to the first child
// element of each name, created when missing; a piece "@name" names the attribute to write.
struct DestinationTarget {
    xmlNode* element;
    const char* attribute; // the name after "@"; null when the path names no attribute
};
DestinationTarget resolveDestinationPath(xmlNode* context, const PathPieces& pieces);
