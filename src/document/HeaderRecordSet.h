#pragma once

#include "DataPacket.h"
#include "RecordSet.h"

#include <memory>

class OrderDocumentReader;

// `DTtarvelo`: the header record set, with declared fields, that takes all its records
// from the order document reader at once; the order and item record sets nest in it.
// While closed it shows the declared fields and no record.
class HeaderRecordSet final : public RecordSet {
    Q_OBJECT

public:
    HeaderRecordSet(const OrderDocumentReader& provider, std::vector<FieldDefinition> declaredFields,
                    QObject* parent = nullptr);
    ~HeaderRecordSet() override;

    bool active() const { return packet_ != nullptr; }

    // Loads the provider's packet and stands on the first record; does nothing when open.
    // A failure leaves the record set closed. A declared field that the packet lacks fails
    // with "Field '%s' not found", one of another kind with "Type mismatch for field '%s',
    // expecting: %s actual: %s".
    void open();
    // Drops every record of this record set and of its nested record sets.
    void close();

private:
    const OrderDocumentReader& provider_;
    std::vector<FieldDefinition> declaredFields_;
    std::vector<FieldDefinition> boundFields_;
    std::unique_ptr<const DataPacket> packet_;
};

// The declared fields of `DTtarvelo`: `versao` (5), `nome` (14), `cnpj` (18) and the nested `pedido`.
std::vector<FieldDefinition> tarveloHeaderFields();
