#include "PacketReader.h"

#include "Error.h"
#include "Numbers.h"
#include "XmlNodes.h"

#include <memory>

namespace {

// The fields of one level with their names as the packet spells them, for matching attributes.
struct Layout {
    struct Text {
        QByteArray name;
        int storageIndex;
    };
    struct Nested {
        QByteArray name;
        int storageIndex;
        std::unique_ptr<Layout> rows;
    };
    std::vector<Text> texts;
    std::vector<Nested> nested;
};

void appendAttributeText(const xmlAttr* attribute, QByteArray& text)
{
    for (const xmlNode* part = attribute->children; part != nullptr; part = part->next) {
        if (part->content != nullptr)
            text += reinterpret_cast<const char*>(part->content);
    }
}

std::vector<FieldDefinition> readFields(const xmlNode* list, Layout& layout)
{
    std::vector<FieldDefinition> fields;
    if (list == nullptr)
        return fields;
    for (const xmlNode* node = list->children; node != nullptr; node = node->next) {
        if (!isElementNamed(node, "FIELD"))
            continue;
        FieldDefinition field;
        const QByteArray name = attributeValue(node, "attrname");
        field.name = QString::fromUtf8(name);
        if (attributeValue(node, "fieldtype") == "nested") {
            field.kind = FieldKind::Nested;
            field.storageIndex = static_cast<int>(layout.nested.size());
            layout.nested.push_back({name, field.storageIndex, std::make_unique<Layout>()});
            field.nestedFields = readFields(firstChildElement(node, "FIELDS"), *layout.nested.back().rows);
        } else {
            field.width = tryParseInteger(QString::fromUtf8(attributeValue(node, "WIDTH"))).value_or(0);
            field.storageIndex = static_cast<int>(layout.texts.size());
            layout.texts.push_back({name, field.storageIndex});
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

qsizetype countElements(const xmlNode* parent)
{
    qsizetype count = 0;
    for (const xmlNode* child = parent->children; child != nullptr; child = child->next)
        count += child->type == XML_ELEMENT_NODE ? 1 : 0;
    return count;
}

// The records of every child element of the container; their values are appended to the store.
RecordTable readRecords(const xmlNode* container, const Layout& layout, QByteArray& values)
{
    RecordTable table;
    table.count = countElements(container);
    table.textFieldCount = static_cast<int>(layout.texts.size());
    table.nestedFieldCount = static_cast<int>(layout.nested.size());
    table.texts.resize(static_cast<size_t>(table.count * table.textFieldCount));
    table.nested.resize(static_cast<size_t>(table.count * table.nestedFieldCount));
    qsizetype record = 0;
    for (const xmlNode* row = container->children; row != nullptr; row = row->next) {
        if (row->type != XML_ELEMENT_NODE)
            continue;
        for (const xmlAttr* attribute = row->properties; attribute != nullptr; attribute = attribute->next) {
            for (const Layout::Text& text : layout.texts) {
                if (text.name == reinterpret_cast<const char*>(attribute->name)) {
                    const qsizetype start = values.size();
                    appendAttributeText(attribute, values);
                    table.texts[static_cast<size_t>(record * table.textFieldCount + text.storageIndex)] =
                        {start, values.size() - start};
                    break;
                }
            }
        }
        for (const Layout::Nested& nested : layout.nested) {
            if (const xmlNode* rows = firstChildElement(row, nested.name.constData())) {
                table.nested[static_cast<size_t>(record * table.nestedFieldCount + nested.storageIndex)] =
                    readRecords(rows, *nested.rows, values);
            }
        }
        ++record;
    }
    return table;
}

} // namespace

DataPacket readDataPacket(xmlDoc* packet)
{
    const xmlNode* root = xmlDocGetRootElement(packet);
    const xmlNode* metadata = root != nullptr ? firstChildElement(root, "METADATA") : nullptr;
    const xmlNode* rowData = root != nullptr ? firstChildElement(root, "ROWDATA") : nullptr;
    if (metadata == nullptr || rowData == nullptr)
        throw Error(QString::fromLatin1(kMissingDataPacket));
    Layout layout;
    std::vector<FieldDefinition> fields = readFields(firstChildElement(metadata, "FIELDS"), layout);
    QByteArray values;
    RecordTable records = readRecords(rowData, layout, values);
    return DataPacket(std::move(fields), std::move(records), std::move(values));
}
