#include "RecordedSigns.h"

#include "DataSource.h"
#include "ModalityChoice.h"
#include "Recordset.h"
#include "Statements.h"

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

} // namespace RecordedSigns
