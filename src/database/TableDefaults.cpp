#include "TableDefaults.h"

#include "Statement.h"

bool hasDefaultOrComputedColumn(Connection& connection, const QString& table)
{
    Statement query(connection,
                    QStringLiteral("SELECT FIRST 1 1 FROM RDB$RELATION_FIELDS R "
                                   "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = R.RDB$FIELD_SOURCE "
                                   "WHERE R.RDB$RELATION_NAME = ? AND (R.RDB$DEFAULT_VALUE IS NOT NULL "
                                   "OR F.RDB$DEFAULT_VALUE IS NOT NULL OR F.RDB$COMPUTED_BLR IS NOT NULL)"));
    query.execute({table});
    return query.fetch();
}
