#pragma once

#include "XmlPaths.h"

#include <libxml/tree.h>

#include <vector>

// The rules of a transformation file: `SelectEach` makes one destination row per source
// element, `Select` copies a source element's text into the current destination row.
class TransformRules {
public:
    // Reads the rules among the child nodes of the `Transform` element; other nodes are ignored.
    static TransformRules fromTransformElement(const xmlNode* transform);

    // Fills the destination document, starting at its root, from the source root element.
    void apply(xmlNode* sourceRoot, xmlNode* destinationRoot) const;

private:
    enum class Kind { Select, SelectEach };
    struct Rule {
        Kind kind;
        PathPieces from;
        PathPieces dest;
        std::vector<Rule> children;
    };
    class Application;

    static std::vector<Rule> readRules(const xmlNode* parent);

    std::vector<Rule> rules_;
};
