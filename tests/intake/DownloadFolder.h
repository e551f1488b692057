#pragma once

#include "OrderDownload.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

// Longer than any new body, so every success also shows the file cut to the new body.
inline const QByteArray kEarlierDocument(
    "<pedidos><pedido>documento da descarga anterior, mais longo que as respostas</pedido></pedidos>");

inline const DownloadLimits kTestLimits{std::chrono::seconds(5), std::chrono::seconds(5),
                                        DownloadLimits{}.maxBodySize};

// A program folder whose "recebido.xml" holds an earlier document when each test begins,
// so a failed download shows that it left the earlier document whole.
class DownloadFolder : public testing::Test {
protected:
    void SetUp() override { restoreEarlierDocument(); }

    void restoreEarlierDocument() const
    {
        QFile file(target());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kEarlierDocument);
    }

    QString target() const { return folder.filePath(QStringLiteral("recebido.xml")); }

    QByteArray stored() const
    {
        QFile file(target());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir folder;
};
