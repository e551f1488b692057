#include "Error.h"
#include "OrderReader.h"
#include "TransformationFile.h"

#include <QFile>
#include <QStringConverter>
#include <QTcpServer>
#include <QTemporaryFile>

#include <cstdio>

#include <unistd.h>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QString parseError(const char* reason, int line, int position)
{
    return QStringLiteral("XML Parse Error:\n\rReason: %1\n\rError on line %2, position %3")
        .arg(QString::fromUtf8(reason))
        .arg(line)
        .arg(position);
}

// The message of the failed load; the header record set must be left closed and empty.
QString failureOf(OrderReader& reader, const std::function<void()>& load)
{
    try {
        load();
    } catch (const Error& error) {
        EXPECT_FALSE(reader.DTtarvelo.active());
        EXPECT_EQ(reader.DTtarvelo.recordCount(), 0);
        EXPECT_TRUE(reader.DTtarvelo.eof());
        return error.message();
    }
    ADD_FAILURE() << "the load succeeded";
    return {};
}

QString loadFailure(OrderReader& reader, const QString& path)
{
    return failureOf(reader, [&] { reader.load(path); });
}

QString loadBytesFailure(OrderReader& reader, const QByteArray& document)
{
    return failureOf(reader, [&] { reader.loadBytes(document); });
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(content), content.size());
}

// Sends standard error to a file while it lives, so that a test sees whatever is printed.
class StandardErrorCapture {
public:
    StandardErrorCapture()
    {
        EXPECT_TRUE(capture_.open());
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        ::dup2(capture_.handle(), STDERR_FILENO);
    }
    ~StandardErrorCapture() { restore(); }
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    QByteArray printed()
    {
        restore();
        capture_.seek(0);
        return capture_.readAll();
    }

private:
    void restore()
    {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }

    QTemporaryFile capture_;
    int saved_ = -1;
};

} // namespace

TEST(BadOrderDocument, ParseErrorsCarryTheReasonLineAndPosition)
{
    OrderReader reader;
    reader.load(OrderReader::fixture(QStringLiteral("complete.xml")));
    EXPECT_EQ(loadFailure(reader, OrderReader::fixture(QStringLiteral("mismatched-tags.xml"))),
              QStringLiteral("XML Parse Error:\n\rReason: Opening and ending tag mismatch: nome line 4 and name\n\r"
                             "Error on line 4, position 22"));

    struct Case {
        const char* file;
        QString message;
    };
    const Case cases[] = {
        {"no-new-orders.txt", parseError("Start tag expected, '<' not found", 1, 1)},
        {"empty.xml", parseError("Document is empty", 1, 1)},
        {"truncated.xml", parseError("Premature end of data in tag info line 2", 4, 1)},
        {"unknown-encoding.xml", parseError("Unsupported encoding x-tarvelo-8", 1, 43)},
        {"undeclared-prefix.xml", parseError("Namespace prefix t on info is not defined", 2, 10)},
        // Exponentially nested entities stop the parser instead of filling the memory; the
        // position is the one in the entity's replacement text.
        {"entity-expansion.xml", parseError("Detected an entity reference loop", 1, 4)},
    };
    for (const Case& bad : cases)
        EXPECT_EQ(loadFailure(reader, OrderReader::fixture(QString::fromLatin1(bad.file))), bad.message) << bad.file;
}

TEST(BadOrderDocument, AFileThatCannotBeReadIsReportedAsAParseError)
{
    OrderReader reader;
    EXPECT_EQ(loadFailure(reader, reader.programFile(QStringLiteral("missing.xml"))),
              QStringLiteral("XML Parse Error:\n\rReason: File not found\n\r"));
    const QString folderInItsPlace = reader.programFile(QString());
    EXPECT_EQ(loadFailure(reader, folderInItsPlace), QStringLiteral("XML Parse Error:\n\rReason: Invalid filename\n\r"));
}

