#include "ServiceAddress.h"

#include "OrderDownload.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(ServiceAddress, TakesTheAddressApart)
{
    struct Case {
        QString address;
        const char* host;
        quint16 port;
        const char* target;
    };
    const Case cases[] = {
        {kOrderServiceAddress, "pedidos.tarvelo.com.br", 80,
         "/servico/oc/download?token=3b9e1f7a0c5d4e28b6a1f90d7c3e5a2b8d4f6c01"},
        {QStringLiteral("http://127.0.0.1:8080/a%20b?x=%41&y"), "127.0.0.1", 8080, "/a%20b?x=%41&y"},
        {QStringLiteral("http://host:65535"), "host", 65535, "/"},
    };
    for (const Case& expected : cases) {
        SCOPED_TRACE(expected.address.toStdString());
        const auto parsed = parseServiceAddress(expected.address);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->host, QByteArray(expected.host));
        EXPECT_EQ(parsed->port, expected.port);
        EXPECT_EQ(parsed->target, QByteArray(expected.target));
    }
}

TEST(ServiceAddress, RefusesWhatCannotBeRequested)
{
    const char* const addresses[] = {
        "https://host/", "HTTP://host/", "ftp://host/", "http://", "http:///path", "http://:80/path",
        "http://host:/path", "http://host:0/path", "http://host:65536/path", "http://host:+80/path",
        "http://host:8o/path", "http://host/a b", "http://host/a\r\nX-Injected: 1", "http://hóst/",
    };
    for (const char* address : addresses)
        EXPECT_FALSE(parseServiceAddress(QString::fromUtf8(address))) << address;
}
