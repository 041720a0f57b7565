#include "KnowledgeBaseCheck.h"

#include "Database.h"
#include "KnowledgeBaseReader.h"

#include <QLocale>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <random>

namespace {

// The categories every syndrome needs a sign of, by their fixed numbers on the map.
constexpr qint32 Tongue = 18;
constexpr qint32 Pulse = 43;

QString percent(double value)
{
    return QLocale(QLocale::French).toString(100.0 * value, 'f', 1) + QStringLiteral(" %");
}

} // namespace

KnowledgeBaseCheck::KnowledgeBaseCheck(const KnowledgeBaseRows &rows) : m_rows(rows)
{
    for (const auto &m : rows.modalities)
        m_signs.insert(m.number, {m.text, m.category, {}, 0});
    QList<KnowledgeBaseRows::Syndrome> syndromes = rows.syndromes;
    std::sort(syndromes.begin(), syndromes.end(), [](const auto &a, const auto &b) { return a.number < b.number; });
    for (const auto &s : syndromes) {
        m_syndromeIndex.insert(s.number, int(m_syndromes.size()));
        m_syndromes.append({s.number, s.name, s.method, {}});
    }
    for (const auto &link : rows.links) {
        const auto sign = m_signs.find(link.modality);
        const auto index = m_syndromeIndex.constFind(link.syndrome);
        if (sign == m_signs.end() || index == m_syndromeIndex.cend())
            continue;
        ++sign->links;
        if (!sign->syndromes.contains(*index)) {
            sign->syndromes.append(*index);
            m_syndromes[*index].signs.append(link.modality);
        }
    }
    for (const auto &r : rows.replacements)
        m_replacements[r.modality].append(r.replacement);
}

KnowledgeBaseCheck KnowledgeBaseCheck::read(const QString &path)
{
    auto db = Database::open(path);
    return KnowledgeBaseCheck(KnowledgeBaseReader::read(*db));
}

QString KnowledgeBaseCheck::sign(qint32 number) const
{
    return QStringLiteral("%1 « %2 »").arg(number).arg(m_signs.value(number).text);
}

QString KnowledgeBaseCheck::syndrome(int index) const
{
    return QStringLiteral("%1 « %2 »").arg(m_syndromes[index].number).arg(m_syndromes[index].name);
}

int KnowledgeBaseCheck::totalWeight(const Syndrome &s) const
{
    int total = 0;
    for (qint32 m : s.signs)
        total += m_signs.value(m).weight();
    return total;
}

QString KnowledgeBaseCheck::folded(const QString &text)
{
    QString plain;
    for (QChar c : text.normalized(QString::NormalizationForm_KD))
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    plain = plain.toLower()
                .replace(QStringLiteral("œ"), QStringLiteral("oe"))
                .replace(QStringLiteral("æ"), QStringLiteral("ae"));
    static const QRegularExpression separators(QStringLiteral("[\\s'’-]+"));
    QStringList words = plain.split(separators, Qt::SkipEmptyParts);
    for (QString &word : words)
        if (word.size() > 1 && (word.endsWith(u's') || word.endsWith(u'x')))
            word.chop(1);
    return words.join(u' ');
}

