#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The received order documents whose orders are not all recorded yet: copies in the
// folder "pendentes" of the program folder, named like their copies in "xmlrecebidos",
// so that their names sort oldest first. A document is kept before its orders are read
// and released once each of them is recorded, so a run that ends in any way, even
// killed, leaves it there for the next run.
class PendingDocuments {
public:
    explicit PendingDocuments(const QString& programFolder);

    QString folder() const { return folder_; }
    // The pending documents, oldest first.
    QStringList paths() const;
    // Keeps the content under the name and gives the pending document's path. A name in
    // use by another content gets a number; the same content is kept once. Fails with
    // the reason when the copy cannot be written whole.
    QString keep(const QByteArray& content, const QString& name) const;
    // The document leaves the folder. One that cannot is read again by the next run,
    // which finds its orders recorded and tries again.
    void release(const QString& path) const;

private:
    QString folder_;
};
