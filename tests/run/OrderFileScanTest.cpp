#include "Error.h"
#include "OrderFileScan.h"
#include "RecordingHost.h"

#include <QFile>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

class OrderFileScan : public testing::Test {
protected:
    QString write(const QByteArray& bytes)
    {
        const QString path = folder.filePath(QStringLiteral("recebido.xml"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir folder;
    RecordingHost host;
};

} // namespace

TEST_F(OrderFileScan, EveryLineReachesThePaneAsItIs)
{
    struct Case {
        QByteArray file;
        QStringList lines;
    };
    const Case cases[] = {
        {"<root>\r\n  <info/>\r\n</root>\r\n", {"<root>", "  <info/>", "</root>"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r\nc\n\nd\r", {"ab", "c", "", "d"}},
        {"", {}},
        {"S\xe3o Jos\xe9\n", {QStringLiteral("São José")}},
        // UTF-8 bytes are shown one character per byte.
        {"Jo\xc3\xa3o\n", {QStringLiteral("JoÃ£o")}},
        {QByteArray(100000, 'x') + "\nfim", {QString(100000, u'x'), "fim"}},
    };
    for (const auto& c : cases) {
        host.lines.clear();
        EXPECT_TRUE(scanOrderFile(write(c.file), host));
        EXPECT_EQ(host.lines, c.lines) << c.file.left(40).toStdString();
    }
}

TEST_F(OrderFileScan, TheNoNewOrdersAnswerNeedsACapitalNAndTheWords)
{
    struct Case {
        const char* file;
        bool importable;
    };
    const Case cases[] = {
        {"linha 1\nlinha 2\nNao ha pedidos novos para o fornecedor\nlinha 4\n", false},
        {"N pedidos novos", false},
        {"Nenhum pedido novo\n", true},
        {"nao ha pedidos novos\n", true},
        {" Nao ha pedidos novos\n", true},
        {"Nao ha Pedidos Novos\n", true},
        {"<observacoes_nf>texto\nNota: sem pedidos novos</observacoes_nf>\n", false},
    };
    for (const auto& c : cases) {
        host.lines.clear();
        EXPECT_EQ(scanOrderFile(write(c.file), host), c.importable) << c.file;
    }
    // Every line is shown, also those after the answer.
    EXPECT_EQ(host.lines.size(), 2);
}

TEST_F(OrderFileScan, AMissingFileFailsWithItsMessageAndShowsNothing)
{
    try {
        scanOrderFile(folder.filePath(QStringLiteral("nao-existe.xml")), host);
        ADD_FAILURE() << "scanned a missing file";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("File not found"));
    }
    EXPECT_THROW(scanOrderFile(folder.path(), host), Error);
    EXPECT_TRUE(host.lines.isEmpty());
}
