#pragma once

#include "FileDescriptor.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <utility>

// The log of the runs made from the window, kept after the window closes: every line of
// the log pane also goes to the file of its day in the program folder's "logs" folder
// ("logs/2024-03-15.log", UTF-8). The files of the last 30 days are kept: opening a day's
// file removes those of earlier days. Lines are written in batches of some kilobytes, and
// whatever waits on flush(). A file that cannot be written loses its lines and never
// stops a run; takeFailure() says so once.
class DailyLogFile {
public:
    explicit DailyLogFile(QString programFolder);
    ~DailyLogFile();
    DailyLogFile(const DailyLogFile&) = delete;
    DailyLogFile& operator=(const DailyLogFile&) = delete;

    // The pane's new lines, written on the day given.
    void append(const QString& lines, const QDate& day);
    void flush();
    // The message that tells the operator, the first time the log cannot be written only;
    // otherwise an empty text.
    QString takeFailure() { return std::exchange(untold_, QString()); }

private:
    void open(const QDate& day);
    void removeFilesBefore(const QDate& day) const;
    void noteFailure(int error);

    QString folder_;
    QDate day_;
    QString path_;
    FileDescriptor file_;
    QByteArray waiting_;
    bool failureNoted_ = false;
    QString untold_;
};