QStringList KnowledgeBaseCheck::structural() const
{
    QStringList remarks;
    QMap<std::pair<qint32, qint32>, int> linkCount;
    for (const auto &link : m_rows.links) {
        if (!m_signs.contains(link.modality))
            remarks.append(QStringLiteral("Un lien du syndrome %1 désigne le signe %2, absent de la table Modalités.")
                               .arg(link.syndrome)
                               .arg(link.modality));
        else if (!m_syndromeIndex.contains(link.syndrome))
            remarks.append(QStringLiteral("Un lien du signe %1 désigne le syndrome %2, absent de la table Syndromes.")
                               .arg(sign(link.modality))
                               .arg(link.syndrome));
        else
            ++linkCount[{link.syndrome, link.modality}];
    }
    for (auto it = linkCount.cbegin(); it != linkCount.cend(); ++it)
        if (it.value() > 1)
            remarks.append(QStringLiteral("Le lien du syndrome %1 au signe %2 figure %3 fois : il compte autant de "
                                          "fois dans le poids du signe et dans la somme du syndrome.")
                               .arg(syndrome(m_syndromeIndex.value(it.key().first)), sign(it.key().second))
                               .arg(it.value()));
    QSet<qint32> categories;
    for (const auto &c : m_rows.categories)
        categories.insert(c.number);
    for (const auto &m : m_rows.modalities)
        if (!categories.contains(m.category))
            remarks.append(QStringLiteral("Le signe %1 appartient à la catégorie %2, absente de la table Catégories : "
                                          "aucune liste ne le montre.")
                               .arg(sign(m.number))
                               .arg(m.category));
    for (int i = 0; i < m_syndromes.size(); ++i)
        if (!m_syndromes[i].signs.isEmpty() && (m_syndromes[i].method < 1 || m_syndromes[i].method > 5))
            remarks.append(QStringLiteral("Le syndrome %1 appartient à la méthode %2, qui n'existe pas (1 à 5) : il "
                                          "n'est jamais classé.")
                               .arg(syndrome(i))
                               .arg(m_syndromes[i].method));
    for (const auto &r : m_rows.replacements) {
        if (!m_signs.contains(r.modality) || !m_signs.contains(r.replacement))
            remarks.append(QStringLiteral("La table Remplacements désigne le signe %1, absent de la table Modalités.")
                               .arg(m_signs.contains(r.modality) ? r.replacement : r.modality));
        else if (m_signs.value(r.modality).links > 0)
            remarks.append(QStringLiteral("Le signe %1 est lié à des syndromes, et pourtant la table Remplacements "
                                          "lui donne pour remplaçant le signe %2.")
                               .arg(sign(r.modality), sign(r.replacement)));
        else if (m_signs.value(r.replacement).links == 0)
            remarks.append(QStringLiteral("Le signe %1 est remplacé par le signe %2, lui-même retiré (lié à aucun "
                                          "syndrome).")
                               .arg(sign(r.modality), sign(r.replacement)));
    }
    for (const auto &m : m_rows.modalities)
        if (m_rows.hasReplacementTable && m_signs.value(m.number).links == 0 && !m_replacements.contains(m.number))
            remarks.append(QStringLiteral("Le signe %1 n'est lié à aucun syndrome et la table Remplacements ne lui "
                                          "donne pas de remplaçant : il n'apparaît dans aucune liste.")
                               .arg(sign(m.number)));
    for (int i = 0; i < m_syndromes.size(); ++i)
        if (const int total = totalWeight(m_syndromes[i]); !m_syndromes[i].signs.isEmpty() && total <= 6)
            remarks.append(QStringLiteral("Le syndrome %1 ne peut jamais dépasser 6 : tous ses signes ensemble "
                                          "pèsent %2.")
                               .arg(syndrome(i))
                               .arg(total));
    QHash<std::pair<qint32, QString>, qint32> texts;
    for (const auto &m : m_rows.modalities) {
        const std::pair key{m.category, folded(m.text)};
        if (const auto seen = texts.constFind(key); seen != texts.cend())
            remarks.append(QStringLiteral("Les signes %1 et %2 ont le même texte, aux accents, majuscules et pluriels "
                                          "près : une même observation y est partagée entre deux signes.")
                               .arg(sign(*seen), sign(m.number)));
        else
            texts.insert(key, m.number);
    }
    return remarks;
}

QHash<int, int> KnowledgeBaseCheck::sums(const QList<qint32> &recorded, qint32 method) const
{
    QHash<int, int> sums;
    for (qint32 m : recorded) {
        const Sign s = m_signs.value(m);
        for (int index : s.syndromes)
            if (method == 0 || m_syndromes[index].method == method)
                sums[index] += s.weight();
    }
    return sums;
}

int KnowledgeBaseCheck::position(qint32 number, const QList<qint32> &recorded, bool allMethods) const
{
    const int own = m_syndromeIndex.value(number, -1);
    if (own < 0)
        return 0;
    const QHash<int, int> found = sums(recorded, allMethods ? 0 : m_syndromes[own].method);
    const int sum = found.value(own);
    if (sum <= 6)
        return 0;
    // Its own sum counts among those as high: the count is its place.
    return int(std::count_if(found.cbegin(), found.cend(), [&](int other) { return other >= sum; }));
}

