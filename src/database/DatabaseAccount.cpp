#include "DatabaseAccount.h"

#include "Error.h"

#include <ibase.h>

namespace {

// One item of the block: its tag, its length in one byte, its bytes.
void appendItem(QByteArray& block, char tag, const QString& value, const char* what)
{
    const QByteArray bytes = value.toLocal8Bit();
    if (bytes.size() > 255)
        throw Error(QStringLiteral("The database account's %1 is longer than 255 bytes").arg(QLatin1StringView(what)));
    block += tag;
    block += static_cast<char>(bytes.size());
    block += bytes;
}

} // namespace

QByteArray attachParameterBlock(const DatabaseAccount& account)
{
    QByteArray block(1, char(isc_dpb_version1));
    appendItem(block, char(isc_dpb_user_name), account.user, "user name");
    appendItem(block, char(isc_dpb_password), account.password, "password");
    return block;
}
