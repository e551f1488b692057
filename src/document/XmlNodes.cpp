#include "XmlNodes.h"

namespace {

void appendText(const xmlNode* element, QByteArray& text)
{
    for (const xmlNode* child = element->children; child != nullptr; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
            text += reinterpret_cast<const char*>(child->content);
        else if (child->type == XML_ELEMENT_NODE)
            appendText(child, text);
    }
}

} // namespace

bool isElementNamed(const xmlNode* node, const char* localName)
{
    return node->type == XML_ELEMENT_NODE && qstrcmp(reinterpret_cast<const char*>(node->name), localName) == 0;
}

xmlNode* firstChildElement(const xmlNode* parent, const char* localName)
{
    for (xmlNode* child = parent->children; child != nullptr; child = child->next) {
        if (isElementNamed(child, localName))
            return child;
    }
    return nullptr;
}

QByteArray attributeValue(const xmlNode* element, const char* name)
{
    xmlChar* value = xmlGetProp(element, reinterpret_cast<const xmlChar*>(name));
    const QByteArray text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

QByteArray elementText(const xmlNode* element)
{
    QByteArray text;
    appendText(element, text);
    return std::move(text).trimmed();
}
