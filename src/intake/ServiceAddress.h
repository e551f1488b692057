#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A plain-HTTP address taken apart for one request.
struct ServiceAddress {
    QByteArray host;     // as written, without the port
    quint16 port = 80;
    QByteArray target;   // path and query exactly as written
};

// "http://" host [":" port] [path]: printable ASCII without blanks, a host, a port
// from 1 to 65535 when one is written; no path asks for "/". Nothing for any
// other address.
std::optional<ServiceAddress> parseServiceAddress(const QString& address);
