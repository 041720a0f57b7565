#include "ModalityChoice.h"

#include "DataSource.h"
#include "Recordset.h"
#include "SignSearch.h"
#include "Statements.h"

#include <algorithm>

namespace {

bool recorded(const QList<ListEntry> &signes, qint32 number)
{
    return std::any_of(signes.cbegin(), signes.cend(), [number](const ListEntry &s) { return s.data == number; });
}

// Brings `signes` in line with the marks of `entries`, entry by entry.
QList<ListEntry> applyMarks(QList<ListEntry> signes, const QList<ListEntry> &entries, const QList<bool> &marked)
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const ListEntry &entry = entries[i];
        if (i < marked.size() && marked[i]) {
            if (!recorded(signes, entry.data))
                signes.append(entry);
        } else {
            signes.removeIf([&entry](const ListEntry &s) { return s.data == entry.data; });
        }
    }
    return signes;
}

} // namespace

ModalityChoice ModalityChoice::forCategory(qint32 category)
{
    return {Use::SignsOfCategory, category};
}

ModalityChoice ModalityChoice::forSyndrome(std::optional<qint32> syndrome)
{
    return {Use::SignsOfSyndrome, syndrome};
}

ModalityChoice ModalityChoice::forSign(qint32 sign)
{
    return {Use::SyndromesOfSign, sign};
}

ModalityChoice ModalityChoice::forSearch(SignSearchCache *cache)
{
    ModalityChoice choice{Use::Search, std::nullopt};
    choice.m_cache = cache;
    return choice;
}

ListEntry ModalityChoice::modalityEntry(const QString &text, qint64 weight, qint32 number)
{
    return {text + QStringLiteral(" (") + QString::number(weight) + QStringLiteral(")"), number};
}

QString ModalityChoice::statement() const
{
    if (!m_number)
        return QString();
    switch (m_use) {
    case Use::SyndromesOfSign:
        return Statements::signSyndromes(*m_number);
    case Use::SignsOfCategory:
        return Statements::categoryListing(*m_number);
    case Use::SignsOfSyndrome:
        return Statements::syndromeSigns(*m_number);
    case Use::Search:
        break;
    }
    return QString();
}

void ModalityChoice::load(DataSource &listeValeurs)
{
    m_entries.clear();
    if (m_use == Use::Search) {
        m_search = m_cache ? m_cache->search(listeValeurs) : std::make_shared<const SignSearch>(listeValeurs);
        return;
    }
    const QString sql = statement();
    if (sql.isEmpty())
        return;
    listeValeurs.setRecordSource(sql);
    listeValeurs.refresh();
    Recordset &rs = *listeValeurs.recordset();
    QList<ListEntry> read;
    read.reserve(rs.recordCount());
    for (; !rs.isEof(); rs.moveNext()) {
        if (m_use == Use::SyndromesOfSign)
            read.append({rs.field(u"Nom").toString(), 0});
        else
            read.append(modalityEntry(rs.field(u"Modalité").toString(),
                                      rs.weight(u"Valeur", QStringLiteral("Valorisation")),
                                      rs.key(u"NumModalité", QStringLiteral("Modalités"))));
    }
    rs.close();
    m_entries = std::move(read);
}

void ModalityChoice::find(const QString &typed)
{
    m_entries.clear();
    m_categories.clear();
    m_replacements.clear();
    m_retired.clear();
    m_more = 0;
    if (!m_search)
        return;
    const SignSearch::Result result = m_search->search(typed);
    for (const SignSearch::Found &found : result.found) {
        m_entries.append(found.entry);
        m_categories.append(found.category);
        m_replacements.append(found.replacements);
        m_retired.append(found.retired);
    }
    m_more = result.more;
}

bool ModalityChoice::isRetired(int index) const
{
    return m_retired.value(index);
}

bool ModalityChoice::isMarkable(int index) const
{
    return !isRetired(index) || !m_replacements.value(index).isEmpty();
}

std::optional<bool> ModalityChoice::changedMark(qint32 number) const
{
    for (const auto &[changed, mark] : m_changed)
        if (changed.data == number)
            return mark;
    return std::nullopt;
}

void ModalityChoice::setLiveMark(const ListEntry &entry, bool marked)
{
    m_retiredMarks.clear();
    for (auto &[changed, mark] : m_changed) {
        if (changed.data == entry.data) {
            mark = marked;
            return;
        }
    }
    m_changed.append({entry, marked});
}

void ModalityChoice::setMark(int index, bool marked)
{
    if (index < 0 || index >= m_entries.size() || !isMarkable(index))
        return;
    if (!isRetired(index))
        return setLiveMark(m_entries[index], marked);
    if (marked)
        for (const ListEntry &live : std::as_const(m_replacements[index]))
            setLiveMark(live, true);
    const qint32 number = m_entries[index].data;
    m_retiredMarks.removeIf([number](const auto &m) { return m.first == number; });
    m_retiredMarks.append({number, marked});
}

QList<bool> ModalityChoice::initialMarks(const QList<ListEntry> &signes) const
{
    QList<bool> marks(m_entries.size(), false);
    if (m_use == Use::SyndromesOfSign)
        return marks;
    const auto markedNow = [&](qint32 number) { return changedMark(number).value_or(recorded(signes, number)); };
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const qint32 number = m_entries[i].data;
        if (!isRetired(int(i))) {
            marks[i] = markedNow(number);
            continue;
        }
        const QList<ListEntry> &live = m_replacements[i];
        marks[i] = !live.isEmpty() &&
                   std::all_of(live.cbegin(), live.cend(), [&](const ListEntry &sign) { return markedNow(sign.data); });
        for (const auto &[retired, mark] : m_retiredMarks)
            if (retired == number)
                marks[i] = mark;
    }
    return marks;
}

QList<ListEntry> ModalityChoice::valider(const QList<ListEntry> &signes, const QList<bool> &marked) const
{
    if (m_use == Use::SyndromesOfSign)
        return signes;
    if (m_use != Use::Search)
        return applyMarks(signes, m_entries, marked);
    QList<ListEntry> entries;
    QList<bool> marks;
    for (const auto &[changed, mark] : m_changed) {
        entries.append(changed);
        marks.append(mark);
    }
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (isRetired(int(i)) || changedMark(m_entries[i].data))
            continue;
        entries.append(m_entries[i]);
        marks.append(i < marked.size() && marked[i]);
    }
    return applyMarks(signes, entries, marks);
}
