#include "Ranking.h"

#include "DataSource.h"
#include "Recordset.h"
#include "Statements.h"

#include <vector>

namespace Ranking {

QList<ListEntry> classerSyndromes(DataSource &classement, const QList<ListEntry> &signs, const MethodTable &methods)
{
    QList<ListEntry> ranked;
    if (signs.isEmpty())
        return ranked;
    std::vector<qint32> numbers;
    numbers.reserve(signs.size());
    for (const ListEntry &sign : signs)
        numbers.push_back(sign.data);
    const QString methodCondition = Statements::rankingMethodCondition(methods);
    if (methodCondition.isEmpty())
        return ranked;

    classement.setRecordSource(Statements::ranking(Statements::rankingSignCondition(numbers), methodCondition));
    classement.refresh();
    Recordset &rs = *classement.recordset();
    const int n = rs.recordCount();
    for (int i = 0; i < n; ++i) {
        const qint32 sum = rs.weight(u"SommeDeValeur", QStringLiteral("Valorisation"));
        if (sum > Threshold)
            ranked.append(
                {rs.field(u"Nom").toString() + QStringLiteral("  (") + QString::number(sum) + QStringLiteral(")"),
                 rs.key(u"NumSyndrome", QStringLiteral("Syndromes"))});
        rs.moveNext();
    }
    rs.close();
    return ranked;
}

} // namespace Ranking
