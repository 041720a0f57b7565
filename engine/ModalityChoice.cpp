#include "ModalityChoice.h"

#include "DataSource.h"
#include "Recordset.h"
#include "SignSearch.h"
#include "Statements.h"

#include <algorithm>

ModalityChoice::ModalityChoice(qint32 signeChoisi, qint32 categorieChoisie, std::optional<qint32> selectedSyndrome)
    : m_use(signeChoisi > 0        ? Use::SyndromesOfSign
            : categorieChoisie > 0 ? Use::SignsOfCategory
                                   : Use::SignsOfSyndrome),
      m_signeChoisi(signeChoisi), m_categorieChoisie(categorieChoisie), m_syndrome(selectedSyndrome)
{}

ModalityChoice ModalityChoice::forSearch()
{
    ModalityChoice choice(0, 0, std::nullopt);
    choice.m_use = Use::Search;
    return choice;
}

ListEntry ModalityChoice::modalityEntry(const QString &text, qint64 weight, qint32 number)
{
    return {text + QStringLiteral(" (") + QString::number(weight) + QStringLiteral(")"), number};
}

QString ModalityChoice::statement() const
{
    switch (m_use) {
    case Use::SyndromesOfSign:
        return Statements::signSyndromes(m_signeChoisi);
    case Use::SignsOfCategory:
        return Statements::categoryListing(m_categorieChoisie);
    case Use::SignsOfSyndrome:
        return m_syndrome ? Statements::syndromeSigns(*m_syndrome) : QString();
    case Use::Search:
        break;
    }
    return QString();
}

void ModalityChoice::load(DataSource &listeValeurs)
{
    m_entries.clear();
    if (m_use == Use::Search) {
        m_search = std::make_shared<const SignSearch>(listeValeurs.database());
        return;
    }
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
            read.append(modalityEntry(rs.field(u"Modalité").toString(), rs.field(u"Valeur").toLongLong(),
                                      rs.key(u"NumModalité", QStringLiteral("Modalités"))));
        rs.moveNext();
    }
    rs.close();
    m_entries = std::move(read);
}

void ModalityChoice::find(const QString &typed)
{
    m_entries.clear();
    m_categories.clear();
    m_more = 0;
    if (!m_search)
        return;
    const SignSearch::Result result = m_search->search(typed);
    for (const SignSearch::Found &found : result.found) {
        m_entries.append(found.entry);
        m_categories.append(found.category);
    }
    m_more = result.more;
}

void ModalityChoice::setMark(int index, bool marked)
{
    if (index < 0 || index >= m_entries.size())
        return;
    const ListEntry &entry = m_entries[index];
    for (auto &[changed, mark] : m_changed) {
        if (changed.text == entry.text) {
            mark = marked;
            return;
        }
    }
    m_changed.append({entry, marked});
}

QList<bool> ModalityChoice::initialMarks(const QList<ListEntry> &signes) const
{
    QList<bool> marks(m_entries.size(), false);
    if (m_use == Use::SyndromesOfSign)
        return marks;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        for (const ListEntry &sign : signes)
            if (sign.text == m_entries[i].text)
                marks[i] = true;
        for (const auto &[changed, mark] : m_changed)
            if (changed.text == m_entries[i].text)
                marks[i] = mark;
    }
    return marks;
}

QList<ModalityChoice::Edit> ModalityChoice::valider(const QList<ListEntry> &signes, const QList<bool> &marked) const
{
    // Read only as soon as a sign number was handed over, whatever was listed.
    if (m_signeChoisi != 0)
        return {};
    if (m_use != Use::Search)
        return edits(m_entries, signes, marked);
    QList<ListEntry> entries;
    QList<bool> marks;
    for (const auto &[changed, mark] : m_changed) {
        entries.append(changed);
        marks.append(mark);
    }
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const bool changed = std::any_of(m_changed.cbegin(), m_changed.cend(),
                                         [&](const auto &c) { return c.first.text == m_entries[i].text; });
        if (!changed) {
            entries.append(m_entries[i]);
            marks.append(i < marked.size() && marked[i]);
        }
    }
    return edits(entries, signes, marks);
}

QList<ModalityChoice::Edit> ModalityChoice::edits(const QList<ListEntry> &entries, const QList<ListEntry> &signes,
                                                  const QList<bool> &marked)
{
    QList<Edit> edits;
    QList<ListEntry> result = signes;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const ListEntry &entry = entries[i];
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
