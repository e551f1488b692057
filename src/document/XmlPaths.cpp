#include "XmlPaths.h"

#include "XmlNodes.h"

#include <QList>

#include <new>
#include <span>

namespace {

std::span<const QByteArray> withoutContextName(const xmlNode* context, const PathPieces& pieces)
{
    std::span<const QByteArray> rest(pieces);
    if (!rest.empty() && isElementNamed(context, rest.front().constData()))
        rest = rest.subspan(1);
    return rest;
}

xmlNode* descend(xmlNode* element, std::span<const QByteArray> pieces)
{
    if (pieces.empty())
        return element;
    for (xmlNode* child = element->children; child != nullptr; child = child->next) {
        if (!isElementNamed(child, pieces.front().constData()))
            continue;
        if (xmlNode* found = descend(child, pieces.subspan(1)))
            return found;
    }
    return nullptr;
}

} // namespace

PathPieces splitPath(const QByteArray& path)
{
    PathPieces pieces;
    for (const QByteArray& piece : path.split('\\')) {
        if (!piece.isEmpty())
            pieces.push_back(piece);
    }
    return pieces;
}

xmlNode* resolveSourcePath(xmlNode* context, const PathPieces& pieces)
{
    return descend(context, withoutContextName(context, pieces));
}

DestinationTarget resolveDestinationPath(xmlNode* context, const PathPieces& pieces)
{
    DestinationTarget target{context, nullptr};
    for (const QByteArray& piece : withoutContextName(context, pieces)) {
        if (piece.startsWith('@')) {
            target.attribute = piece.constData() + 1;
            continue;
        }
        xmlNode* child = firstChildElement(target.element, piece.constData());
        if (child == nullptr) {
            child = xmlNewDocNode(target.element->doc, nullptr, reinterpret_cast<const xmlChar*>(piece.constData()),
                                  nullptr);
            if (child == nullptr)
                throw std::bad_alloc();
            xmlAddChild(target.element, child);
        }
        target.element = child;
    }
    return target;
}
