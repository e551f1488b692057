#include "DownloadFolder.h"
#include "OrderDownload.h"
#include "ResponseCases.h"
#include "ScriptedServer.h"
#include "TestAuthority.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QByteArray kSmallAnswer("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");

// Downloads over TLS from loopback servers whose certificates a throw-away authority
// signs. The only certificate trusted is that authority's, named by SSL_CERT_FILE; the
// system's own trusted certificates are out of reach (SSL_CERT_DIR names an empty folder).
class EncryptedDownload : public DownloadFolder {
protected:
    void SetUp() override
    {
        DownloadFolder::SetUp();
        trusted.writeCertificate(folder.filePath(QStringLiteral("autoridade.pem")));
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sem-certificados")));
        qputenv("SSL_CERT_FILE", QFile::encodeName(folder.filePath(QStringLiteral("autoridade.pem"))));
        qputenv("SSL_CERT_DIR", QFile::encodeName(folder.filePath(QStringLiteral("sem-certificados"))));
    }
    void TearDown() override
    {
        qunsetenv("SSL_CERT_FILE");
        qunsetenv("SSL_CERT_DIR");
    }

    // The reason of a failed download; empty for one that stored the body.
    QString download(const QString& address, const DownloadLimits& limits = kTestLimits) const
    {
        QString reason;
        const bool storedBody = recebearquivo(address, target(), &reason, limits);
        EXPECT_EQ(storedBody, reason.isEmpty());
        return reason;
    }

    TestAuthority trusted{QStringLiteral("Autoridade de teste")};
    const ServerIdentity forLoopback = trusted.issue({QStringLiteral("localhost"), QStringLiteral("127.0.0.1")});
};

} // namespace

TEST_F(EncryptedDownload, AppliesTheSameResponseRulesAsPlainHttp)
{
    for (const ResponseCase& response : responseCases()) {
        SCOPED_TRACE(response.name);
        restoreEarlierDocument();
        const ScriptedServer server(response.answer, TlsServing{forLoopback});

        EXPECT_EQ(download(server.address()), response.reason);
        EXPECT_EQ(stored(), response.stored.value_or(kEarlierDocument));
        EXPECT_EQ(server.requests().size(), 1u);
    }
}

TEST_F(EncryptedDownload, SendsThePlainRequestHeadAndNamesTheHostInTheHandshake)
{
    struct Case {
        QString host;
        QByteArray serverName;   // none for an address
    };
    const Case cases[] = {{QStringLiteral("localhost"), "localhost"}, {QStringLiteral("127.0.0.1"), ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host.toStdString());
        const ScriptedServer server(kSmallAnswer, TlsServing{forLoopback});
        EXPECT_EQ(download(server.address(QStringLiteral("/servico/oc/download?token=abc"), c.host)), QString());
        EXPECT_EQ(stored(), QByteArray("ok"));
        EXPECT_EQ(server.serverNames(), std::vector<QByteArray>{c.serverName});
        EXPECT_EQ(server.requests(), std::vector<QByteArray>{"GET /servico/oc/download?token=abc HTTP/1.1\r\n"
                                                             "Host: " + c.host.toLatin1() + "\r\n"
                                                             "Accept: text/html, */*\r\n"
                                                             "Accept-Encoding: identity\r\n"
                                                             "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
                                                             "\r\n"});
    }
}

// Nothing of the request, and so no token, reaches a server whose certificate fails.
TEST_F(EncryptedDownload, ACertificateThatDoesNotVerifyFailsTheDownloadBeforeTheRequest)
{
    const TestAuthority unknown(QStringLiteral("Autoridade desconhecida"));
    struct Case {
        const char* name;
        ServerIdentity identity;
        QString host;
        QString reason;
    };
    Case cases[] = {
        {"signed by an authority not trusted", unknown.issue({QStringLiteral("127.0.0.1")}), QStringLiteral("127.0.0.1"),
         QStringLiteral("certificate verify failed: unable to get local issuer certificate")},
        {"for another host name", trusted.issue({QStringLiteral("pedidos.tarvelo.com.br")}), QStringLiteral("localhost"),
         QStringLiteral("certificate verify failed: hostname mismatch")},
        {"for a name, reached by its address", trusted.issue({QStringLiteral("localhost")}), QStringLiteral("127.0.0.1"),
         QStringLiteral("certificate verify failed: IP address mismatch")},
        {"expired", trusted.issue({QStringLiteral("127.0.0.1")}, TestAuthority::Validity::Expired),
         QStringLiteral("127.0.0.1"), QStringLiteral("certificate verify failed: certificate has expired")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScriptedServer server(kSmallAnswer, TlsServing{c.identity});
        EXPECT_EQ(download(server.address(QStringLiteral("/servico/oc/download?token=abc"), c.host)), c.reason);
        EXPECT_EQ(stored(), kEarlierDocument);
        EXPECT_EQ(server.requests(), std::vector<QByteArray>{});
    }
}

TEST_F(EncryptedDownload, AServerThatDoesNotSpeakTlsFailsTheDownload)
{
    struct Case {
        const char* name;
        std::optional<QByteArray> answer;
        QString reason;
    };
    const Case cases[] = {
        {"plain HTTP answer", QByteArray("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n"),
         QStringLiteral("TLS handshake failed: wrong version number")},
        {"closed without a word", QByteArray(), QStringLiteral("TLS handshake failed: unexpected eof while reading")},
        {"silent", std::nullopt, QStringLiteral("receive timed out")},
    };
    DownloadLimits limits = kTestLimits;
    limits.waitTimeout = 300ms;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScriptedServer plainServer(c.answer);
        QString address = plainServer.address();
        address.replace(QStringLiteral("http://"), QStringLiteral("https://"));
        EXPECT_EQ(download(address, limits), c.reason);
        EXPECT_EQ(stored(), kEarlierDocument);
    }
}

// A body that runs to the close of the connection is whole only when the server ends the
// session first; a body of a declared length is whole when its last byte arrives.
TEST_F(EncryptedDownload, AConnectionClosedWithoutEndingTheSessionCutsOnlyABodyReadToTheClose)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"HTTP/1.1 200 OK\r\n\r\n<pedidos/>", QStringLiteral("TLS receive failed: unexpected eof while reading")},
        {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n<pedidos/>", QString()},
    };
    for (const auto& [answer, reason] : cases) {
        SCOPED_TRACE(answer.toStdString());
        restoreEarlierDocument();
        const ScriptedServer server(answer, TlsServing{forLoopback, false});
        EXPECT_EQ(download(server.address()), reason);
        EXPECT_EQ(stored(), reason.isEmpty() ? QByteArray("<pedidos/>") : kEarlierDocument);
    }
}
