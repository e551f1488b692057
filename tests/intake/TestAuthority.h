#pragma once

#include "OpenSslOwners.h"

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <QString>
#include <QStringList>

using KeyOwner = std::unique_ptr<EVP_PKEY, OpenSslRelease<&EVP_PKEY_free>>;
using CertificateOwner = std::unique_ptr<X509, OpenSslRelease<&X509_free>>;

// A server's private key and its certificate.
struct ServerIdentity {
    KeyOwner key;
    CertificateOwner certificate;
};

// A certificate authority that a test makes and throws away: a new key and a self-signed
// certificate on every construction, kept in memory only, so no private key is ever stored.
class TestAuthority {
public:
    explicit TestAuthority(const QString& name);

    enum class Validity { Current, Expired };
    // A server's certificate signed by this authority, naming each DNS name or IPv4
    // address given ("localhost", "127.0.0.1"): valid from an hour ago for a day, or
    // expired since yesterday.
    ServerIdentity issue(const QStringList& names, Validity validity = Validity::Current) const;
    // The authority's certificate as PEM, for SSL_CERT_FILE.
    void writeCertificate(const QString& path) const;

private:
    KeyOwner key_;
    CertificateOwner certificate_;
};
