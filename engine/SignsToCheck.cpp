#include "SignsToCheck.h"

#include "DataSource.h"
#include "Explanations.h"
#include "ModalityChoice.h"
#include "Ranking.h"
#include "Recordset.h"
#include "Statements.h"

#include <algorithm>

namespace SignsToCheck {

namespace {

struct Linked {
    ListEntry entry;
    qint32 weight;
};

// A syndrome's weighed signs, in the listing's text order (the French collation).
QList<Linked> signsOf(DataSource &listeValeurs, qint32 syndrome)
{
    listeValeurs.setRecordSource(Statements::syndromeSigns(syndrome));
    listeValeurs.refresh();
    Recordset &rs = *listeValeurs.recordset();
    QList<Linked> signs;
    for (; !rs.isEof(); rs.moveNext()) {
        const qint32 weight = rs.weight(u"Valeur", QStringLiteral("Valorisation"));
        signs.append({ModalityChoice::modalityEntry(rs.field(u"Modalité").toString(), weight,
                                                    rs.key(u"NumModalité", QStringLiteral("Modalités"))),
                      weight});
    }
    rs.close();
    return signs;
}

} // namespace

QList<int> leading(const QList<ListEntry> &ranked)
{
    QList<int> leaders;
    std::optional<qint32> first;
    for (int i = 0; i < ranked.size() && leaders.size() < MostLeading; ++i) {
        const std::optional<Ranking::Ranked> entry = Ranking::readEntry(ranked[i].text);
        if (!entry)
            continue;
        if (!first)
            first = entry->sum;
        if (2 * qint64(entry->sum) >= *first)
            leaders.append(i);
    }
    return leaders;
}

QList<Group> groups(DataSource &listeValeurs, const QList<ListEntry> &ranked, const QList<ListEntry> &signes)
{
    QSet<qint32> recorded;
    for (const ListEntry &sign : signes)
        recorded.insert(sign.data);
    const QList<int> leaders = leading(ranked);
    QList<QList<Linked>> signs;
    QList<QSet<qint32>> numbers;
    QStringList names;
    for (int at : leaders) {
        signs.append(signsOf(listeValeurs, ranked[at].data));
        QSet<qint32> linked;
        for (const Linked &sign : std::as_const(signs.last()))
            linked.insert(sign.entry.data);
        numbers.append(linked);
        names.append(Ranking::readEntry(ranked[at].text)->name);
    }

    QList<Group> groups;
    for (qsizetype g = 0; g < leaders.size(); ++g) {
        Group group{ranked[leaders[g]], names[g], {}, {}};
        Explanations::SyndromeSigns split;
        QList<Sign> alone, shared;
        QSet<qint32> listed;
        for (const Linked &sign : std::as_const(signs[g])) {
            if (recorded.contains(sign.entry.data)) {
                split.supporting.append(sign.entry.text);
                split.sum += sign.weight;
                continue;
            }
            split.others.append(sign.entry.text);
            if (listed.contains(sign.entry.data))
                continue;
            listed.insert(sign.entry.data);
            QStringList also;
            for (qsizetype h = 0; h < leaders.size(); ++h)
                if (h != g && numbers[h].contains(sign.entry.data))
                    also.append(names[h]);
            if (leaders.size() > 1 && also.size() == leaders.size() - 1)
                continue;
            (also.isEmpty() ? alone : shared).append({sign.entry, sign.weight, also});
        }
        group.found = Explanations::foundText(split);
        // Stable: signs of equal weight keep the listing's text order.
        const auto heaviestFirst = [](const Sign &a, const Sign &b) { return a.weight > b.weight; };
        std::stable_sort(alone.begin(), alone.end(), heaviestFirst);
        std::stable_sort(shared.begin(), shared.end(), heaviestFirst);
        group.toCheck = (alone + shared).first(std::min<qsizetype>(MostToCheck, alone.size() + shared.size()));
        groups.append(group);
    }
    return groups;
}

QString alsoText(const Sign &sign)
{
    return sign.alsoFor.isEmpty() ? QString() : QStringLiteral("aussi ") + sign.alsoFor.join(QStringLiteral(", "));
}

QString spokenName(const Group &group, const Sign &sign)
{
    const QString also = alsoText(sign);
    return sign.entry.text + QStringLiteral(", pour ") + group.name +
           (also.isEmpty() ? also : QStringLiteral(", ") + also);
}

QString tipLine(const Group &group)
{
    if (group.toCheck.isEmpty())
        return {};
    QStringList first;
    for (const Sign &sign : group.toCheck.first(std::min<qsizetype>(InTip, group.toCheck.size())))
        first.append(sign.entry.text);
    return QStringLiteral("À vérifier : ") + first.join(QStringLiteral(", ")) + QLatin1Char('.');
}

QList<ListEntry> record(const QList<Group> &groups, const QList<ListEntry> &signes, const QSet<qint32> &marked)
{
    QList<ListEntry> recorded = signes;
    QSet<qint32> have;
    for (const ListEntry &sign : signes)
        have.insert(sign.data);
    for (const Group &group : groups)
        for (const Sign &sign : group.toCheck)
            if (marked.contains(sign.entry.data) && !have.contains(sign.entry.data)) {
                recorded.append(sign.entry);
                have.insert(sign.entry.data);
            }
    return recorded;
}

} // namespace SignsToCheck
