#include "ModalityChoice.h"

#include "DataSource.h"
#include "Recordset.h"
#include "Statements.h"

ModalityChoice::ModalityChoice(qint32 signeChoisi, qint32 categorieChoisie, std::optional<qint32> selectedSyndrome)
    : m_use(signeChoisi > 0        ? Use::SyndromesOfSign
            : categorieChoisie > 0 ? Use::SignsOfCategory
                                   : Use::SignsOfSyndrome),
      m_signeChoisi(signeChoisi), m_categorieChoisie(categorieChoisie), m_syndrome(selectedSyndrome)
{}

QString ModalityChoice::statement() const
{
    switch (m_use) {
    case Use::SyndromesOfSign:
        return Statements::signSyndromes(m_signeChoisi);
    case Use::SignsOfCategory:
        return Statements::categoryListing(m_categorieChoisie);
    case Use::SignsOfSyndrome:
        return m_syndrome ? Statements::syndromeSigns(*m_syndrome) : QString();
    }
    return QString();
}

void ModalityChoice::load(DataSource &listeValeurs)
{
    m_entries.clear();
    const QString sql = statement();
    if (sql.isEmpty())
        return;
    listeValeurs.setRecordSource(sql);
    listeValeurs.refresh();
    Recordset &rs = *listeValeurs.recordset();
    // Last and back to first, as an engine that counts only the rows it has visited needs.
    rs.moveLast();
    rs.moveFirst();
    const int count = rs.recordCount();
    QList<ListEntry> read;
    read.reserve(count);
    for (int k = 0; k < count; ++k) {
        if (m_use == Use::SyndromesOfSign)
            read.append({rs.field(u"Nom").toString(), 0});
        else
            read.append({rs.field(u"Modalité").toString() + QStringLiteral(" (") +
                             QString::number(rs.field(u"Valeur").toLongLong()) + QStringLiteral(")"),
                         static_cast<qint32>(rs.field(u"NumModalité").toLongLong())});
        rs.moveNext();
    }
    rs.close();
    m_entries = std::move(read);
}

QList<bool> ModalityChoice::initialMarks(const QList<ListEntry> &signes) const
{
    QList<bool> marks(m_entries.size(), false);
    if (m_use == Use::SyndromesOfSign || signes.isEmpty())
        return marks;
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        for (const ListEntry &sign : signes)
            if (sign.text == m_entries[i].text)
                marks[i] = true;
    return marks;
}

QList<ModalityChoice::Edit> ModalityChoice::valider(const QList<ListEntry> &signes, const QList<bool> &marked) const
{
    QList<Edit> edits;
    // Read only as soon as a sign number was handed over, whatever was listed.
    if (m_signeChoisi != 0)
        return edits;
    QList<ListEntry> result = signes;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const ListEntry &entry = m_entries[i];
        qsizetype found = -1;
        for (qsizetype s = 0; s < result.size() && found < 0; ++s)
            if (result[s].text == entry.text)
                found = s;
        const bool isMarked = i < marked.size() && marked[i];
        if (!isMarked && found >= 0) {
            edits.append({Edit::Kind::Remove, int(found), {}});
            result.removeAt(found);
        } else if (isMarked && found < 0) {
            edits.append({Edit::Kind::Append, int(result.size()), entry});
            result.append(entry);
        }
    }
    return edits;
}

void ModalityChoice::apply(const QList<Edit> &edits, QList<ListEntry> &signes)
{
    for (const Edit &edit : edits) {
        if (edit.kind == Edit::Kind::Remove)
            signes.removeAt(edit.index);
        else
            signes.append(edit.entry);
    }
}
