#include "ServiceAddress.h"

#include <algorithm>

namespace {

// Blanks, control characters and non-ASCII letters would change or break the request line.
bool isPrintableAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar character) { return character.unicode() > 32 && character.unicode() < 127; });
}

} // namespace

std::optional<ServiceAddress> parseServiceAddress(const QString& address)
{
    const QLatin1StringView scheme("http://");
    if (!address.startsWith(scheme) || !isPrintableAscii(address))
        return std::nullopt;
    const QString rest = address.sliced(scheme.size());
    const qsizetype slash = rest.indexOf(u'/');
    const QString authority = slash < 0 ? rest : rest.first(slash);

    ServiceAddress parsed;
    parsed.target = slash < 0 ? QByteArray("/") : rest.sliced(slash).toLatin1();
    const qsizetype colon = authority.indexOf(u':');
    parsed.host = authority.first(colon < 0 ? authority.size() : colon).toLatin1();
    if (parsed.host.isEmpty())
        return std::nullopt;
    if (colon >= 0) {
        const QString portText = authority.sliced(colon + 1);
        const bool digitsOnly = std::all_of(portText.begin(), portText.end(), [](QChar c) { return c.isDigit(); });
        const uint port = digitsOnly && portText.size() <= 5 ? portText.toUInt() : 0;
        if (port == 0 || port > 65535)
            return std::nullopt;
        parsed.port = static_cast<quint16>(port);
    }
    return parsed;
}
