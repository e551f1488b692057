#pragma once

#include "FixedClock.h"
#include "UPrincipal.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// The main window in a program folder of its own, on the offscreen platform, with a fixed
// clock and a screen whose free area the test chooses.
class MainWindow : public testing::Test {
protected:
    // A screen on which the window fits where it stands.
    static inline const QRect kLargeScreen{0, 0, 1920, 1050};

    std::unique_ptr<TForm1> create(QStringList arguments = {}, QRect screenArea = kLargeScreen);

    template <typename Control>
    static Control* control(const TForm1& window, const char* name)
    {
        auto* found = window.findChild<Control*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static QString pane(const TForm1& window);
    // Writes the document into the program folder; answers its path.
    QString writeDocument(const QString& name, const QByteArray& content) const;

    QTemporaryDir folder;
    FixedClock clock;
};
