#pragma once

#include "FirebirdApi.h"

#include <QString>

#include <memory>

// File name under which the client library is loaded on this platform.
QString defaultClientLibraryName();

// The Firebird client library, loaded by file name for the life of the object, and
// its functions. Constructing it fails with the user-visible message when the library
// or one of its functions cannot be found.
class FirebirdClient {
public:
    explicit FirebirdClient(const QString& libraryFileName = defaultClientLibraryName());
    ~FirebirdClient();

    FirebirdClient(const FirebirdClient&) = delete;
    FirebirdClient& operator=(const FirebirdClient&) = delete;

    const FirebirdApi& api() const noexcept { return api_; }

private:
    struct LibraryCloser {
        void operator()(void* library) const noexcept;
    };

    std::unique_ptr<void, LibraryCloser> library_;
    FirebirdApi api_;
};
