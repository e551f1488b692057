#include "OrderDocumentReader.h"

#include "Error.h"
#include "Numbers.h"
#include "PacketReader.h"
#include "TransformRules.h"
#include "XmlDocument.h"
#include "XmlNodes.h"

#include <new>

namespace {

// The major version, the text before the first ".", must be at least 1 when given.
void checkVersion(const xmlNode* root)
{
    const QString version = QString::fromUtf8(attributeValue(root, "Version"));
    if (!version.isEmpty() && parseInteger(version.section(u'.', 0, 0)) < 1)
        throw Error(QStringLiteral("Version of Transformation File not supported"));
}

// The skeleton's first child is the packet template: XML text in a CDATA section, or an element to copy.
XmlDocumentPtr destinationDocument(const xmlNode* skeleton)
{
    const xmlNode* templateNode = skeleton != nullptr ? skeleton->children : nullptr;
    if (templateNode != nullptr && templateNode->type == XML_CDATA_SECTION_NODE)
        return parseXmlText(QByteArray(reinterpret_cast<const char*>(templateNode->content)));
    if (templateNode == nullptr || templateNode->type != XML_ELEMENT_NODE)
        throw Error(QString::fromLatin1(kMissingDataPacket));
    XmlDocumentPtr document(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
    xmlNode* root = document ? xmlDocCopyNode(const_cast<xmlNode*>(templateNode), document.get(), 1) : nullptr;
    if (root == nullptr)
        throw std::bad_alloc();
    xmlDocSetRootElement(document.get(), root);
    return document;
}

// The filled packet document; the order document and the transformation are released on return.
XmlDocumentPtr transformedDocument(const QString& xmlDataFile, const QString& transformationFile)
{
    const XmlDocumentPtr source = loadXmlFile(xmlDataFile);
    const XmlDocumentPtr transformation = loadXmlFile(transformationFile);
    const xmlNode* transformationRoot = xmlDocGetRootElement(transformation.get());
    checkVersion(transformationRoot);
    XmlDocumentPtr destination = destinationDocument(firstChildElement(transformationRoot, "Skeleton"));
    if (const xmlNode* transform = firstChildElement(transformationRoot, "Transform")) {
        TransformRules::fromTransformElement(transform)
            .apply(xmlDocGetRootElement(source.get()), xmlDocGetRootElement(destination.get()));
    }
    return destination;
}

} // namespace

DataPacket OrderDocumentReader::dataPacket() const
{
    return readDataPacket(transformedDocument(xmlDataFile_, transformationFile_).get());
}
