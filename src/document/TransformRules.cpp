#include "TransformRules.h"

#include "XmlDocument.h"
#include "XmlNodes.h"

#include <new>

namespace {

// Elements iterate by their node name: local name and prefix alike.
bool sameNodeName(const xmlNode* node, const xmlNode* first)
{
    if (node->type != XML_ELEMENT_NODE || !xmlStrEqual(node->name, first->name))
        return false;
    const xmlChar* prefix = node->ns != nullptr ? node->ns->prefix : nullptr;
    const xmlChar* firstPrefix = first->ns != nullptr ? first->ns->prefix : nullptr;
    return xmlStrEqual(prefix, firstPrefix);
}

xmlNode* nextRowSource(xmlNode* source, const xmlNode* first)
{
    for (xmlNode* sibling = source->next; sibling != nullptr; sibling = sibling->next) {
        if (sameNodeName(sibling, first))
            return sibling;
    }
    return nullptr;
}

XmlNodePtr copyNode(const xmlNode* node)
{
    XmlNodePtr copy(xmlDocCopyNode(const_cast<xmlNode*>(node), node->doc, 1));
    if (!copy)
        throw std::bad_alloc();
    return copy;
}

} // namespace

// One application of the rules; keeps the row elements it removed alive until it ends,
// because an enclosing rule may still be standing on one of them.
class TransformRules::Application {
public:
    void applyAll(const std::vector<Rule>& rules, xmlNode* source, xmlNode* destination)
    {
        for (const Rule& rule : rules) {
            if (rule.kind == Kind::Select)
                select(rule, source, destination);
            else
                selectEach(rule, source, destination);
        }
    }

private:
    static void select(const Rule& rule, xmlNode* source, xmlNode* destination)
    {
        const xmlNode* found = resolveSourcePath(source, rule.from);
        const QByteArray value = found != nullptr ? elementText(found) : QByteArray();
        const DestinationTarget target = resolveDestinationPath(destination, rule.dest);
        const auto* text = reinterpret_cast<const xmlChar*>(value.constData());
        if (target.attribute != nullptr) {
            if (xmlSetNsProp(target.element, nullptr, reinterpret_cast<const xmlChar*>(target.attribute), text) == nullptr)
                throw std::bad_alloc();
        } else {
            xmlAddChild(target.element, xmlNewDocText(target.element->doc, text));
        }
    }

    void selectEach(const Rule& rule, xmlNode* source, xmlNode* destination)
    {
        xmlNode* rowSource = resolveSourcePath(source, rule.from);
        xmlNode* row = resolveDestinationPath(destination, rule.dest).element;
        if (rowSource == nullptr) {
            remove(row);
            return;
        }
        const xmlNode* firstSource = rowSource;
        const XmlNodePtr emptyRow = copyNode(row);
        while (true) {
            applyAll(rule.children, rowSource, row);
            rowSource = nextRowSource(rowSource, firstSource);
            if (rowSource == nullptr || row->parent == nullptr || row->parent->type != XML_ELEMENT_NODE)
                return;
            XmlNodePtr nextRow = copyNode(emptyRow.get());
            row = xmlAddChild(row->parent, nextRow.release());
        }
    }

    // A row without a parent has been removed already: sibling rules that stand on the
    // same row may each find no source.
    void remove(xmlNode* row)
    {
        if (row->parent == nullptr)
            return;
        xmlUnlinkNode(row);
        removed_.emplace_back(row);
    }

    std::vector<XmlNodePtr> removed_;
};

TransformRules TransformRules::fromTransformElement(const xmlNode* transform)
{
    TransformRules rules;
    rules.rules_ = readRules(transform);
    return rules;
}

std::vector<TransformRules::Rule> TransformRules::readRules(const xmlNode* parent)
{
    std::vector<Rule> rules;
    for (const xmlNode* node = parent->children; node != nullptr; node = node->next) {
        const bool each = isElementNamed(node, "SelectEach");
        if (!each && !isElementNamed(node, "Select"))
            continue;
        rules.push_back({each ? Kind::SelectEach : Kind::Select, splitPath(attributeValue(node, "from")),
                         splitPath(attributeValue(node, "dest")), each ? readRules(node) : std::vector<Rule>()});
    }
    return rules;
}

void TransformRules::apply(xmlNode* sourceRoot, xmlNode* destinationRoot) const
{
    Application().applyAll(rules_, sourceRoot, destinationRoot);
}
