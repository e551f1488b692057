#pragma once

#include "OrderImport.h"

#include <QString>
#include <QStringList>

// What a run did with the documents and orders it read, for its closing summary line
// and for how it ended.
class RunTally {
public:
    void add(OrderOutcome outcome);
    // An order, or a whole document, that could not be recorded.
    void addFailure() { ++failed_; }
    void addFailedDownload() { downloadFailed_ = true; }
    // A document that stays pending, with the orders of it that failed in this run.
    void addPending(const QString& document, const QStringList& failedOrders);
    // Where the run's new document came from, as the summary says it.
    void setSource(const QString& source) { source_ = source; }
    const QString& source() const { return source_; }

    bool anyFailed() const { return failed_ > 0; }
    bool downloadFailed() const { return downloadFailed_; }
    // "Resumo: ..." with the counts, the new document's source and the pending documents.
    QString summaryLine() const;

private:
    int recorded_ = 0;
    int alreadyRecorded_ = 0;
    int failed_ = 0;
    bool downloadFailed_ = false;
    QString source_ = QStringLiteral("nenhum");
    QStringList pending_;
};
