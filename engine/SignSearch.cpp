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
        m_categoryNames.push_back(name);
        Category category{TextFold::fold(name), {}};
        for (QStringView word : words(category.folded))
            category.words.append({int(word.data() - category.folded.constData()), int(word.size())});
        m_categories.push_back(std::move(category));
        return index;
    };
    const auto add = [&](Sign sign, const QString &text, const QString &category) {
        sign.category = categoryOf(category);
        sign.length = int(text.size());
        sign.folded = TextFold::fold(text);
        for (QStringView word : words(sign.folded))
            sign.words.append({int(word.data() - sign.folded.constData()), int(word.size())});
        m_signs.push_back(std::move(sign));
    };

    std::vector<QString> texts;
    auto live = db.openNative(Statements::searchableSigns());
    m_signs.reserve(live->recordCount());
    texts.reserve(live->recordCount());
    const QString modalites = QStringLiteral("Modalités");
    for (; !live->isEof(); live->moveNext()) {
        const QString text = live->field(u"Modalité").toString();
        Sign sign;
        sign.entry = ModalityChoice::modalityEntry(text, live->weight(u"Valeur", QStringLiteral("Valorisation")),
                                                   live->key(u"NumModalité", modalites));
        add(std::move(sign), text, live->field(u"Catégorie").toString());
        texts.push_back(text);
    }

    // A base older than the table of replacements lists its signs without weight nowhere.
    if (db.openNative(Statements::replacementTableCount())->field(u"Compte").toInt() > 0) {
        QHash<qint32, QList<ListEntry>> replacing;
        QHash<qint32, QStringList> names;
        const QString remplacements = QStringLiteral("Remplacements");
        for (auto rs = db.openNative(Statements::replacements()); !rs->isEof(); rs->moveNext()) {
            const qint32 retired = rs->key(u"NumModalité", remplacements);
            const QString text = rs->field(u"Modalité").toString();
            replacing[retired].append(ModalityChoice::modalityEntry(
                text, rs->weight(u"Valeur", QStringLiteral("Valorisation")), rs->key(u"NumRemplaçante", remplacements)));
            names[retired].append(text);
        }
        for (auto rs = db.openNative(Statements::retiredSigns()); !rs->isEof(); rs->moveNext()) {
            const QString text = rs->field(u"Modalité").toString();
            Sign sign;
            sign.retired = true;
            sign.entry.data = rs->key(u"NumModalité", modalites);
            sign.replacements = replacing.value(sign.entry.data);
            sign.entry.text = retiredText(text, sign.replacements, names.value(sign.entry.data));
            add(std::move(sign), text, rs->field(u"Catégorie").toString());
            texts.push_back(text);
        }
    }

    // Ranks in French order, from one sort key per text: far fewer collations than
    // comparing each pair.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const QString &text : texts)
        keys.push_back(FrenchCollation::sortKey(text));
    std::vector<int> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    for (int rank = 0; rank < int(order.size()); ++rank)
        m_signs[order[rank]].rank = rank;
}

SignSearch::~SignSearch() = default;

int SignSearch::group(const Sign &sign, const QList<QStringView> &typed) const
{
    const auto word = [&sign](qsizetype k) {
        return QStringView(sign.folded).sliced(sign.words[k].start, sign.words[k].length);
    };
    const qsizetype n = typed.size();
    const qsizetype own = sign.words.size();
    bool leading = n <= own;
    for (qsizetype k = 0; leading && k + 1 < n; ++k)
        leading = word(k) == typed[k];
    if (leading && word(n - 1).startsWith(typed[n - 1]))
        return n == own && word(n - 1) == typed[n - 1] ? 0 : 1;
    qsizetype at = 0;
    for (qsizetype k = 0; k < n; ++k) {
        while (at < own && !word(at).startsWith(typed[k]))
            ++at;
        if (at == own)
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

    // Which typed words begin a word of each category's name: asked once per category.
    std::vector<quint64> inCategory(m_categories.size(), 0);
    for (std::size_t c = 0; c < m_categories.size(); ++c)
        for (qsizetype k = 0; k < wanted.size(); ++k)
            for (const Span &span : m_categories[c].words)
                if (QStringView(m_categories[c].folded).sliced(span.start, span.length).startsWith(wanted[k]))
                    inCategory[c] |= quint64(1) << k;

    struct Hit {
        int group;
        const Sign *sign;
    };
    std::vector<Hit> hits;
    for (const Sign &sign : m_signs) {
        quint64 inText = 0;
        bool found = true;
        for (qsizetype k = 0; found && k < wanted.size(); ++k) {
            for (const Span &span : sign.words)
                if (QStringView(sign.folded).sliced(span.start, span.length).startsWith(wanted[k])) {
                    inText |= quint64(1) << k;
                    break;
                }
            found = (inText | inCategory[sign.category]) >> k & 1;
        }
        if (found)
            hits.push_back({inText == all ? group(sign, wanted) : 4, &sign});
    }

    const auto better = [](const Hit &a, const Hit &b) {
        return std::tie(a.group, a.sign->retired, a.sign->length, a.sign->rank) <
               std::tie(b.group, b.sign->retired, b.sign->length, b.sign->rank);
    };
    const std::size_t shown = std::min<std::size_t>(hits.size(), Shown);
    std::partial_sort(hits.begin(), hits.begin() + qsizetype(shown), hits.end(), better);
    result.found.reserve(qsizetype(shown));
    for (std::size_t i = 0; i < shown; ++i) {
        const Sign &sign = *hits[i].sign;
        result.found.append({sign.entry, m_categoryNames[sign.category], sign.retired, sign.replacements});
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