QStringList KnowledgeBaseCheck::bundled(const Published &published, const QList<Presentation> &presentations) const
{
    QStringList faults;
    for (const auto &[first, last] : published.signs)
        for (qint32 n = first; n <= last; ++n)
            if (!m_signs.contains(n))
                faults.append(QStringLiteral("Le signe publié %1 n'a plus de ligne.").arg(n));
    for (const auto &[first, last] : published.syndromes)
        for (qint32 n = first; n <= last; ++n)
            if (!m_syndromeIndex.contains(n))
                faults.append(QStringLiteral("Le syndrome publié %1 n'a plus de ligne.").arg(n));

    QHash<qint32, int> listed;
    for (auto it = m_signs.cbegin(); it != m_signs.cend(); ++it)
        listed[it->category] += it->links > 0;
    for (const auto &c : m_rows.categories)
        if (listed.value(c.number) < 8)
            faults.append(QStringLiteral("La catégorie %1 « %2 » ne propose que %3 signes (8 au moins).")
                              .arg(c.number)
                              .arg(c.name.value_or(QString()))
                              .arg(listed.value(c.number)));

    int links = 0, lightLinks = 0;
    for (const Sign &s : m_signs) {
        links += s.links;
        lightLinks += s.weight() == 1 ? s.links : 0;
    }
    if (lightLinks * 100 > links * 35)
        faults.append(QStringLiteral("Les signes de poids 1 portent %1 des liens (35 % au plus).")
                          .arg(percent(double(lightLinks) / links)));

    for (int i = 0; i < m_syndromes.size(); ++i) {
        const Syndrome &s = m_syndromes[i];
        if (s.signs.isEmpty())
            continue;
        const auto has = [&](auto test) { return std::count_if(s.signs.cbegin(), s.signs.cend(), test); };
        QStringList lacks;
        if (s.signs.size() < 5)
            lacks.append(QStringLiteral("5 signes"));
        if (has([this](qint32 m) { return m_signs.value(m).weight() >= 5; }) < 3)
            lacks.append(QStringLiteral("3 signes de poids 5 au moins"));
        if (has([this](qint32 m) { return m_signs.value(m).category == Tongue; }) == 0)
            lacks.append(QStringLiteral("un signe de la langue"));
        if (has([this](qint32 m) { return m_signs.value(m).category == Pulse; }) == 0)
            lacks.append(QStringLiteral("un pouls"));
        if (!lacks.isEmpty())
            faults.append(QStringLiteral("Il manque au syndrome %1 : %2.").arg(syndrome(i), lacks.join(u", ")));
        for (int j = 0; j < m_syndromes.size(); ++j) {
            const Syndrome &o = m_syndromes[j];
            if (i == j || o.signs.isEmpty() || o.method != s.method)
                continue;
            int shared = 0, sharedWeight = 0;
            for (qint32 m : s.signs)
                if (o.signs.contains(m)) {
                    ++shared;
                    sharedWeight += m_signs.value(m).weight();
                }
            // The shared signs over the signs of either: at 60 % the two are near copies.
            if (i < j && shared * 10 >= 6 * (s.signs.size() + o.signs.size() - shared))
                faults.append(QStringLiteral("Les syndromes %1 et %2 partagent %3 de leurs signes.")
                                  .arg(syndrome(i), syndrome(j),
                                       percent(double(shared) / (s.signs.size() + o.signs.size() - shared))));
            if (sharedWeight * 3 >= totalWeight(s) * 2)
                faults.append(QStringLiteral("Le syndrome %1 tient dans %2 les deux tiers de ce que pèsent ses signes "
                                             "(%3 sur %4) : seuls ses signes les plus rares l'en distinguent.")
                                  .arg(syndrome(i), syndrome(j))
                                  .arg(sharedWeight)
                                  .arg(totalWeight(s)));
        }
    }
    for (const Presentation &p : presentations)
        if (position(p.syndrome, p.signs) != 1)
            faults.append(QStringLiteral("La présentation « %1 » ne classe pas le syndrome %2 premier seul.")
                              .arg(p.what)
                              .arg(p.syndrome));
    return faults;
}

int KnowledgeBaseCheck::proportionalRate(int index, quint32 seed) const
{
    std::mt19937 random(seed);
    const Syndrome &s = m_syndromes[index];
    const qsizetype k = (s.signs.size() + 1) / 2;
    int first = 0;
    for (int draw = 0; draw < 200; ++draw) {
        QList<qint32> pool = s.signs, recorded;
        while (recorded.size() < k) {
            int total = 0;
            for (qint32 m : pool)
                total += int(m_signs.value(m).syndromes.size());
            int r = int(random() % quint32(total));
            qsizetype at = 0;
            while ((r -= int(m_signs.value(pool[at]).syndromes.size())) >= 0)
                ++at;
            recorded.append(pool.takeAt(at));
        }
        // First alone: a sum above that of every other syndrome of the method.
        const QHash<int, int> found = sums(recorded, s.method);
        const int sum = found.value(index);
        first += std::none_of(found.keyBegin(), found.keyEnd(),
                              [&](int other) { return other != index && found.value(other) >= sum; });
    }
    return first;
}

