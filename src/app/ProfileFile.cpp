#include "ProfileFile.h"

#include "Error.h"
#include "FileReplacement.h"
#include "Text.h"
#include "Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>
#include <vector>

namespace {

constexpr qsizetype kLongestValue = 2047;
const QByteArray kLineBreak = QByteArrayLiteral("\r\n");

// One line of the file, its text and the line break it ended with (empty for a last line without one).
struct Line {
    QString text;
    QByteArray ending;
};

std::vector<Line> readLines(const QString& path)
{
    std::vector<Line> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    const QByteArray content = file.readAll();
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0) {
            lines.push_back({fromWindows1252(content.mid(start)), {}});
            break;
        }
        const qsizetype textEnd = end > start && content[end - 1] == '\r' ? end - 1 : end;
        lines.push_back({fromWindows1252(content.mid(start, textEnd - start)), content.mid(textEnd, end + 1 - textEnd)});
        start = end + 1;
    }
    return lines;
}

std::optional<QString> sectionName(const QString& line)
{
    const QString text = trimmed(line);
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.indexOf(u']');
    return trimmed(text.mid(1, close < 0 ? -1 : close - 1));
}

bool isComment(const QString& line)
{
    return trimmed(line).startsWith(u';');
}

std::optional<QString> entryKey(const QString& line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0 || isComment(line))
        return std::nullopt;
    return trimmed(line.left(equals));
}

QString entryValue(const QString& line)
{
    QString value = trimmed(line.mid(line.indexOf(u'=') + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the section's header line, or -1.
qsizetype findSection(const std::vector<Line>& lines, const QString& section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (name && sameName(*name, section))
            return static_cast<qsizetype>(i);
    }
    return -1;
}

// Index one past the last line of the section that starts at header.
qsizetype sectionEnd(const std::vector<Line>& lines, qsizetype header)
{
    qsizetype i = header + 1;
    while (i < static_cast<qsizetype>(lines.size()) && !sectionName(lines[i].text))
        ++i;
    return i;
}

} // namespace

ProfileFile::ProfileFile(QString path)
    : path_(std::move(path))
{
}

QString ProfileFile::readString(const QString& section, const QString& key) const
{
    const std::vector<Line> lines = readLines(path_);
    const qsizetype header = findSection(lines, section);
    if (header < 0)
        return {};
    for (qsizetype i = header + 1, end = sectionEnd(lines, header); i < end; ++i) {
        const auto name = entryKey(lines[i].text);
        if (name && sameName(*name, key))
            return entryValue(lines[i].text).left(kLongestValue);
    }
    return {};
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value) const
{
    std::vector<Line> lines = readLines(path_);
    const Line entry{key + u'=' + value, kLineBreak};
    // A new line must not be glued to a last line that has no line break.
    const auto insertAt = [&lines](qsizetype position, Line line) {
        if (position > 0 && lines[position - 1].ending.isEmpty())
            lines[position - 1].ending = kLineBreak;
        lines.insert(lines.begin() + position, std::move(line));
    };

    const qsizetype header = findSection(lines, section);
    if (header < 0) {
        insertAt(static_cast<qsizetype>(lines.size()), {u'[' + section + u']', kLineBreak});
        insertAt(static_cast<qsizetype>(lines.size()), entry);
    } else {
        const qsizetype end = sectionEnd(lines, header);
        qsizetype lastEntry = header;
        bool replaced = false;
        for (qsizetype i = header + 1; i < end && !replaced; ++i) {
            const auto name = entryKey(lines[i].text);
            if (!name)
                continue;
            lastEntry = i;
            if (sameName(*name, key)) {
                lines[i].text = entry.text;
                replaced = true;
            }
        }
        if (!replaced)
            insertAt(lastEntry + 1, entry);
    }

    QByteArray content;
    for (const Line& line : lines)
        content += toWindows1252(line.text) + line.ending;

    // A file without any write permission is write-protected for every user, the administrator included.
    const QFileInfo existing(path_);
    const bool writeProtected = existing.exists()
        && (!existing.isWritable() || !(existing.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)));
    if (writeProtected || !replaceFileContent(path_, content))
        throw Error(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path_)));
}
