#include "SignSearch.h"

#include "DataSource.h"
#include "Database.h"
#include "FrenchCollation.h"
#include "ModalityChoice.h"
#include "Recordset.h"
#include "Statements.h"
#include "TextFold.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <numeric>

namespace {

// Typed words beyond these are not looked for.
constexpr qsizetype MostWords = 64;

QString retiredText(const QString &text, const QList<ListEntry> &replacements, const QStringList &names)
{
    if (replacements.isEmpty())
        return text + QStringLiteral(" : ne correspond à aucun syndrome de la base");
    return text + QStringLiteral(" → ") + names.join(QStringLiteral(" + "));
}

// A word's first letter as one bit of 64: a quick test that a sign cannot match before
// its words are compared. Letters and digits have a bit each, the rest share the others.
quint64 initial(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'a' && u <= u'z')
        return quint64(1) << (u - u'a');
    if (u >= u'0' && u <= u'9')
        return quint64(1) << (26 + u - u'0');
    return quint64(1) << (36 + u % 28);
}

// The order within a match group: live before retired, shorter before longer, then French.
quint64 order(bool retired, qsizetype length, int rank)
{
    return quint64(retired) << 55 | quint64(std::min<qsizetype>(length, (1 << 23) - 1)) << 32 | quint32(rank);
}

} // namespace

QList<QStringView> SignSearch::words(QStringView folded)
{
    QList<QStringView> found;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= folded.size(); ++i) {
        const bool inWord = i < folded.size() && folded[i].isLetterOrNumber();
        if (inWord && start < 0)
            start = i;
        else if (!inWord && start >= 0) {
            found.append(folded.sliced(start, i - start));
            start = -1;
        }
    }
    return found;
}

SignSearch::Words SignSearch::addWords(const QString &text)
{
    const QString folded = TextFold::fold(text);
    Words added{int(m_words.size()), 0, 0};
    for (QStringView w : words(folded)) {
        m_words.push_back({int(m_folded.size()), int(w.size())});
        m_folded += w;
        added.initials |= initial(w.front());
        ++added.count;
    }
    return added;
}

QStringView SignSearch::word(int index) const
{
    return QStringView(m_folded).sliced(m_words[index].start, m_words[index].length);
}

