#include "TestAuthority.h"

#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <QFile>

#include <arpa/inet.h>

#include <stdexcept>

namespace {

using ExtensionOwner = std::unique_ptr<X509_EXTENSION, OpenSslRelease<&X509_EXTENSION_free>>;

constexpr long kHour = 60 * 60;
constexpr long kDay = 24 * kHour;

void require(bool done, const char* step)
{
    if (!done)
        throw std::runtime_error(std::string("test certificate: ") + step + " failed");
}

KeyOwner newKey()
{
    KeyOwner key(EVP_EC_gen("P-256"));
    require(key != nullptr, "key generation");
    return key;
}

void addExtension(X509* certificate, const X509* issuer, int id, const QString& value)
{
    X509V3_CTX context;
    X509V3_set_ctx(&context, const_cast<X509*>(issuer), certificate, nullptr, nullptr, 0);
    const ExtensionOwner extension(X509V3_EXT_conf_nid(nullptr, &context, id, value.toLatin1().constData()));
    require(extension && X509_add_ext(certificate, extension.get(), -1) == 1, "extension");
}

// A certificate for the subject's key with the given validity in seconds from now. A
// missing issuer makes it self-signed.
CertificateOwner newCertificate(const QString& subject, EVP_PKEY* subjectKey, const X509* issuer, long notBefore,
                                long notAfter)
{
    static long serial = 0;
    CertificateOwner certificate(X509_new());
    require(certificate != nullptr, "certificate allocation");
    X509* raw = certificate.get();
    X509_NAME* name = X509_get_subject_name(raw);
    const QByteArray commonName = subject.toUtf8();
    require(X509_set_version(raw, X509_VERSION_3) == 1 && ASN1_INTEGER_set(X509_get_serialNumber(raw), ++serial) == 1
                && X509_gmtime_adj(X509_getm_notBefore(raw), notBefore) != nullptr
                && X509_gmtime_adj(X509_getm_notAfter(raw), notAfter) != nullptr && X509_set_pubkey(raw, subjectKey) == 1
                && X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                                              reinterpret_cast<const unsigned char*>(commonName.constData()), -1, -1, 0) == 1
                && X509_set_issuer_name(raw, issuer != nullptr ? X509_get_subject_name(issuer) : name) == 1,
            "certificate fields");
    return certificate;
}

void sign(X509* certificate, EVP_PKEY* issuerKey)
{
    require(X509_sign(certificate, issuerKey, EVP_sha256()) > 0, "signature");
}

QString alternativeNames(const QStringList& names)
{
    QStringList entries;
    for (const QString& name : names) {
        in_addr address{};
        const bool isAddress = ::inet_pton(AF_INET, name.toLatin1().constData(), &address) == 1;
        entries << (isAddress ? QStringLiteral("IP:") : QStringLiteral("DNS:")) + name;
    }
    return entries.join(u',');
}

} // namespace

TestAuthority::TestAuthority(const QString& name)
    : key_(newKey())
    , certificate_(newCertificate(name, key_.get(), nullptr, -kHour, kDay))
{
    addExtension(certificate_.get(), certificate_.get(), NID_basic_constraints, QStringLiteral("critical,CA:TRUE"));
    addExtension(certificate_.get(), certificate_.get(), NID_key_usage, QStringLiteral("critical,keyCertSign,cRLSign"));
    sign(certificate_.get(), key_.get());
}

ServerIdentity TestAuthority::issue(const QStringList& names, Validity validity) const
{
    ServerIdentity identity{newKey(), nullptr};
    const bool expired = validity == Validity::Expired;
    identity.certificate = newCertificate(names.value(0), identity.key.get(), certificate_.get(),
                                          expired ? -2 * kDay : -kHour, expired ? -kDay : kDay);
    X509* certificate = identity.certificate.get();
    addExtension(certificate, certificate_.get(), NID_basic_constraints, QStringLiteral("critical,CA:FALSE"));
    addExtension(certificate, certificate_.get(), NID_ext_key_usage, QStringLiteral("serverAuth"));
    addExtension(certificate, certificate_.get(), NID_subject_alt_name, alternativeNames(names));
    sign(certificate, key_.get());
    return identity;
}

void TestAuthority::writeCertificate(const QString& path) const
{
    const BioOwner pem(BIO_new(BIO_s_mem()));
    require(pem && PEM_write_bio_X509(pem.get(), certificate_.get()) == 1, "PEM encoding");
    char* data = nullptr;
    const long size = BIO_get_mem_data(pem.get(), &data);
    QFile file(path);
    require(file.open(QIODevice::WriteOnly) && file.write(data, size) == size, "writing the authority's certificate");
}
