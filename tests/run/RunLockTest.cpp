#include "Error.h"
#include "RunLock.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(RunLock, OneHolderAtATimeAndReleasedWithItsOwner)
{
    const QTemporaryDir folder;
    {
        const auto first = RunLock::tryAcquire(folder.path());
        ASSERT_TRUE(first);
        EXPECT_FALSE(RunLock::tryAcquire(folder.path()));
    }
    EXPECT_TRUE(RunLock::tryAcquire(folder.path()));
}

TEST(RunLock, AnotherProcessHoldingItKeepsTheRunOut)
{
    const QTemporaryDir folder;
    const QString lockFile = folder.filePath(QStringLiteral("integracao-tarvelo.lock"));
    QProcess holder;
    // The shell takes the lock on its own descriptor and becomes "sleep", so the
    // process that holds the lock is the one that gets killed.
    holder.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec 9>>\"$0\" && flock 9 && exec sleep 30"), lockFile});
    ASSERT_TRUE(holder.waitForStarted());
    // The holder may need a moment to take the lock; wait until the run sees it held.
    bool held = false;
    for (int attempt = 0; attempt < 500 && !held; ++attempt) {
        held = !RunLock::tryAcquire(folder.path());
        if (!held)
            QThread::msleep(10);
    }
    EXPECT_TRUE(held);
    holder.kill();
    holder.waitForFinished();
    EXPECT_TRUE(RunLock::tryAcquire(folder.path())) << "a killed holder leaves no lock behind";
}

TEST(RunLock, AProgramFolderThatCannotHoldTheFileFails)
{
    const QTemporaryDir folder;
    EXPECT_THROW(RunLock::tryAcquire(folder.filePath(QStringLiteral("nao-existe"))), Error);
}
