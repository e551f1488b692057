#include "OrderFileScan.h"

#include "Error.h"
#include "IoError.h"
#include "RunLog.h"
#include "Windows1252.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

const QString kNoNewOrdersWords = QStringLiteral("pedidos novos");

bool isNoNewOrdersAnswer(const QString& line)
{
    return line.startsWith(u'N') && line.contains(kNoNewOrdersWords);
}

// A line ends at LF; a CR right before it belongs to the line break, any other CR is dropped.
QString lineText(QByteArray bytes)
{
    bytes.removeIf([](char c) { return c == '\r'; });
    return fromWindows1252(bytes);
}

} // namespace

bool scanOrderFile(const QString& path, RunLog& log)
{
    errno = 0;
    const FileHandle file(std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!file)
        throw Error(systemIoErrorMessage(errno));

    bool importable = true;
    const auto take = [&](const QByteArray& bytes) {
        const QString line = lineText(bytes);
        log.appendRaw(line);
        if (isNoNewOrdersAnswer(line))
            importable = false;
    };

    QByteArray pending;
    char buffer[1 << 16];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        pending.append(buffer, static_cast<qsizetype>(count));
        qsizetype start = 0;
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n', start)) {
            take(pending.mid(start, end - start));
            start = end + 1;
        }
        pending.remove(0, start);
    }
    if (std::ferror(file.get()))
        throw Error(systemIoErrorMessage(errno));
    if (!pending.isEmpty())
        take(pending);
    return importable;
}
