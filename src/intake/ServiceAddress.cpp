#include "ServiceAddress.h"

#include <algorithm>
#include <iterator>

namespace {

struct Scheme {
    QLatin1StringView prefix;
    bool encrypted;
    quint16 defaultPort;
};

constexpr Scheme kSchemes[] = {
    {QLatin1StringView("http://"), false, 80},
    {QLatin1StringView("https://"), true, 443},
};

// Blanks, control characters and non-ASCII letters would change or break the request line.
bool isPrintableAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar character) { return character.unicode() > 32 && character.unicode() < 127; });
}

} // namespace

std::optional<ServiceAddress> parseServiceAddress(const QString& address)
{
    const auto scheme = std::find_if(std::begin(kSchemes), std::end(kSchemes),
                                     [&address](const Scheme& candidate) { return address.startsWith(candidate.prefix); });
    if (scheme == std::end(kSchemes) || !isPrintableAscii(address))
        return std::nullopt;
    ServiceAddress parsed;
    parsed.encrypted = scheme->encrypted;
    parsed.port = scheme->defaultPort;
    const QString rest = address.sliced(scheme->prefix.size());
    const qsizetype slash = rest.indexOf(u'/');
    const QString authority = slash < 0 ? rest : rest.first(slash);

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
