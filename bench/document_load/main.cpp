// Loads generated order documents through the reader and prints, for each, the load time
// next to the time libxml2 alone takes to parse the same file in the same process, and the
// peak memory after each. Usage: document_load [orders [items-per-order]]
// (default: 10000 and then 20000 orders of 5 items, to show how loading grows).

#include "Error.h"
#include "HeaderRecordSet.h"
#include "OrderDocumentReader.h"
#include "RecordFields.h"
#include "TransformationFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <libxml/parser.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray orderDocument(int orders, int itemsPerOrder)
{
    QByteArray document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n  <info>\n"
                          "    <versao>1.0</versao>\n    <nome>Tarvelo Marketplace</nome>\n"
                          "    <cnpj>12.345.678/0001-95</cnpj>\n  </info>\n  <pedidos>\n";
    for (int order = 1; order <= orders; ++order) {
        const QByteArray number = QByteArray::number(order);
        document += "    <pedido>\n      <ordem_de_compra>OC-" + number + "</ordem_de_compra>\n"
                    "      <observacoes_nf>Entregar no endere\xc3\xa7o de cobran\xc3\xa7" "a, pedido " + number
                    + "</observacoes_nf>\n      <tipo_ordem>N</tipo_ordem>\n      <pedido_original>PO-" + number
                    + "</pedido_original>\n      <total_pedido>" + QByteArray::number(order * 7.5, 'f', 2)
                    + "</total_pedido>\n      <itens>\n";
        for (int item = 1; item <= itemsPerOrder; ++item) {
            const QByteArray code = QByteArray::number(1000 + (order * itemsPerOrder + item) % 9000);
            document += "        <item>\n          <id_produto>" + QByteArray::number(item) + "</id_produto>\n"
                        "          <codigo_produto>" + code + "</codigo_produto>\n"
                        "          <descricao>Produto de papelaria c\xc3\xb3" "digo " + code + "</descricao>\n"
                        "          <quantidade>" + QByteArray::number(item * 2) + "</quantidade>\n"
                        "          <valor_unitario>3.75</valor_unitario>\n"
                        "          <valor_total>" + QByteArray::number(item * 7.5, 'f', 2) + "</valor_total>\n"
                        "        </item>\n";
        }
        document += "      </itens>\n    </pedido>\n";
    }
    return document + "  </pedidos>\n</root>\n";
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Reads every value the run reads, the way it walks the record sets.
qsizetype walk(HeaderRecordSet& header)
{
    qsizetype characters = 0;
    RecordSet& orders = header.nestedRecordSet(HeaderField::Pedido);
    RecordSet& items = orders.nestedRecordSet(OrderField::Item);
    for (header.first(); !header.eof(); header.next()) {
        characters += header.field(HeaderField::Cnpj).asText().size();
        for (orders.first(); !orders.eof(); orders.next()) {
            characters += orders.field(OrderField::OrdemDeCompra).asText().size() + orders.field(OrderField::ObservacoesNf).asText().size();
            for (items.first(); !items.eof(); items.next())
                characters += items.field(ItemField::CodigoProduto).asInteger() > 0 ? items.field(ItemField::Quantidade).asText().size() : 0;
        }
    }
    return characters;
}

// One measurement in a process of its own, so that its peak memory is its own: libxml2 alone
// parses the file first, then the reader loads it and the record sets are walked.
int measure(int orders, int itemsPerOrder)
{
    QTemporaryDir folder;
    const QString documentPath = folder.filePath(QStringLiteral("recebido.xml"));
    const QString transformationPath = folder.filePath(QStringLiteral("ToDp.xtr"));
    qsizetype documentSize = 0;
    {
        const QByteArray document = orderDocument(orders, itemsPerOrder);
        documentSize = document.size();
        QFile file(documentPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(document) != documentSize)
            return 1;
    }
    salvaxtr(transformationPath);

    auto start = std::chrono::steady_clock::now();
    xmlDocPtr parsed = xmlReadFile(QFile::encodeName(documentPath).constData(), nullptr,
                                   XML_PARSE_NONET | XML_PARSE_NOBLANKS);
    const double parseSeconds = secondsSince(start);
    const double parsePeak = peakMegabytes();
    xmlFreeDoc(parsed);

    OrderDocumentReader provider;
    provider.setTransformationFile(transformationPath);
    provider.setXmlDataFile(documentPath);
    HeaderRecordSet header(provider, tarveloHeaderFields());
    start = std::chrono::steady_clock::now();
    header.open();
    const double loadSeconds = secondsSince(start);
    const double loadPeak = peakMegabytes();

    start = std::chrono::steady_clock::now();
    const qsizetype characters = walk(header);
    const double walkSeconds = secondsSince(start);

    std::printf("%6d orders x %d items, %5.1f MB: libxml2 parse %6.3f s (peak %6.1f MB); "
                "reader load %6.3f s = %.1f x parse (peak %6.1f MB); walk %6.3f s (%lld characters)\n",
                orders, itemsPerOrder, static_cast<double>(documentSize) / 1e6, parseSeconds, parsePeak,
                loadSeconds, loadSeconds / parseSeconds, loadPeak, walkSeconds, static_cast<long long>(characters));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const int itemsPerOrder = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::vector<int> sizes = argc > 1 ? std::vector<int>{std::atoi(argv[1])} : std::vector<int>{10000, 20000};
    for (const int orders : sizes) {
        const pid_t child = fork();
        if (child == 0) {
            int code = 1;
            try {
                code = measure(orders, itemsPerOrder);
            } catch (const Error& error) {
                std::fprintf(stderr, "%s\n", error.what());
            }
            std::fflush(stdout);
            _exit(code);
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return 1;
    }
    return 0;
}
