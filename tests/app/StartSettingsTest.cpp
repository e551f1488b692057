#include "StartSettings.h"

#include "DatabaseLocations.h"
#include "OrderDownload.h"

#include <QFile>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

class StartSettingsTest : public testing::Test {
protected:
    void write(const QByteArray& bytes) const
    {
        QFile file(settingsFilePath(folder.path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray content() const
    {
        QFile file(settingsFilePath(folder.path()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir folder;
};

const QString kAddress = QStringLiteral("https://pedidos.tarvelo.com.br/servico/oc/download?token=0123abcd");

} // namespace

TEST_F(StartSettingsTest, KeysWrittenByHandReplaceTheBuiltInValuesOneByOne)
{
    const QString builtInUser = kBuiltInDatabaseAccount.user;
    const QString builtInPassword = kBuiltInDatabaseAccount.password;
    struct Case {
        const char* file;   // nothing: no settings file
        QString user;
        QString password;
        QString address;
    };
    const Case cases[] = {
        {nullptr, builtInUser, builtInPassword, kOrderServiceAddress},
        {"[BASE]\r\nKELMORA=k.fdb\r\nPEDIDOS=p.fdb\r\n", builtInUser, builtInPassword, kOrderServiceAddress},
        {"[BASE]\r\nUSUARIO=\r\nSENHA=  \r\n[SERVICO]\r\nENDERECO=\r\n", builtInUser, builtInPassword, kOrderServiceAddress},
        {"[BASE]\r\nUSUARIO=IMPORTADOR\r\nSENHA=s3nha\r\n[SERVICO]\r\nENDERECO=https://pedidos.tarvelo.com.br/servico/oc/"
         "download?token=0123abcd\r\n",
         QStringLiteral("IMPORTADOR"), QStringLiteral("s3nha"), kAddress},
        {"[base]\nsenha = nova\n", builtInUser, QStringLiteral("nova"), kOrderServiceAddress},
        {"[BASE]\r\nUSUARIO=IMPORTADOR\r\n", QStringLiteral("IMPORTADOR"), builtInPassword, kOrderServiceAddress},
        {"[BASE]\r\nSENHA=\" com brancos \"\r\n", builtInUser, QStringLiteral(" com brancos "), kOrderServiceAddress},
        {"[BASE]\r\nSENHA=a\xe7\xe3o;#=\r\n", builtInUser, QStringLiteral("ação;#="), kOrderServiceAddress},
        {"[SERVICO]\r\nUSUARIO=X\r\nSENHA=Y\r\n[BASE]\r\nENDERECO=http://outro/\r\n", builtInUser, builtInPassword,
         kOrderServiceAddress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file != nullptr ? c.file : "no file");
        QFile::remove(settingsFilePath(folder.path()));
        if (c.file != nullptr)
            write(c.file);
        const StartSettings settings = readStartSettings(folder.path());
        EXPECT_EQ(settings.databaseAccount.user, c.user);
        EXPECT_EQ(settings.databaseAccount.password, c.password);
        EXPECT_EQ(settings.serviceAddress, c.address);
    }
}

TEST_F(StartSettingsTest, SavingTheLocationsKeepsTheKeysWrittenByHand)
{
    const QByteArray byHand = "[BASE]\r\nKELMORA=antigo.fdb\r\nUSUARIO=IMPORTADOR\r\nSENHA=s3nha\r\nPEDIDOS=antigo.fdb\r\n"
                              "[SERVICO]\r\nENDERECO=https://pedidos.tarvelo.com.br/servico/oc/download?token=0123abcd\r\n";
    write(byHand);
    saveDatabaseLocations(folder.path(), {QStringLiteral("k.fdb"), QStringLiteral("p.fdb")});
    QByteArray expected = byHand;
    expected.replace("KELMORA=antigo.fdb", "KELMORA=k.fdb").replace("PEDIDOS=antigo.fdb", "PEDIDOS=p.fdb");
    EXPECT_EQ(content(), expected);

    const StartSettings settings = readStartSettings(folder.path());
    EXPECT_EQ(settings.databaseAccount.user, QStringLiteral("IMPORTADOR"));
    EXPECT_EQ(settings.databaseAccount.password, QStringLiteral("s3nha"));
    EXPECT_EQ(settings.serviceAddress, kAddress);
}
