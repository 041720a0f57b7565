#include "Explanations.h"

#include "DataSource.h"
#include "ModalityChoice.h"
#include "Recordset.h"
#include "Statements.h"

#include <QSet>

#include <optional>

namespace Explanations {

SyndromeSigns syndromeSigns(DataSource &listeValeurs, qint32 syndrome, const QList<ListEntry> &signes)
{
    QSet<qint32> recorded;
    for (const ListEntry &sign : signes)
        recorded.insert(sign.data);
    listeValeurs.setRecordSource(Statements::syndromeSigns(syndrome));
    listeValeurs.refresh();
    Recordset &rs = *listeValeurs.recordset();
    SyndromeSigns signs;
    for (; !rs.isEof(); rs.moveNext()) {
        const qint32 weight = rs.weight(u"Valeur", QStringLiteral("Valorisation"));
        const ListEntry entry = ModalityChoice::modalityEntry(rs.field(u"Modalité").toString(), weight,
                                                              rs.key(u"NumModalité", QStringLiteral("Modalités")));
        if (recorded.contains(entry.data)) {
            signs.supporting.append(entry.text);
            signs.sum += weight;
        } else {
            signs.others.append(entry.text);
        }
    }
    rs.close();
    return signs;
}

QString syndromeText(const SyndromeSigns &signs)
{
    QString text = foundText(signs);
    if (!signs.others.isEmpty())
        text += QStringLiteral(" Autres signes : ") + signs.others.join(QStringLiteral(", ")) + QLatin1Char('.');
    return text;
}

QString foundText(const SyndromeSigns &signs)
{
    const qsizetype found = signs.supporting.size();
    const qsizetype all = found + signs.others.size();
    QString text = found == 0   ? QStringLiteral("Aucun signe retrouvé sur %1").arg(all)
                   : found == 1 ? QStringLiteral("1 signe retrouvé sur %1").arg(all)
                                : QStringLiteral("%1 signes retrouvés sur %2").arg(found).arg(all);
    if (found > 0)
        text += QStringLiteral(" : ") + signs.supporting.join(QStringLiteral(", ")) +
                QStringLiteral(" — somme %1").arg(signs.sum);
    return text + QLatin1Char('.');
}

QString signText(DataSource &listeValeurs, qint32 modality)
{
    listeValeurs.setRecordSource(Statements::signSummary(modality));
    listeValeurs.refresh();
    Recordset &rs = *listeValeurs.recordset();
    if (rs.isEof())
        return {};
    const QString category = rs.field(u"Nom").toString();
    const long long count = rs.field(u"Compte").toLongLong();
    const std::optional<qint32> weight = rs.field(u"Valeur").isNull()
                                             ? std::nullopt
                                             : std::optional(rs.weight(u"Valeur", QStringLiteral("Valorisation")));
    rs.close();
    const QString syndromes = count == 0   ? QStringLiteral("n'indique aucun syndrome")
                              : count == 1 ? QStringLiteral("indique 1 syndrome")
                                           : QStringLiteral("indique %1 syndromes").arg(count);
    if (!weight)
        return QStringLiteral("Catégorie : %1 — %2.").arg(category, syndromes);
    return QStringLiteral("Catégorie : %1 — poids %2 — %3.").arg(category).arg(*weight).arg(syndromes);
}

} // namespace Explanations