QStringList KnowledgeBaseCheck::trials(QStringList &figures) const
{
    QStringList faults;
    QList<int> live;
    for (int i = 0; i < m_syndromes.size(); ++i)
        if (!m_syndromes[i].signs.isEmpty())
            live.append(i);
    if (live.isEmpty())
        return faults;

    std::mt19937 random(20240613);
    const int trials = 1000;
    int first = 0, topThree = 0, firstAll = 0;
    QMap<qint32, std::pair<int, int>> byMethod; // first within its method, visits
    for (int trial = 0; trial < trials; ++trial) {
        const Syndrome &own = m_syndromes[live[int(random() % quint32(live.size()))]];
        QList<qint32> signs = own.signs;
        const qsizetype k = (signs.size() * 6 + 9) / 10;
        for (qsizetype i = 0; i < k; ++i)
            std::swap(signs[i], signs[i + qsizetype(random() % quint32(signs.size() - i))]);
        signs.resize(k);
        const int inMethod = position(own.number, signs);
        first += inMethod == 1;
        byMethod[own.method].first += inMethod == 1;
        ++byMethod[own.method].second;
        topThree += inMethod >= 1 && inMethod <= 3;
        firstAll += position(own.number, signs, true) == 1;
    }
    figures.append(QStringLiteral("Visites de 60 % des signes d'un syndrome, tirés au hasard (%1) : premier de sa "
                                  "méthode %2, dans les trois premiers %3, premier avec les cinq méthodes %4.")
                       .arg(trials)
                       .arg(percent(double(first) / trials), percent(double(topThree) / trials),
                            percent(double(firstAll) / trials)));
    for (auto [count, least, what] : {std::tuple{first, 90, "premier de sa méthode"},
                                      {topThree, 98, "dans les trois premiers"},
                                      {firstAll, 75, "premier avec les cinq méthodes"}})
        if (count * 100 < trials * least)
            faults.append(QStringLiteral("Visites de 60 % des signes : %1 %2 (%3 % au moins).")
                              .arg(QString::fromUtf8(what), percent(double(count) / trials))
                              .arg(least));

    QMap<qint32, QList<double>> rates;
    for (int index : live) {
        const double rate = proportionalRate(index, 20240614) / 200.0;
        rates[m_syndromes[index].method].append(rate);
        if (rate < 0.8)
            faults.append(QStringLiteral("Visites de la moitié des signes, les plus communs d'abord : le syndrome %1 "
                                         "n'est premier seul de sa méthode que dans %2 des cas (80 % au moins).")
                              .arg(syndrome(index), percent(rate)));
    }
    for (auto it = rates.cbegin(); it != rates.cend(); ++it) {
        double sum = 0;
        for (double r : *it)
            sum += r;
        const auto [firstInMethod, visits] = byMethod.value(it.key());
        figures.append(QStringLiteral("Méthode %1 : visites de 60 % des signes, premier %2 ; visites de la moitié des "
                                      "signes, les plus communs d'abord, premier seul en moyenne %3, au plus bas %4.")
                           .arg(it.key())
                           .arg(percent(visits ? double(firstInMethod) / visits : 0), percent(sum / it->size()),
                                percent(*std::min_element(it->begin(), it->end()))));
    }
    return faults;
}

QStringList KnowledgeBaseCheck::figures() const
{
    int liveSigns = 0, lightSigns = 0, links = 0, lightLinks = 0, liveSyndromes = 0, closePairs = 0;
    for (const Sign &s : m_signs) {
        liveSigns += s.links > 0;
        lightSigns += s.weight() == 1;
        links += s.links;
        lightLinks += s.weight() == 1 ? s.links : 0;
    }
    for (int i = 0; i < m_syndromes.size(); ++i) {
        const Syndrome &s = m_syndromes[i];
        liveSyndromes += !s.signs.isEmpty();
        for (int j = i + 1; j < m_syndromes.size(); ++j) {
            const Syndrome &o = m_syndromes[j];
            if (s.signs.isEmpty() || o.signs.isEmpty() || o.method != s.method)
                continue;
            const qsizetype shared =
                std::count_if(s.signs.cbegin(), s.signs.cend(), [&](qint32 m) { return o.signs.contains(m); });
            closePairs += shared * 10 >= 6 * std::min(s.signs.size(), o.signs.size());
        }
    }
    return {QStringLiteral("%1 syndromes liés (%2 gardés pour leur numéro), %3 signes liés (%4 gardés pour leur "
                           "numéro), %5 liens.")
                .arg(liveSyndromes)
                .arg(m_syndromes.size() - liveSyndromes)
                .arg(liveSigns)
                .arg(m_signs.size() - liveSigns)
                .arg(links),
            QStringLiteral("%1 signes de poids 1, qui portent %2 liens (%3).")
                .arg(lightSigns)
                .arg(lightLinks)
                .arg(percent(links ? double(lightLinks) / links : 0)),
            QStringLiteral("%1 paires d'une même méthode partagent 60 % des signes du plus petit.").arg(closePairs)};
}
