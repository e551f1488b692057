#include "ServiceAddress.h"

#include "OrderDownload.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(ServiceAddress, TakesTheAddressApart)
{
    struct Case {
        QString address;
        bool encrypted;
        const char* host;
        quint16 port;
        const char* target;
    };
    const Case cases[] = {
        {kOrderServiceAddress, false, "pedidos.tarvelo.com.br", 80,
         "/servico/oc/download?token=3b9e1f7a0c5d4e28b6a1f90d7c3e5a2b8d4f6c01"},
        {QStringLiteral("http://127.0.0.1:8080/a%20b?x=%41&y"), false, "127.0.0.1", 8080, "/a%20b?x=%41&y"},
        {QStringLiteral("http://host:65535"), false, "host", 65535, "/"},
        {QStringLiteral("https://pedidos.tarvelo.com.br/servico/oc/download?token=abc"), true, "pedidos.tarvelo.com.br", 443,
         "/servico/oc/download?token=abc"},
        {QStringLiteral("https://127.0.0.1:8443"), true, "127.0.0.1", 8443, "/"},
    };
    for (const Case& expected : cases) {
        SCOPED_TRACE(expected.address.toStdString());
        const auto parsed = parseServiceAddress(expected.address);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->encrypted, expected.encrypted);
        EXPECT_EQ(parsed->host, QByteArray(expected.host));
        EXPECT_EQ(parsed->port, expected.port);
        EXPECT_EQ(parsed->target, QByteArray(expected.target));
    }
}

TEST(ServiceAddress, RefusesWhatCannotBeRequested)
{
    const char* const addresses[] = {
        "HTTP://host/", "HTTPS://host/", "ftp://host/", "http://", "https://", "https:///path", "http:///path",
        "http://:80/path", "https://host:0/path",
        "http://host:/path", "http://host:0/path", "http://host:65536/path", "http://host:+80/path",
        "http://host:8o/path", "http://host/a b", "http://host/a\r\nX-Injected: 1", "http://hóst/",
    };
    for (const char* address : addresses)
        EXPECT_FALSE(parseServiceAddress(QString::fromUtf8(address))) << address;
}
