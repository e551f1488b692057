#include "StRateLookup.h"

#include "Numbers.h"
#include "RunLog.h"
#include "SingleValueLookup.h"
#include "StatementText.h"
#include "Text.h"

double calculast(const QString& originUf, const QString& destinationUf, std::int32_t productCode,
                 std::int32_t enquadramento, Connection& baseADM, RunLog& log, const RegionalSettings& regional)
{
    log.log(QStringLiteral("CALCULO ST - UF ORIGEM:") + originUf);
    log.log(QStringLiteral("CALCULO ST - UF DESTINO:") + destinationUf);
    log.log(QStringLiteral("CALCULO ST - COD PRODUTO") + QString::number(productCode));
    log.log(QStringLiteral("CALCULO ST - ENQUADRAMENTO: ") + QString::number(enquadramento));

    const QString condition =
        QStringLiteral(" A.PRD_NCM = B.NCM_CODIGO AND B.NCM_ICMS = C.TAB_CODIGO AND C.ICM_UFORIGEM = '")
        + withQuotesDoubled(originUf) + QStringLiteral("'")
        + QStringLiteral("AND ICM_BASECOMPRA <> 0 AND ICM_ICMCOMPRA <> 0 AND C.ICM_UF = ") + QStringLiteral("'")
        + withQuotesDoubled(destinationUf) + QStringLiteral("'") + QStringLiteral("AND A.PRD_CODIGO = ")
        + QString::number(productCode) + QStringLiteral(" AND C.ICM_ENQUADRAMENTO = ") + QString::number(enquadramento);
    QString answer = PTAB(QStringLiteral("PRODUTOS A, NCM B, ICMS C"),
                          QStringLiteral("coalesce(cast((((COALESCE(ICM_BASECOMPRA,0) * COALESCE(ICM_ICMCOMPRA,0)) - "
                                         "COALESCE(ICM_BASEVENDA,0) * COALESCE(ICM_ICMVENDA,0))/100)as "
                                         "numeric(15,2)),0) as ALIQUOTA_ST"),
                          condition, baseADM, log, regional);
    if (trimmed(answer).isEmpty())
        answer = QStringLiteral("0");
    log.log(QStringLiteral("CALCULO ST - RETORNO: ") + answer);
    return parseFloat(answer, regional.decimalSeparator) / 100;
}
