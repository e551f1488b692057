#include "ImportContext.h"

QString ImportContext::lookup(const QString& table, const QString& field, const QString& condition,
                              Connection& connection) const
{
    return PTAB(table, field, condition, connection, log, regional);
}
