#include "Error.h"
#include "TransformationFile.h"
#include "XmlDocument.h"

#include <QFile>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

class TransformationFile : public testing::Test {
protected:
    QByteArray written()
    {
        salvaxtr(path);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    // The lines without their CR LF; the content must end with one.
    static QList<QByteArray> linesOf(const QByteArray& content)
    {
        EXPECT_TRUE(content.endsWith("\r\n"));
        QList<QByteArray> lines = content.chopped(1).split('\n');
        for (QByteArray& line : lines) {
            EXPECT_TRUE(line.endsWith('\r'));
            line.chop(1);
        }
        return lines;
    }

    QString errorOf(const QString& target)
    {
        try {
            salvaxtr(target);
        } catch (const Error& error) {
            return error.message();
        }
        return QStringLiteral("no error");
    }

    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("ToDp.xtr"));
};

} // namespace

TEST_F(TransformationFile, HasItsSizeLinesAndLineEndings)
{
    const QByteArray content = written();
    EXPECT_EQ(content.size(), 8037);
    EXPECT_EQ(content.count("\r\n"), 189);
    EXPECT_EQ(content.count('\r'), 189);
    EXPECT_EQ(content.count('\n'), 189);
    EXPECT_TRUE(content.startsWith("\r\n<XmlTransformation Version=\"1.0\">\r\n"));
    for (const char byte : content)
        EXPECT_TRUE(byte > 0 && byte < 127) << "not ASCII: " << int(byte);
}

TEST_F(TransformationFile, IndentsTheSchemaWithSpacesAndEverythingElseWithTabs)
{
    const QList<QByteArray> lines = linesOf(written());
    ASSERT_EQ(lines.size(), 189);
    EXPECT_TRUE(lines[0].isEmpty());
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QByteArray& line = lines[index];
        const qsizetype number = index + 1;
        const bool schema = number >= 27 && number <= 131;
        qsizetype textStart = 0;
        while (textStart < line.size() && (line[textStart] == ' ' || line[textStart] == '\t'))
            ++textStart;
        const QByteArray indent = line.left(textStart);
        const QByteArray text = line.mid(textStart);
        EXPECT_EQ(indent, QByteArray(indent.size(), schema ? ' ' : '\t')) << number;
        EXPECT_EQ(schema, !indent.isEmpty() && indent[0] == ' ') << number;
        EXPECT_FALSE(text.contains('\t')) << number;
        EXPECT_FALSE(text.endsWith(' ')) << number;
    }
    const std::pair<int, QByteArray> samples[] = {
        {4, "\t<SelectEach dest=\"DATAPACKET\\ROWDATA\\ROW\" from=\"\\root\">"},
        {14, "\t\t\t\t\t<SelectEach dest=\"item\\ROWitem\" from=\"\\itens\\item\">"},
        {26, "<![CDATA[<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">"},
        {27, "  <xs:element name=\"root\" type=\"rnotType\"/>"},
        {57, "      <xs:element name=\"pedido\" type=\"pedidoType\" minOccurs=\"0\" maxOccurs=\"unbounded\"/>"},
        {142, "\t<FIELD attrname=\"nome\" fieldtype=\"string\" WIDTH=\"25\"/>"},
        {186, "\t\t\t\t<PARAMS/></FIELD></FIELDS>"},
        {187, "\t\t\t\t<PARAMS/></FIELD></FIELDS>"},
        {189, "]]></Skeleton></XmlTransformation>"},
    };
    for (const auto& [number, text] : samples)
        EXPECT_EQ(lines[number - 1], text) << number;
}

TEST_F(TransformationFile, IsWellFormedAndSoIsItsSkeleton)
{
    const XmlDocumentPtr document = parseXmlText(written());
    const xmlNode* root = xmlDocGetRootElement(document.get());
    ASSERT_NE(root, nullptr);
    const xmlNode* skeleton = nullptr;
    for (const xmlNode* child = root->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && xmlStrEqual(child->name, reinterpret_cast<const xmlChar*>("Skeleton")))
            skeleton = child;
    }
    ASSERT_NE(skeleton, nullptr);
    ASSERT_NE(skeleton->children, nullptr);
    ASSERT_EQ(skeleton->children->type, XML_CDATA_SECTION_NODE);
    const XmlDocumentPtr packet = parseXmlText(QByteArray(reinterpret_cast<const char*>(skeleton->children->content)));
    EXPECT_TRUE(xmlStrEqual(xmlDocGetRootElement(packet.get())->name, reinterpret_cast<const xmlChar*>("DATAPACKET")));
}

// The file is the program's fixed text: it must not drift from the checked-in copy, which
// the structural tests above describe line by line.
TEST_F(TransformationFile, ReplacesALongerFileWithTheFixedContentEveryTime)
{
    QFile longer(path);
    ASSERT_TRUE(longer.open(QIODevice::WriteOnly));
    longer.write(QByteArray(20000, 'x'));
    longer.close();
    QFile expected(QStringLiteral(TRANSFORMATION_FILE_FIXTURE));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    const QByteArray fixed = expected.readAll();
    EXPECT_EQ(written(), fixed);
    EXPECT_EQ(written(), fixed);
    EXPECT_EQ(transformationFileContent(), fixed);
}

TEST_F(TransformationFile, FailuresCarryTheirErrorNumberMessages)
{
    QFile regular(folder.filePath(QStringLiteral("file")));
    ASSERT_TRUE(regular.open(QIODevice::WriteOnly));
    regular.close();
    EXPECT_EQ(errorOf(folder.filePath(QStringLiteral("file/ToDp.xtr"))), QStringLiteral("I/O error 103"));
    EXPECT_EQ(errorOf(folder.filePath(QStringLiteral("missing/ToDp.xtr"))), QStringLiteral("I/O error 103"));
    EXPECT_EQ(errorOf(folder.path()), QStringLiteral("I/O error 103"));
    // A device that is always full: the file opens, the write fails.
    EXPECT_EQ(errorOf(QStringLiteral("/dev/full")), QStringLiteral("Disk full"));
}
