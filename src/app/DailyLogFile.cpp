#include "DailyLogFile.h"

#include "IoError.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kKeptDays = 30;
// Lines are written in batches of this size: a write for every line would cost a run
// more than the lines themselves.
constexpr qsizetype kBatchBytes = 64 * 1024;
const QString kDayPattern = QStringLiteral("yyyy-MM-dd");
const QString kExtension = QStringLiteral(".log");

} // namespace

DailyLogFile::DailyLogFile(QString programFolder)
    : folder_(QDir(programFolder).filePath(QStringLiteral("logs")))
{
}

DailyLogFile::~DailyLogFile()
{
    flush();
}

void DailyLogFile::append(const QString& lines, const QDate& day)
{
    if (day != day_)
        open(day);
    if (!file_.isOpen())
        return;
    waiting_ += lines.toUtf8();
    if (!lines.endsWith(u'\n'))
        waiting_ += '\n';
    if (waiting_.size() >= kBatchBytes)
        flush();
}

void DailyLogFile::open(const QDate& day)
{
    // The lines of the day before belong to its own file.
    flush();
    day_ = day;
    QDir().mkpath(folder_);
    path_ = QDir(folder_).filePath(day.toString(kDayPattern) + kExtension);
    file_ = FileDescriptor(::open(QFile::encodeName(path_).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    if (!file_.isOpen()) {
        noteFailure(errno);
        return;
    }
    removeFilesBefore(day.addDays(1 - kKeptDays));
}

void DailyLogFile::flush()
{
    const QByteArray lines = std::exchange(waiting_, QByteArray());
    for (qsizetype written = 0; written < lines.size() && file_.isOpen();) {
        const ssize_t count = ::write(file_.get(), lines.constData() + written, static_cast<size_t>(lines.size() - written));
        if (count >= 0) {
            written += count;
        } else if (errno != EINTR) {
            noteFailure(errno);
            return;
        }
    }
}

void DailyLogFile::removeFilesBefore(const QDate& day) const
{
    const QDir folder(folder_);
    for (const QString& name : folder.entryList({QStringLiteral("*") + kExtension}, QDir::Files)) {
        const QDate fileDay = QDate::fromString(name.chopped(kExtension.size()), kDayPattern);
        if (fileDay.isValid() && fileDay < day)
            QFile::remove(folder.filePath(name));
    }
}

void DailyLogFile::noteFailure(int error)
{
    if (std::exchange(failureNoted_, true))
        return;
    untold_ = QStringLiteral("Não foi possível gravar o log em %1: %2").arg(path_, systemIoErrorMessage(error));
}
