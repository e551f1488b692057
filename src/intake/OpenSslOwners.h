#pragma once

#include <openssl/bio.h>
#include <openssl/ssl.h>

#include <memory>

// Sole owners of OpenSSL objects, each released with the library's own function.
template <auto release>
struct OpenSslRelease {
    template <typename Object>
    void operator()(Object* object) const noexcept
    {
        release(object);
    }
};

using SslContextOwner = std::unique_ptr<SSL_CTX, OpenSslRelease<&SSL_CTX_free>>;
using SslOwner = std::unique_ptr<SSL, OpenSslRelease<&SSL_free>>;
using BioOwner = std::unique_ptr<BIO, OpenSslRelease<&BIO_free>>;