TEST(BadOrderDocument, TheOrderDocumentIsCheckedBeforeTheTransformationFile)
{
    OrderReader reader;
    writeFile(reader.transformationFile(), "<XmlTransformation>");
    EXPECT_EQ(loadFailure(reader, OrderReader::fixture(QStringLiteral("mismatched-tags.xml"))),
              parseError("Opening and ending tag mismatch: nome line 4 and name", 4, 22));
    EXPECT_EQ(loadFailure(reader, OrderReader::fixture(QStringLiteral("complete.xml"))),
              parseError("Premature end of data in tag XmlTransformation line 1", 1, 20));
}

TEST(BadOrderDocument, ExternalEntitiesAreNeitherReadNorFetched)
{
    OrderReader reader;
    const QString secret = reader.programFile(QStringLiteral("secret.txt"));
    writeFile(secret, "SEGREDO");
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const QByteArray address = "http://127.0.0.1:" + QByteArray::number(server.serverPort()) + "/entity";

    const QByteArray withEntity = "<!DOCTYPE root [<!ENTITY segredo SYSTEM \"%1\">]>\n"
                                  "<root><info><nome>&segredo;</nome></info></root>";
    for (const QByteArray& location : {QFile::encodeName(secret), "file://" + QFile::encodeName(secret), address}) {
        const QString message = loadBytesFailure(reader, QByteArray(withEntity).replace("%1", location));
        EXPECT_EQ(message, parseError("Entity 'segredo' not defined", 2, 28)) << location.constData();
    }
    const QByteArray withParameterEntity = "<!DOCTYPE root [<!ENTITY % p SYSTEM \"" + address + "\"> %p;]>\n<root/>";
    EXPECT_EQ(loadBytesFailure(reader, withParameterEntity),
              parseError("PEReference: %p; not found", 1, static_cast<int>(withParameterEntity.indexOf("%p;")) + 4));

    // An external DTD is not loaded: the document reads as if it had none.
    reader.loadBytes("<!DOCTYPE root SYSTEM \"" + address + "\">\n<root><info><nome>Loja</nome></info></root>");
    EXPECT_EQ(reader.dump(), QStringLiteral("|Loja|"));
    EXPECT_FALSE(server.waitForNewConnection(100));
}

TEST(BadOrderDocument, EveryEntityReferenceIsSubstitutedOrAParseError)
{
    // Beside an external DTD or a parameter entity the parser cannot know every declaration,
    // so an unknown reference alone leaves the document well-formed, with the reference missing
    // from its value.
    const QByteArray externalDtd = "<!DOCTYPE root SYSTEM \"pedidos.dtd\">\n";
    const QByteArray parameterEntity = "<!DOCTYPE root [<!ENTITY % campos \"<!ENTITY oc 'OC'>\"> %campos;]>\n";
    struct Case {
        const char* name;
        QByteArray document;
        QString message;
    };
    const Case cases[] = {
        {"undeclared, beside an external DTD",
         externalDtd + "<root><pedidos><pedido><ordem_de_compra>OC&nbsp;5001</ordem_de_compra></pedido></pedidos></root>",
         parseError("Entity 'nbsp' not defined", 2, 49)},
        {"undeclared, beside a parameter entity",
         parameterEntity + "<root><pedidos><pedido><total_pedido>1&e;5</total_pedido></pedido></pedidos></root>",
         parseError("Entity 'e' not defined", 2, 42)},
        {"external, beside a parameter entity",
         "<!DOCTYPE root [<!ENTITY % campos \"\"> %campos; <!ENTITY loja SYSTEM \"loja.txt\">]>\n"
         "<root><info><nome>&loja;</nome></info></root>",
         parseError("Entity 'loja' not defined", 2, 25)},
        {"undeclared, in an attribute", externalDtd + "<root><info nome=\"A&x;B\"/></root>",
         parseError("Entity 'x' not defined", 2, 23)},
        {"undeclared, inside an internal entity used in an attribute",
         "<!DOCTYPE root SYSTEM \"pedidos.dtd\" [<!ENTITY loja \"Loja &cia;\">]>\n<root><info nome=\"&loja;\"/></root>",
         parseError("Entity 'cia' not defined", 2, 25)},
    };
    OrderReader reader;
    for (const Case& bad : cases)
        EXPECT_EQ(loadBytesFailure(reader, bad.document), bad.message) << bad.name;

    reader.loadBytes(parameterEntity.chopped(3) + "<!ENTITY loja \"Loja &amp; Cia\">]>\n"
                     "<root><info><nome>&loja;</nome></info><pedidos><pedido><ordem_de_compra>&oc;&#45;1"
                     "</ordem_de_compra></pedido></pedidos></root>");
    EXPECT_EQ(reader.dump(), QStringLiteral("|Loja & Cia|\n  OC-1||||"));
}

