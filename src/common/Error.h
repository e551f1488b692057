#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The one failure type of the program: it carries the exact text the user sees.
class Error : public std::exception {
public:
    explicit Error(QString message);

    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};
