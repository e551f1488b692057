#pragma once

#include "HeaderRecordSet.h"
#include "OrderDocumentReader.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// The reader as a run uses it: a freshly written transformation file in a temporary
// program folder, `Provedor` and `DTtarvelo`.
class OrderReader {
public:
    OrderReader();

    static QString fixture(const QString& name);

    QString programFile(const QString& name) const { return folder_.filePath(name); }
    QString transformationFile() const { return programFile(QStringLiteral("ToDp.xtr")); }

    // Loads the document as a run does: names both files, closes `DTtarvelo` if open, opens it.
    void load(const QString& documentPath);
    // Writes the bytes as the order file of the run and loads it.
    void loadBytes(const QByteArray& document);

    // Every header row, its orders indented by two blanks and their items by four, fields
    // separated by "|", read through the same walk a run makes.
    QString dump();

    OrderDocumentReader Provedor;
    HeaderRecordSet DTtarvelo;

private:
    QTemporaryDir folder_;
};
