#include "FirebirdClient.h"

#include "Error.h"

#include <dlfcn.h>

namespace {

template <typename Function>
void resolve(void* library, const char* name, Function& target)
{
    dlerror();
    void* symbol = dlsym(library, name);
    if (symbol == nullptr)
        throw Error(QString::fromLocal8Bit(dlerror()));
    target = reinterpret_cast<Function>(symbol);
}

// Where the client library comes from, for the message of a library that is missing.
QString clientLibraryInstallHint()
{
#ifdef _WIN32
    return {};
#else
    return QStringLiteral("\nInstall the Debian package libfbclient2.");
#endif
}

} // namespace

QString defaultClientLibraryName()
{
#ifdef _WIN32
    return QStringLiteral("gds32.dll");
#else
    return QStringLiteral("libfbclient.so.2");
#endif
}

void FirebirdClient::LibraryCloser::operator()(void* library) const noexcept
{
    dlclose(library);
}

FirebirdClient::FirebirdClient(const QString& libraryFileName)
    : library_(dlopen(libraryFileName.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL))
{
    if (!library_) {
        throw Error(QStringLiteral("InterBase library %1 not found in the path. Please install InterBase to use "
                                   "this functionality%2")
                        .arg(libraryFileName, clientLibraryInstallHint()));
    }
    void* library = library_.get();
    resolve(library, "isc_attach_database", api_.isc_attach_database);
    resolve(library, "isc_database_info", api_.isc_database_info);
    resolve(library, "isc_detach_database", api_.isc_detach_database);
    resolve(library, "fb_ping", api_.fb_ping);
    resolve(library, "isc_start_multiple", api_.isc_start_multiple);
    resolve(library, "isc_commit_retaining", api_.isc_commit_retaining);
    resolve(library, "isc_commit_transaction", api_.isc_commit_transaction);
    resolve(library, "isc_rollback_retaining", api_.isc_rollback_retaining);
    resolve(library, "isc_rollback_transaction", api_.isc_rollback_transaction);
    resolve(library, "isc_dsql_alloc_statement2", api_.isc_dsql_alloc_statement2);
    resolve(library, "isc_dsql_prepare", api_.isc_dsql_prepare);
    resolve(library, "isc_dsql_sql_info", api_.isc_dsql_sql_info);
    resolve(library, "isc_dsql_describe_bind", api_.isc_dsql_describe_bind);
    resolve(library, "isc_dsql_describe", api_.isc_dsql_describe);
    resolve(library, "isc_dsql_execute", api_.isc_dsql_execute);
    resolve(library, "isc_dsql_fetch", api_.isc_dsql_fetch);
    resolve(library, "isc_dsql_free_statement", api_.isc_dsql_free_statement);
    resolve(library, "fb_interpret", api_.fb_interpret);
    resolve(library, "isc_vax_integer", api_.isc_vax_integer);
    resolve(library, "isc_encode_sql_date", api_.isc_encode_sql_date);
    resolve(library, "isc_decode_sql_date", api_.isc_decode_sql_date);
    resolve(library, "isc_decode_sql_time", api_.isc_decode_sql_time);
    resolve(library, "isc_encode_date", api_.isc_encode_date);
    resolve(library, "isc_decode_date", api_.isc_decode_date);
}

FirebirdClient::~FirebirdClient() = default;
