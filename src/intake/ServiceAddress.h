#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A service address taken apart for one request.
struct ServiceAddress {
    bool encrypted = false;  // "https://": the exchange goes over TLS
    QByteArray host;         // as written, without the port
    quint16 port = 80;
    QByteArray target;       // path and query exactly as written
};

// "http://" or "https://", a host, ":" and a port from 1 to 65535 when one is written
// (80 and 443 otherwise), a path; printable ASCII without blanks. No path asks for "/".
// Nothing for any other address.
std::optional<ServiceAddress> parseServiceAddress(const QString& address);
