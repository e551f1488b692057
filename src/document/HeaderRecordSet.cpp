#include "HeaderRecordSet.h"

#include "Error.h"
#include "OrderDocumentReader.h"

#include <algorithm>

namespace {

QString kindName(FieldKind kind)
{
    return kind == FieldKind::Nested ? QStringLiteral("DataSet") : QStringLiteral("String");
}

// The declared fields, each taking where the packet stores it and, when nested, the packet's nested layout.
std::vector<FieldDefinition> bindFields(const std::vector<FieldDefinition>& declared,
                                        const std::vector<FieldDefinition>& packetFields)
{
    std::vector<FieldDefinition> bound = declared;
    for (FieldDefinition& field : bound) {
        const auto match = std::find_if(packetFields.begin(), packetFields.end(),
                                        [&field](const FieldDefinition& candidate) { return candidate.name == field.name; });
        if (match == packetFields.end())
            throw Error(QStringLiteral("Field '%1' not found").arg(field.name));
        if (match->kind != field.kind) {
            throw Error(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                            .arg(field.name, kindName(field.kind), kindName(match->kind)));
        }
        field.storageIndex = match->storageIndex;
        field.nestedFields = match->nestedFields;
    }
    return bound;
}

FieldDefinition textField(const char* name, int width)
{
    return {QString::fromLatin1(name), FieldKind::Text, width, -1, {}};
}

} // namespace

HeaderRecordSet::HeaderRecordSet(const OrderDocumentReader& provider, std::vector<FieldDefinition> declaredFields,
                                 QObject* parent)
    : RecordSet(parent)
    , provider_(provider)
    , declaredFields_(std::move(declaredFields))
    , boundFields_(declaredFields_)
{
    show(&boundFields_, nullptr, nullptr);
}

HeaderRecordSet::~HeaderRecordSet() = default;

void HeaderRecordSet::open()
{
    if (active())
        return;
    auto packet = std::make_unique<const DataPacket>(provider_.dataPacket());
    boundFields_ = bindFields(declaredFields_, packet->fields());
    packet_ = std::move(packet);
    show(&boundFields_, packet_.get(), &packet_->records());
}

void HeaderRecordSet::close()
{
    boundFields_ = declaredFields_;
    show(&boundFields_, nullptr, nullptr);
    packet_.reset();
}

std::vector<FieldDefinition> tarveloHeaderFields()
{
    return {textField("versao", 5), textField("nome", 14), textField("cnpj", 18),
            {QStringLiteral("pedido"), FieldKind::Nested, 0, -1, {}}};
}
