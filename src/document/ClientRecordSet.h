#pragma once

#include "DataPacket.h"
#include "RecordSet.h"

#include <memory>

class XmlTransformProvider;

// A record set with declared fields that takes all its records from a provider at once.
// While closed it shows the declared fields and no record.
class ClientRecordSet final : public RecordSet {
    Q_OBJECT

public:
    ClientRecordSet(const XmlTransformProvider& provider, std::vector<FieldDefinition> declaredFields,
                    QObject* parent = nullptr);
    ~ClientRecordSet() override;

    bool active() const { return packet_ != nullptr; }

    // Loads the provider's packet and stands on the first record; does nothing when open.
    // A failure leaves the record set closed. A declared field that the packet lacks fails
    // with "Field '%s' not found", one of another kind with "Type mismatch for field '%s',
    // expecting: %s actual: %s".
    void open();
    // Drops every record of this record set and of its nested record sets.
    void close();

private:
    const XmlTransformProvider& provider_;
    std::vector<FieldDefinition> declaredFields_;
    std::vector<FieldDefinition> boundFields_;
    std::unique_ptr<const DataPacket> packet_;
};

// The declared fields of `DTtarvelo`: `versao` (5), `nome` (14), `cnpj` (18) and the nested `pedido`.
std::vector<FieldDefinition> tarveloHeaderFields();
