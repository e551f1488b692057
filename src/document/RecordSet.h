#pragma once

#include "DataPacket.h"
#include "FieldValue.h"

#include <QObject>

#include <map>
#include <memory>

// A cursor over records whose fields are addressed by position from 0. A nested record
// set is one object for as long as its parent lives and always holds the records of the
// parent's current record.
class RecordSet : public QObject {
    Q_OBJECT

public:
    explicit RecordSet(QObject* parent = nullptr);
    ~RecordSet() override;

    int fieldCount() const;
    // Fails with "List index out of bounds (%d)" for a position without a field.
    const FieldDefinition& fieldDefinition(int position) const;

    qsizetype recordCount() const;
    // The position of the current record; -1 when there is no record.
    qsizetype currentIndex() const;

    void first();
    // Moving on from the last record leaves it current and puts the record set at its end.
    void next();
    // Makes the record at the position current, as selecting its row in a grid does;
    // a position without a record changes nothing.
    void moveTo(qsizetype index);
    // True when there is no record or the record set has moved past its last one.
    bool eof() const;

    // The field at the position in the current record.
    FieldValue field(int position) const;
    // The text of any record's field, for display.
    QString text(qsizetype recordIndex, int position) const;

    // The record set of a nested field. Fails with "List index out of bounds (%d)" or, for a
    // text field, "Field '%s' is not a nested record set".
    RecordSet& nestedRecordSet(int position);

signals:
    // The fields or the records were replaced: opened, closed, or the parent moved.
    void contentReset();
    // Another record became current.
    void currentChanged();

protected:
    // Shows the records of the table (none when null), whose values the packet holds, with
    // these fields; all of them must outlive the showing.
    void show(const std::vector<FieldDefinition>* fields, const DataPacket* packet, const RecordTable* records);

private:
    void checkPosition(int position) const;
    void setCurrent(qsizetype index);
    void showNested(int position, RecordSet& nested) const;

    const std::vector<FieldDefinition>* fields_;
    const DataPacket* packet_ = nullptr;
    const RecordTable* records_ = nullptr;
    qsizetype current_ = 0;
    bool eof_ = true;
    std::map<int, std::unique_ptr<RecordSet>> nested_;
};
