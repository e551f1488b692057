#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <vector>

// Answers every modal message box that opens while it lives, the way an
// operator would press OK, and remembers what each one showed.
class MessageBoxWatcher final : public QObject {
public:
    struct Shown {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };

    MessageBoxWatcher();
    const std::vector<Shown>& shown() const { return shown_; }

private:
    void answerOpenBox();

    QTimer timer_;
    std::vector<Shown> shown_;
};
