// The settings file on file bytes: the two database locations are loaded and saved
// again, as the "Salvar" button does. The save must change nothing but the two entries
// (and add the section when missing), and the saved values must read back.
#include "DatabaseLocations.h"
#include "Error.h"
#include "FuzzCheck.h"
#include "Text.h"
#include "Windows1252.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

const QByteArray kLineBreak = QByteArrayLiteral("\r\n");

// The file's lines as bytes, each with its line feed; a last line without one as it is.
std::vector<QByteArray> linesOf(const QByteArray& content)
{
    std::vector<QByteArray> lines;
    for (qsizetype start = 0; start < content.size();) {
        const qsizetype lineFeed = content.indexOf('\n', start);
        const qsizetype end = lineFeed < 0 ? content.size() : lineFeed + 1;
        lines.push_back(content.mid(start, end - start));
        start = end;
    }
    return lines;
}

// A line that sets the key: not a comment, the name before "=" without regard to case and blanks.
bool setsKey(const QByteArray& line, const QString& key)
{
    const QString text = trimmed(fromWindows1252(line));
    const qsizetype equals = text.indexOf(u'=');
    return equals >= 0 && !text.startsWith(u';') && trimmed(text.left(equals)).compare(key, Qt::CaseInsensitive) == 0;
}

// A line the save wrote: each one at most once, in place of an earlier entry of its key
// (keeping that entry's line break, or its lack of one) or added.
struct WrittenLine {
    QByteArray text;
    QString replacesKey;
    bool seen = false;

    bool writtenAs(const QByteArray& line) const
    {
        const qsizetype lineBreak = line.endsWith("\r\n") ? 2 : line.endsWith('\n') ? 1 : 0;
        return line.chopped(lineBreak) == text;
    }
};

// Walks both files together: every line of the old file is in the new one, in order and
// unchanged, except the entries the save replaced; a last line without a line break may
// have gained one; anything else in the new file is a line the save wrote.
bool keepsEveryOtherLine(const QByteArray& before, const QByteArray& after, std::vector<WrittenLine> written)
{
    const std::vector<QByteArray> old = linesOf(before);
    const std::vector<QByteArray> saved = linesOf(after);
    std::size_t kept = 0;
    for (const QByteArray& line : saved) {
        if (kept < old.size()
            && (line == old[kept] || (kept + 1 == old.size() && !old[kept].endsWith('\n') && line == old[kept] + kLineBreak))) {
            ++kept;
            continue;
        }
        auto writtenLine = std::find_if(written.begin(), written.end(),
                                        [&line](const WrittenLine& candidate) { return !candidate.seen && candidate.writtenAs(line); });
        if (writtenLine == written.end())
            return false;
        writtenLine->seen = true;
        if (kept < old.size() && !writtenLine->replacesKey.isEmpty() && setsKey(old[kept], writtenLine->replacesKey))
            ++kept;
    }
    return kept == old.size();
}

QByteArray entryText(const QString& key, const QString& value)
{
    return toWindows1252(key + u'=' + value);
}

// The profile rules drop one pair of quotes around a value, so such a value reads back without them.
bool readsBackAsWritten(const QString& value)
{
    return value.size() < 2 || (value.front() != u'"' && value.front() != u'\'') || value.back() != value.front();
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    require(file.open(QIODevice::ReadOnly), "the saved settings file can be read");
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QTemporaryDir programFolder;
    const QString path = settingsFilePath(programFolder.path());
    const QByteArray before(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(before) == before.size(),
                "the settings file can be written");
    }

    const auto loaded = loadDatabaseLocations(programFolder.path());
    require(loaded.has_value(), "an existing settings file loads");
    try {
        saveDatabaseLocations(programFolder.path(), *loaded);
    } catch (const Error&) {
        require(false, "a settings file in a writable folder can be saved");
    }

    const QString backOffice = trimmed(loaded->backOffice);
    const QString orders = trimmed(loaded->orders);
    require(keepsEveryOtherLine(before, contentOf(path),
                                {{entryText(QStringLiteral("KELMORA"), backOffice), QStringLiteral("KELMORA")},
                                 {entryText(QStringLiteral("PEDIDOS"), orders), QStringLiteral("PEDIDOS")},
                                 {QByteArrayLiteral("[BASE]"), {}}}),
            "a save changes no line but the two entries");
    const auto reloaded = loadDatabaseLocations(programFolder.path());
    require(!readsBackAsWritten(backOffice) || reloaded->backOffice == backOffice, "the saved back-office location reads back");
    require(!readsBackAsWritten(orders) || reloaded->orders == orders, "the saved orders location reads back");
    return 0;
}