SignSearch::SignSearch(DataSource &listeValeurs)
{
    Database &db = listeValeurs.database();
    QHash<QString, int> categoryIndex;
    const auto categoryOf = [&](const QString &name) {
        const auto it = categoryIndex.constFind(name);
        if (it != categoryIndex.cend())
            return *it;
        const int index = int(m_categories.size());
        categoryIndex.insert(name, index);
        m_categories.push_back({addWords(name), name});
        return index;
    };
    std::vector<QString> texts;
    const auto add = [&](Listed listed, const QString &text, const QString &category) {
        m_signs.push_back({addWords(text), categoryOf(category), order(listed.retired, text.size(), 0)});
        m_listed.push_back(std::move(listed));
        texts.push_back(text);
    };

    auto live = db.openNative(Statements::searchableSigns());
    m_signs.reserve(live->recordCount());
    m_listed.reserve(live->recordCount());
    texts.reserve(live->recordCount());
    const QString modalites = QStringLiteral("Modalités");
    for (; !live->isEof(); live->moveNext()) {
        const QString text = live->field(u"Modalité").toString();
        add({ModalityChoice::modalityEntry(text, live->weight(u"Valeur", QStringLiteral("Valorisation")),
                                           live->key(u"NumModalité", modalites)),
             false,
             {}},
            text, live->field(u"Catégorie").toString());
    }

    // A base older than the table of replacements lists its signs without weight nowhere.
    if (db.openNative(Statements::replacementTableCount())->field(u"Compte").toInt() > 0) {
        QHash<qint32, QList<ListEntry>> replacing;
        QHash<qint32, QStringList> names;
        const QString remplacements = QStringLiteral("Remplacements");
        for (auto rs = db.openNative(Statements::replacements()); !rs->isEof(); rs->moveNext()) {
            const qint32 retired = rs->key(u"NumModalité", remplacements);
            const QString text = rs->field(u"Modalité").toString();
            replacing[retired].append(
                ModalityChoice::modalityEntry(text, rs->weight(u"Valeur", QStringLiteral("Valorisation")),
                                              rs->key(u"NumRemplaçante", remplacements)));
            names[retired].append(text);
        }
        for (auto rs = db.openNative(Statements::retiredSigns()); !rs->isEof(); rs->moveNext()) {
            const QString text = rs->field(u"Modalité").toString();
            const qint32 number = rs->key(u"NumModalité", modalites);
            const QList<ListEntry> live = replacing.value(number);
            add({{retiredText(text, live, names.value(number)), number}, true, live}, text,
                rs->field(u"Catégorie").toString());
        }
    }

    // Ranks in French order, from one sort key per text: far fewer collations than
    // comparing each pair.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const QString &text : texts)
        keys.push_back(FrenchCollation::sortKey(text));
    std::vector<int> byText(texts.size());
    std::iota(byText.begin(), byText.end(), 0);
    std::stable_sort(byText.begin(), byText.end(), [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    for (int rank = 0; rank < int(byText.size()); ++rank)
        m_signs[byText[rank]].order |= quint32(rank);
}

SignSearch::~SignSearch() = default;

int SignSearch::group(const Words &words, const QList<QStringView> &typed) const
{
    const auto own = [&](qsizetype k) { return word(words.first + int(k)); };
    const qsizetype n = typed.size();
    bool leading = n <= words.count;
    for (qsizetype k = 0; leading && k + 1 < n; ++k)
        leading = own(k) == typed[k];
    if (leading && own(n - 1).startsWith(typed[n - 1]))
        return n == words.count && own(n - 1) == typed[n - 1] ? 0 : 1;
    qsizetype at = 0;
    for (qsizetype k = 0; k < n; ++k) {
        while (at < words.count && !own(at).startsWith(typed[k]))
            ++at;
        if (at == words.count)
            return 3;
        ++at;
    }
    return 2;
}

SignSearch::Result SignSearch::search(const QString &typed) const
{
    Result result;
    const QString folded = TextFold::fold(typed);
    QList<QStringView> wanted = words(folded);
    if (wanted.isEmpty())
        return result;
    if (wanted.size() > MostWords)
        wanted.resize(MostWords);
    const quint64 all = wanted.size() == 64 ? ~quint64(0) : (quint64(1) << wanted.size()) - 1;
    quint64 initials = 0;
    for (QStringView w : std::as_const(wanted))
        initials |= initial(w.front());

    // Which typed words begin a word of each category's name: asked once per category.
    const auto begun = [this, &wanted](const Words &words, qsizetype k) {
        for (int i = words.first; i < words.first + words.count; ++i)
            if (word(i).startsWith(wanted[k]))
                return true;
        return false;
    };
    std::vector<quint64> inCategory(m_categories.size(), 0);
    for (std::size_t c = 0; c < m_categories.size(); ++c)
        for (qsizetype k = 0; k < wanted.size(); ++k)
            if (begun(m_categories[c].words, k))
                inCategory[c] |= quint64(1) << k;

    // Each hit keyed by its match group, then its order within the group.
    std::vector<std::pair<quint64, int>> hits;
    for (int s = 0; s < int(m_signs.size()); ++s) {
        const Sign &sign = m_signs[s];
        if ((initials & ~(sign.words.initials | m_categories[sign.category].words.initials)) != 0)
            continue;
        quint64 inText = 0;
        bool found = true;
        for (qsizetype k = 0; found && k < wanted.size(); ++k) {
            if (begun(sign.words, k))
                inText |= quint64(1) << k;
            found = (inText | inCategory[sign.category]) >> k & 1;
        }
        if (found)
            hits.push_back({quint64(inText == all ? group(sign.words, wanted) : 4) << 56 | sign.order, s});
    }

    const std::size_t shown = std::min<std::size_t>(hits.size(), Shown);
    std::partial_sort(hits.begin(), hits.begin() + qsizetype(shown), hits.end());
    result.found.reserve(qsizetype(shown));
    for (std::size_t i = 0; i < shown; ++i) {
        const int s = hits[i].second;
        const Listed &listed = m_listed[s];
        result.found.append(
            {listed.entry, m_categories[m_signs[s].category].name, listed.retired, listed.replacements});
    }
    result.more = int(hits.size() - shown);
    return result;
}

std::shared_ptr<const SignSearch> SignSearchCache::search(DataSource &listeValeurs)
{
    const Stamp now = stampOf(listeValeurs.databaseName());
    if (!m_search || now != m_stamp) {
        m_search.reset();
        m_search = std::make_shared<const SignSearch>(listeValeurs);
        m_stamp = now;
    }
    return m_search;
}

void SignSearchCache::forget()
{
    m_search.reset();
}

SignSearchCache::Stamp SignSearchCache::stampOf(const QString &path)
{
    const QFileInfo file(path);
    return {path, file.size(), file.lastModified(), file.fileTime(QFileDevice::FileMetadataChangeTime)};
}
