#include "OrderReader.h"

#include "RecordFields.h"
#include "TransformationFile.h"

#include <QFile>
#include <QStringList>

namespace {

QString rowText(const RecordSet& recordSet)
{
    QStringList values;
    for (int position = 0; position < recordSet.fieldCount(); ++position) {
        if (recordSet.fieldDefinition(position).kind == FieldKind::Text)
            values += recordSet.field(position).asText();
    }
    return values.join(u'|');
}

} // namespace

OrderReader::OrderReader()
    : DTtarvelo(Provedor, tarveloHeaderFields())
{
    salvaxtr(transformationFile());
}

QString OrderReader::fixture(const QString& name)
{
    return QStringLiteral(DOCUMENT_FIXTURES "/") + name;
}

void OrderReader::load(const QString& documentPath)
{
    Provedor.setTransformationFile(transformationFile());
    Provedor.setXmlDataFile(documentPath);
    if (DTtarvelo.active())
        DTtarvelo.close();
    DTtarvelo.open();
}

void OrderReader::loadBytes(const QByteArray& document)
{
    const QString path = programFile(QStringLiteral("recebido.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(document) != document.size())
        throw std::runtime_error("cannot write the order file");
    file.close();
    load(path);
}

QString OrderReader::dump()
{
    QStringList lines;
    RecordSet& orders = DTtarvelo.nestedRecordSet(HeaderField::Pedido);
    RecordSet& items = orders.nestedRecordSet(OrderField::Item);
    for (DTtarvelo.first(); !DTtarvelo.eof(); DTtarvelo.next()) {
        lines += rowText(DTtarvelo);
        for (orders.first(); !orders.eof(); orders.next()) {
            lines += QStringLiteral("  ") + rowText(orders);
            for (items.first(); !items.eof(); items.next())
                lines += QStringLiteral("    ") + rowText(items);
        }
    }
    return lines.join(u'\n');
}
