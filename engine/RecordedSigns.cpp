#include "RecordedSigns.h"

#include "DataSource.h"
#include "ModalityChoice.h"
#include "Recordset.h"
#include "Statements.h"

#include <algorithm>

namespace RecordedSigns {

Refreshed refresh(DataSource &listeValeurs, const QList<ListEntry> &signes)
{
    Refreshed refreshed;
    for (const ListEntry &sign : signes) {
        listeValeurs.setRecordSource(Statements::signEntry(sign.data));
        listeValeurs.refresh();
        Recordset &rs = *listeValeurs.recordset();
        if (rs.isEof())
            refreshed.gone.append(sign.text);
        else
            refreshed.signes.append(ModalityChoice::modalityEntry(
                rs.field(u"Modalité").toString(), rs.weight(u"Valeur", QStringLiteral("Valorisation")), sign.data));
        rs.close();
    }
    return refreshed;
}

void Removed::remember(const QList<ListEntry> &before, const QList<ListEntry> &after)
{
    m_removed.clear();
    for (qsizetype i = 0; i < before.size(); ++i) {
        const qint32 number = before[i].data;
        if (std::none_of(after.cbegin(), after.cend(), [number](const ListEntry &s) { return s.data == number; }))
            m_removed.append({i, before[i]});
    }
}

QList<ListEntry> Removed::restoredInto(const QList<ListEntry> &signes) const
{
    QList<ListEntry> restored = signes;
    for (const auto &[place, sign] : m_removed) {
        const qint32 number = sign.data;
        if (std::none_of(restored.cbegin(), restored.cend(), [number](const ListEntry &s) { return s.data == number; }))
            restored.insert(std::min(place, restored.size()), sign);
    }
    return restored;
}

} // namespace RecordedSigns