TEST(BadOrderDocument, AValueAboveTheParsersSizeLimitIsReportedAsSuch)
{
    const QByteArray opening("<root><info><nome>");
    const QByteArray value(10'000'001, 'a');
    OrderReader reader;
    EXPECT_EQ(loadBytesFailure(reader, opening + value + "</nome></info></root>"),
              parseError("xmlSAX2Characters: huge text node", 1, static_cast<int>(opening.size() + value.size()) + 1));
}

TEST(BadOrderDocument, EveryEncodingLoadsTheSameValues)
{
    const QString document = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"%1\"?>\n<root><info><versao>1</versao><nome>Ação Ltda</nome>"
        "<cnpj>1</cnpj></info><pedidos><pedido><ordem_de_compra>OC-1</ordem_de_compra>"
        "<observacoes_nf>Não dobrar, frágil</observacoes_nf></pedido></pedidos></root>");
    const QString expected = QStringLiteral("1|Ação Ltda|1\n  OC-1|Não dobrar, frágil|||");
    const auto encoded = [&document](const char* declared, QStringConverter::Encoding encoding, bool bom) {
        QStringEncoder encoder(encoding, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
        return QByteArray(encoder(document.arg(QString::fromLatin1(declared))));
    };
    const QByteArray windows1252 = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<root><info><versao>1</versao>"
                                   "<nome>A\xe7\xe3o Ltda</nome><cnpj>1</cnpj></info><pedidos><pedido>"
                                   "<ordem_de_compra>OC-1</ordem_de_compra><observacoes_nf>N\xe3o dobrar, fr\xe1gil"
                                   "</observacoes_nf></pedido></pedidos></root>";
    const std::pair<const char*, QByteArray> variants[] = {
        {"UTF-8", encoded("UTF-8", QStringConverter::Utf8, false)},
        {"UTF-8 with byte-order mark", encoded("UTF-8", QStringConverter::Utf8, true)},
        {"UTF-16 little-endian", encoded("UTF-16", QStringConverter::Utf16LE, true)},
        {"UTF-16 big-endian", encoded("UTF-16", QStringConverter::Utf16BE, true)},
        {"ISO-8859-1", encoded("ISO-8859-1", QStringConverter::Latin1, false)},
        {"windows-1252", windows1252},
    };
    OrderReader reader;
    for (const auto& [name, bytes] : variants) {
        reader.loadBytes(bytes);
        EXPECT_EQ(reader.dump(), expected) << name;
    }
    // The euro sign is where the two 8-bit encodings part.
    reader.loadBytes("<?xml version=\"1.0\" encoding=\"windows-1252\"?><root><info><nome>\x80 5</nome></info></root>");
    EXPECT_EQ(reader.dump(), QStringLiteral("|€ 5|"));
}

TEST(BadOrderDocument, TextThatIsNotInTheDeclaredEncodingIsAParseError)
{
    OrderReader reader;
    EXPECT_EQ(loadBytesFailure(reader, "<root><info><nome>A\xe7\xe3o</nome></info></root>"),
              parseError("Input is not proper UTF-8, indicate encoding !\nBytes: 0xE7 0xE3 0x6F 0x3C", 1, 20));

    // The conversion from an encoding other than UTF-8 fails outside the parser's own checks;
    // its reason is still the one reported, and nothing is printed.
    StandardErrorCapture standardError;
    EXPECT_EQ(loadBytesFailure(reader, "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
                                       "<root><info><nome>\xff\xff\xff</nome></info></root>"),
              QStringLiteral("XML Parse Error:\n\rReason: input conversion failed due to input error, "
                             "bytes 0xFF 0xFF 0xFF 0x3C\n\r"));
    EXPECT_EQ(standardError.printed(), QByteArray());
}
