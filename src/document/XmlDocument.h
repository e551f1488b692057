#pragma once

#include <QByteArray>
#include <QString>

#include <libxml/tree.h>

#include <memory>

struct XmlDocumentDeleter {
    void operator()(xmlDoc* document) const noexcept { xmlFreeDoc(document); }
};
using XmlDocumentPtr = std::unique_ptr<xmlDoc, XmlDocumentDeleter>;

struct XmlNodeDeleter {
    void operator()(xmlNode* node) const noexcept { xmlFreeNode(node); }
};
using XmlNodePtr = std::unique_ptr<xmlNode, XmlNodeDeleter>;

// "XML Parse Error:", the reason and, when the line is above 0, its line and position,
// separated by line feed and carriage return.
QString xmlParseErrorMessage(const QString& reason, int line, int column);

// Reads and parses an XML file. Nothing is validated and nothing outside the file is
// read: no network, no external DTD, no external entity (their declarations are
// ignored, so a reference to one is an undefined entity); internal entities are
// substituted within the parser's amplification limits; white-space-only text nodes
// are dropped. A file that cannot be read or parsed, or in which the parser reports
// any error (an entity reference it does not substitute, a text above its size
// limit), fails with the parse-error message of the first error.
XmlDocumentPtr loadXmlFile(const QString& path);

// The same for XML text held in memory.
XmlDocumentPtr parseXmlText(const QByteArray& text);
