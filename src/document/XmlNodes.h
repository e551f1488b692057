#pragma once

#include <QByteArray>

#include <libxml/tree.h>

// Element names are compared without their namespace prefix and case-sensitively.
bool isElementNamed(const xmlNode* node, const char* localName);

// The first child element with that local name, or null.
xmlNode* firstChildElement(const xmlNode* parent, const char* localName);

// The attribute's value; empty when the element has no such attribute.
QByteArray attributeValue(const xmlNode* element, const char* name);

// The character data of the element's text and CDATA descendants in document order,
// without leading and trailing white space.
QByteArray elementText(const xmlNode* element);
