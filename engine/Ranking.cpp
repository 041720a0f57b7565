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
                {entryText(rs.field(u"Nom").toString(), sum), rs.key(u"NumSyndrome", QStringLiteral("Syndromes"))});
        rs.moveNext();
    }
    rs.close();
    return ranked;
}

QString entryText(const QString &name, qint64 sum)
{
    return name + QStringLiteral("  (") + QString::number(sum) + QStringLiteral(")");
}

std::optional<Ranked> readEntry(const QString &text)
{
    // The last "  (" opens the sum: a name may hold parentheses of its own.
    const qsizetype open = text.lastIndexOf(QStringLiteral("  ("));
    if (open < 0 || !text.endsWith(QLatin1Char(')')))
        return std::nullopt;
    bool ok = false;
    const qint32 sum = QStringView(text).sliced(open + 3, text.size() - open - 4).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return Ranked{text.left(open), sum};
}

} // namespace Ranking
