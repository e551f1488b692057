#include "RunTally.h"

void RunTally::add(OrderOutcome outcome)
{
    if (outcome == OrderOutcome::Recorded)
        ++recorded_;
    else
        ++alreadyRecorded_;
}

void RunTally::addPending(const QString& document, const QStringList& failedOrders)
{
    pending_ << (failedOrders.isEmpty() ? document
                                        : QStringLiteral("%1 (%2)").arg(document, failedOrders.join(QStringLiteral(", "))));
}

QString RunTally::summaryLine() const
{
    return QStringLiteral("Resumo: pedidos importados %1, já importados %2, com falha %3; documento: %4; pendentes: %5")
        .arg(recorded_)
        .arg(alreadyRecorded_)
        .arg(failed_)
        .arg(source_, pending_.isEmpty() ? QStringLiteral("nenhum") : pending_.join(QStringLiteral("; ")));
}
