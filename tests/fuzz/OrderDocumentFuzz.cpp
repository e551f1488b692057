// The order document reader on document bytes: the file a run receives, read through
// the transformation file the program writes, then every record of every level and
// every field, as text and as a whole number.
#include "Error.h"
#include "FuzzCheck.h"
#include "HeaderRecordSet.h"
#include "OrderDocumentReader.h"
#include "RecordFields.h"
#include "TransformationFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <libxml/xmlerror.h>

#include <cstdint>
#include <cstdio>

namespace {

// libxml2 prints an error through this handler only when the reader failed to collect it.
void failOnPrintedError(void*, const char* message, ...)
{
    std::fprintf(stderr, "%s", message);
    require(false, "the reader collects every error of the parser and prints none");
}

// The program folder of the runs: the transformation file written once, the received
// document rewritten for every input.
struct ProgramFolder {
    ProgramFolder()
    {
        require(folder.isValid(), "a temporary program folder can be made");
        xmlSetGenericErrorFunc(nullptr, failOnPrintedError);
        salvaxtr(folder.filePath(QStringLiteral("ToDp.xtr")));
        Provedor.setTransformationFile(folder.filePath(QStringLiteral("ToDp.xtr")));
        Provedor.setXmlDataFile(documentPath);
    }

    QTemporaryDir folder;
    QString documentPath = folder.filePath(QStringLiteral("recebido.xml"));
    OrderDocumentReader Provedor;
    HeaderRecordSet DTtarvelo{Provedor, tarveloHeaderFields()};
};

void writeDocument(const QString& path, const std::uint8_t* data, std::size_t size)
{
    QFile file(path);
    const auto length = static_cast<qint64>(size);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                && file.write(reinterpret_cast<const char*>(data), length) == length,
            "the received document can be written");
}

void readEveryField(const RecordSet& recordSet)
{
    for (int position = 0; position < recordSet.fieldCount(); ++position) {
        const FieldValue value = recordSet.field(position);
        value.asText();
        try {
            value.asInteger();
        } catch (const Error&) {
            // Most values are no whole number; the failure is the defined answer.
        }
    }
}

// The walk of an import run: every header, its orders, their items.
void readEveryRecord(HeaderRecordSet& header)
{
    RecordSet& orders = header.nestedRecordSet(HeaderField::Pedido);
    RecordSet& items = orders.nestedRecordSet(OrderField::Item);
    for (header.first(); !header.eof(); header.next()) {
        readEveryField(header);
        for (orders.first(); !orders.eof(); orders.next()) {
            readEveryField(orders);
            for (items.first(); !items.eof(); items.next())
                readEveryField(items);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ProgramFolder program;
    writeDocument(program.documentPath, data, size);
    if (program.DTtarvelo.active())
        program.DTtarvelo.close();
    try {
        program.DTtarvelo.open();
    } catch (const Error&) {
        require(!program.DTtarvelo.active() && program.DTtarvelo.recordCount() == 0 && program.DTtarvelo.eof(),
                "a document that cannot be read leaves the header record set closed and empty");
        return 0;
    }
    readEveryRecord(program.DTtarvelo);
    return 0;
}
