#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

enum class FieldKind { Text, Nested };

struct FieldDefinition {
    QString name;
    FieldKind kind = FieldKind::Text;
    int width = 0;         // text fields: the declared number of characters, the grid's default column width
    int storageIndex = -1; // the field's place among the text or the nested fields of a record; -1 when unbound
    std::vector<FieldDefinition> nestedFields;
};

// Where a text value lies in the packet's value store.
struct TextSpan {
    qsizetype start = 0;
    qsizetype size = 0;
};

// The records of one level that belong to one parent record (or to the packet itself),
// their text values and nested tables kept record after record, so that a whole level
// costs a few allocations rather than several per value.
struct RecordTable {
    qsizetype count = 0;
    int textFieldCount = 0;
    int nestedFieldCount = 0;
    std::vector<TextSpan> texts;
    std::vector<RecordTable> nested;

    const TextSpan& text(qsizetype record, int storageIndex) const
    {
        return texts[static_cast<size_t>(record * textFieldCount + storageIndex)];
    }
    const RecordTable& nestedTable(qsizetype record, int storageIndex) const
    {
        return nested[static_cast<size_t>(record * nestedFieldCount + storageIndex)];
    }
};

// The rows a transformation produced, with the layout of their fields.
class DataPacket {
public:
    DataPacket(std::vector<FieldDefinition> fields, RecordTable records, QByteArray values)
        : fields_(std::move(fields))
        , records_(std::move(records))
        , values_(std::move(values))
    {
    }

    const std::vector<FieldDefinition>& fields() const { return fields_; }
    const RecordTable& records() const { return records_; }
    QString text(const TextSpan& span) const { return QString::fromUtf8(values_.constData() + span.start, span.size); }

private:
    std::vector<FieldDefinition> fields_;
    RecordTable records_;
    QByteArray values_; // every text value, UTF-8, one after the other
};
