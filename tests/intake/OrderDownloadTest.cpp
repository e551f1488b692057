#include "DownloadFolder.h"
#include "OrderDownload.h"
#include "ResponseCases.h"
#include "ScriptedServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

using namespace std::chrono_literals;

namespace {

class Download : public DownloadFolder {
protected:
    // Nothing but the target: a failed store leaves no half-written file behind.
    QStringList folderEntries() const { return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }
};

// Files of this process cannot grow beyond the given size while it lives, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

} // namespace

TEST_F(Download, SendsExactlyTheRequestHead)
{
    const ScriptedServer server(QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"));
    ASSERT_TRUE(recebearquivo(server.address(), target(), nullptr, kTestLimits));

    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests().front(),
              QByteArray("GET /servico/oc/download?token=3b9e1f7a0c5d4e28b6a1f90d7c3e5a2b8d4f6c01 HTTP/1.1\r\n"
                         "Host: 127.0.0.1\r\n"
                         "Accept: text/html, */*\r\n"
                         "Accept-Encoding: identity\r\n"
                         "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
                         "\r\n"));
}

TEST_F(Download, AppliesTheResponseRules)
{
    for (const ResponseCase& response : responseCases()) {
        SCOPED_TRACE(response.name);
        restoreEarlierDocument();
        const ScriptedServer server(response.answer);

        QString reason;
        EXPECT_EQ(recebearquivo(server.address(), target(), &reason, kTestLimits), response.stored.has_value());
        EXPECT_EQ(reason, response.reason);
        EXPECT_EQ(stored(), response.stored.value_or(kEarlierDocument));
        EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("recebido.xml")});
        // Redirections included: never a second request.
        EXPECT_EQ(server.requests().size(), 1u);
    }
}

TEST_F(Download, BodiesAboveTheSizeLimitFail)
{
    const QByteArray ok("HTTP/1.1 200 OK\r\n");
    const QByteArray chunked("Transfer-Encoding: chunked\r\n\r\n");
    const QString tooLarge = QStringLiteral("body too large");
    const ResponseCase cases[] = {
        {"announced at the limit", ok + "Content-Length: 16\r\n\r\n0123456789abcdef", "0123456789abcdef"},
        {"announced above the limit", ok + "Content-Length: 17\r\n\r\n0123456789abcdefg", std::nullopt, tooLarge},
        {"announced far beyond any size", ok + "Content-Length: 99999999999999999999999\r\n\r\n0123", std::nullopt, tooLarge},
        {"up to the close, at the limit", ok + "\r\n0123456789abcdef", "0123456789abcdef"},
        {"up to the close, above the limit", ok + "\r\n0123456789abcdefg", std::nullopt, tooLarge},
        {"chunks at the limit together", ok + chunked + "a\r\n0123456789\r\n6\r\nabcdef\r\n0\r\n\r\n", "0123456789abcdef"},
        {"chunks above the limit together", ok + chunked + "a\r\n0123456789\r\n7\r\nabcdefg\r\n0\r\n\r\n", std::nullopt,
         tooLarge},
        {"chunk size far beyond any size", ok + chunked + "ffffffffffffffffffffffff\r\n0123\r\n0\r\n\r\n", std::nullopt, tooLarge},
    };
    DownloadLimits limits = kTestLimits;
    limits.maxBodySize = 16;
    for (const ResponseCase& response : cases) {
        SCOPED_TRACE(response.name);
        restoreEarlierDocument();
        const ScriptedServer server(response.answer);

        QString reason;
        EXPECT_EQ(recebearquivo(server.address(), target(), &reason, limits), response.stored.has_value());
        EXPECT_EQ(reason, response.reason);
        EXPECT_EQ(stored(), response.stored.value_or(kEarlierDocument));
    }
}

TEST_F(Download, SilentServerFailsAfterTheWaitLimit)
{
    const ScriptedServer server(std::nullopt);
    DownloadLimits limits = kTestLimits;
    limits.waitTimeout = 300ms;

    QString reason;
    EXPECT_FALSE(recebearquivo(server.address(), target(), &reason, limits));
    EXPECT_EQ(reason, QStringLiteral("receive timed out"));
    EXPECT_EQ(stored(), kEarlierDocument);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(Download, UnreachableServiceFailsWithTheCause)
{
    const std::pair<QString, QString> cases[] = {
        // A label longer than 63 characters is no DNS name, so the resolver gives up
        // without sending a query anywhere.
        {QStringLiteral("http://%1.tarvelo.invalid/servico/oc/download").arg(QString(64, u'p')),
         QStringLiteral("name not resolved")},
        {QStringLiteral("http://127.0.0.1:%1/servico/oc/download").arg(closedLoopbackPort()),
         QStringLiteral("connect failed: Connection refused")},
        {QStringLiteral("ftp://127.0.0.1/servico/oc/download"), QStringLiteral("invalid address")},
    };
    for (const auto& [address, cause] : cases) {
        SCOPED_TRACE(address.toStdString());
        QString reason;
        EXPECT_FALSE(recebearquivo(address, target(), &reason, kTestLimits));
        EXPECT_EQ(reason, cause);
        EXPECT_EQ(stored(), kEarlierDocument);
    }
}

TEST_F(Download, TargetThatCannotBeWrittenFailsWithTheCause)
{
    const ScriptedServer server(QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("pasta")));
    const std::pair<QString, const char*> cases[] = {
        {QDir(target()).filePath(QStringLiteral("recebido.xml")), "Invalid filename"},
        {folder.filePath(QStringLiteral("ausente/recebido.xml")), "File not found"},
        {folder.filePath(QStringLiteral("pasta")), "Invalid filename"},
    };
    for (const auto& [path, cause] : cases) {
        SCOPED_TRACE(path.toStdString());
        QString reason;
        EXPECT_FALSE(recebearquivo(server.address(), path, &reason, kTestLimits));
        EXPECT_EQ(reason, QStringLiteral("the received file could not be written: ") + QLatin1StringView(cause));
    }
    EXPECT_EQ(stored(), kEarlierDocument);
    EXPECT_EQ(folderEntries(), (QStringList{QStringLiteral("pasta"), QStringLiteral("recebido.xml")}));
}

TEST_F(Download, WriteFailureKeepsTheEarlierDocument)
{
    const QByteArray body(4096, 'x');
    const ScriptedServer server("HTTP/1.1 200 OK\r\nContent-Length: 4096\r\n\r\n" + body);
    {
        const FileSizeLimit fullDisk(64);
        QString reason;
        EXPECT_FALSE(recebearquivo(server.address(), target(), &reason, kTestLimits));
        EXPECT_EQ(reason, QStringLiteral("the received file could not be written: Disk full"));
    }
    EXPECT_EQ(stored(), kEarlierDocument);
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("recebido.xml")});
}
