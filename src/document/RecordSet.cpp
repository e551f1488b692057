#include "RecordSet.h"

#include "Error.h"

namespace {

const std::vector<FieldDefinition> kNoFields;

} // namespace

RecordSet::RecordSet(QObject* parent)
    : QObject(parent)
    , fields_(&kNoFields)
{
}

RecordSet::~RecordSet() = default;

int RecordSet::fieldCount() const
{
    return static_cast<int>(fields_->size());
}

const FieldDefinition& RecordSet::fieldDefinition(int position) const
{
    checkPosition(position);
    return (*fields_)[position];
}

qsizetype RecordSet::recordCount() const
{
    return records_ != nullptr ? records_->count : 0;
}

qsizetype RecordSet::currentIndex() const
{
    return recordCount() > 0 ? current_ : -1;
}

void RecordSet::first()
{
    eof_ = recordCount() == 0;
    setCurrent(0);
}

void RecordSet::next()
{
    if (current_ + 1 < recordCount())
        setCurrent(current_ + 1);
    else
        eof_ = true;
}

void RecordSet::moveTo(qsizetype index)
{
    if (index < 0 || index >= recordCount())
        return;
    eof_ = false;
    setCurrent(index);
}

bool RecordSet::eof() const
{
    return eof_;
}

FieldValue RecordSet::field(int position) const
{
    checkPosition(position);
    return FieldValue(currentIndex() >= 0 ? text(current_, position) : QString());
}

QString RecordSet::text(qsizetype recordIndex, int position) const
{
    const FieldDefinition& field = fieldDefinition(position);
    if (field.kind != FieldKind::Text || field.storageIndex < 0 || recordIndex < 0 || recordIndex >= recordCount())
        return {};
    return packet_->text(records_->text(recordIndex, field.storageIndex));
}

RecordSet& RecordSet::nestedRecordSet(int position)
{
    const FieldDefinition& field = fieldDefinition(position);
    if (field.kind != FieldKind::Nested)
        throw Error(QStringLiteral("Field '%1' is not a nested record set").arg(field.name));
    std::unique_ptr<RecordSet>& nested = nested_[position];
    if (!nested) {
        nested = std::make_unique<RecordSet>();
        showNested(position, *nested);
    }
    return *nested;
}

void RecordSet::show(const std::vector<FieldDefinition>* fields, const DataPacket* packet, const RecordTable* records)
{
    fields_ = fields;
    packet_ = packet;
    records_ = records;
    current_ = 0;
    eof_ = recordCount() == 0;
    for (const auto& [position, nested] : nested_)
        showNested(position, *nested);
    emit contentReset();
}

void RecordSet::checkPosition(int position) const
{
    if (position < 0 || position >= fieldCount())
        throw Error(QStringLiteral("List index out of bounds (%1)").arg(position));
}

void RecordSet::setCurrent(qsizetype index)
{
    if (index == current_)
        return;
    current_ = index;
    for (const auto& [position, nested] : nested_)
        showNested(position, *nested);
    emit currentChanged();
}

void RecordSet::showNested(int position, RecordSet& nested) const
{
    if (position >= fieldCount() || (*fields_)[position].kind != FieldKind::Nested) {
        nested.show(&kNoFields, nullptr, nullptr);
        return;
    }
    const FieldDefinition& field = (*fields_)[position];
    const bool hasRecords = currentIndex() >= 0 && field.storageIndex >= 0;
    nested.show(&field.nestedFields, packet_, hasRecords ? &records_->nestedTable(current_, field.storageIndex) : nullptr);
}
