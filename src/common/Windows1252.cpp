#include "Windows1252.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

// Bytes 0x80 to 0x9F; the five bytes the code page leaves undefined map to the
// control character of the same number, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t characterOf(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControlBlock[byte - 0x80];
    return byte;
}

std::optional<char> byteOf(char16_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<char>(character);
    for (std::size_t i = 0; i < kHighControlBlock.size(); ++i) {
        if (kHighControlBlock[i] == character)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

QString fromWindows1252(const char* bytes, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        text[i] = QChar(characterOf(static_cast<unsigned char>(bytes[i])));
    return text;
}

QString fromWindows1252(const QByteArray& bytes)
{
    return fromWindows1252(bytes.constData(), bytes.size());
}

QByteArray toWindows1252(const QString& text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        bytes[i] = byteOf(text[i].unicode()).value_or('?');
    return bytes;
}

bool fitsWindows1252(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar character) { return byteOf(character.unicode()).has_value(); });
}
