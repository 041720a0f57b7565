#include "SyntheticKnowledgeBase.h"

#include "Database.h"
#include "Recordset.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// A small generator of our own: the standard distributions give different sequences on
// different libraries, and the bases must be the same everywhere.
class Random
{
public:
    explicit Random(quint32 seed) : m_state(0x9E3779B97F4A7C15ull ^ seed) {}
    quint32 next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<quint32>(m_state >> 16);
    }
    int below(int bound) { return bound <= 0 ? 0 : static_cast<int>(next() % static_cast<quint32>(bound)); }

private:
    quint64 m_state;
};

// The categories of the body map and the words their signs open with, as in the real base
// ("Pouls rapide" under "Pouls", "Fièvre" under "Froid et chaleur"), so that a search on a
// category's name or on a sign's first word finds what it would find there.
struct CategoryWords {
    const char *name;
    std::array<const char *, 3> leads; // null-terminated when fewer
};
const std::array<CategoryWords, 44> Categories = {{
    {"Teint", {"Teint", "Pommettes"}},
    {"Morphologie", {"Corps", "Constitution", "Visage"}},
    {"Comportement", {"Humeur", "Agitation", "Parole"}},
    {"Tête", {"Céphalée", "Vertige", "Tête"}},
    {"Yeux", {"Yeux", "Vision", "Paupières"}},
    {"Oreilles", {"Acouphènes", "Surdité", "Oreilles"}},
    {"Nez", {"Nez", "Éternuements"}},
    {"Lèvres", {"Lèvres"}},
    {"Gorge", {"Gorge", "Amygdales"}},
    {"Peau", {"Peau", "Éruption", "prurit"}},
    {"Expectorations", {"Expectorations", "Crachats"}},
    {"Langue", {"Langue"}},
    {"Enduit", {"Enduit"}},
    {"Froid et chaleur", {"Frilosité", "Fièvre", "Bouffées"}},
    {"Transpirations", {"Transpiration", "Sueurs"}},
    {"Douleur", {"Douleur"}},
    {"Sommeil", {"Insomnie", "Sommeil", "Rêves"}},
    {"Appétit", {"Appétit", "Faim"}},
    {"Goût", {"Goût"}},
    {"Selles", {"Selles", "Diarrhée", "Constipation"}},
    {"Urines", {"Urines", "Mictions"}},
    {"Médecine Interne", {"Fatigue", "Faiblesse", "Œdème"}},
    {"Gynécologie", {"Règles", "Leucorrhée", "écoulement"}},
    {"Voix", {"Voix"}},
    {"Respiration", {"Respiration", "Souffle"}},
    {"Toux", {"Toux"}},
    {"Pouls", {"Pouls"}},
    {"Membres", {"Membres", "Crampes", "Engourdissement"}},
    {"Soif", {"Soif"}},
    {"Ongles", {"Ongles"}},
    {"Bouche", {"Bouche", "Gencives"}},
    {"Abdomen", {"Abdomen", "Ballonnements"}},
    {"Epigastre", {"Epigastre", "Brûlures"}},
    {"Estomac", {"Nausée", "Vomissements", "Éructations"}},
    {"Hypocondres", {"Hypocondres"}},
    {"Coeur", {"Palpitations", "Oppression"}},
    {"Thorax", {"Thorax", "Poitrine"}},
    {"Sexualité", {"Libido", "Éjaculation"}},
    {"Genoux et Lombes", {"Lombes", "Genoux"}},
    {"Enfants", {"Enfant"}},
    {"Abdomen inférieur", {"Bas-ventre"}},
    {"Seins", {"Seins"}},
    {"Nuque", {"Nuque"}},
    {"Périnée", {"Périnée", "Hémorroïdes"}},
}};
// Shared beginnings and accented letters, as in the real base, so that sorting does the
// same work.
const std::array<const char *, 30> Adjectives = {
    "rapide",   "lent",     "fin",      "glissant",  "tendu",       "pâle",      "rouge",    "jaune",
    "épais",    "sec",      "humide",   "abondant",  "rare",        "sourd",     "aiguë",    "fixe",
    "migrante", "nocturne", "matinale", "spontanée", "claire",      "foncée",    "collante", "écarlate",
    "violacée", "gonflée",  "fissurée", "profond",   "superficiel", "irrégulier"};
const std::array<const char *, 14> Qualifiers = {"",
                                                 "le matin",
                                                 "le soir",
                                                 "à l'effort",
                                                 "au repos",
                                                 "après les repas",
                                                 "par temps froid",
                                                 "à la chaleur",
                                                 "en position couchée",
                                                 "à la pression",
                                                 "au toucher",
                                                 "chez l'enfant",
                                                 "pendant les règles",
                                                 "aggravé(e) par l'émotion"};
const std::array<const char *, 6> Sides = {
    "", "à droite", "à gauche", "des deux côtés", "intermittent(e)", "persistant(e)"};

const std::array<const char *, 10> Patterns = {"Vide de",         "Plénitude de",   "Stagnation de", "Montée de",
                                               "Effondrement de", "Chaleur et",     "Froid et",      "Humidité et",
                                               "Glaires et",      "Insuffisance de"};
const std::array<const char *, 6> Substances = {"Qi", "Sang", "Yin", "Yang", "Feu", "Essence"};
const std::array<const char *, 12> Organs = {"du Cœur",
                                             "du Foie",
                                             "de la Rate",
                                             "du Poumon",
                                             "du Rein",
                                             "de l'Estomac",
                                             "de la Vésicule biliaire",
                                             "du Gros Intestin",
                                             "de l'Intestin grêle",
                                             "de la Vessie",
                                             "du Maître du Cœur",
                                             "du Triple Réchauffeur"};

int leadCount(int category)
{
    const auto &leads = Categories[(category - 1) % Categories.size()].leads;
    return int(std::count_if(leads.begin(), leads.end(), [](const char *lead) { return lead != nullptr; }));
}

// Every sign of a category has its own text (up to 5 040 signs per opening word): the
// index runs through the combinations in a scattered order.
QString signText(int category, int index)
{
    const CategoryWords &words = Categories[(category - 1) % Categories.size()];
    const quint32 combinations = quint32(leadCount(category) * Adjectives.size() * Qualifiers.size() * Sides.size());
    quint32 k = (static_cast<quint32>(index) * 7919u + static_cast<quint32>(category) * 104729u) % combinations;
    const auto take = [&k](std::size_t count) {
        const quint32 digit = k % count;
        k /= count;
        return digit;
    };
    QString text = QString::fromUtf8(Adjectives[take(Adjectives.size())]);
    const char *qualifier = Qualifiers[take(Qualifiers.size())];
    const char *side = Sides[take(Sides.size())];
    text = QString::fromUtf8(words.leads[k]) + QLatin1Char(' ') + text;
    if (*qualifier)
        text += QLatin1Char(' ') + QString::fromUtf8(qualifier);
    if (*side)
        text += QLatin1Char(' ') + QString::fromUtf8(side);
    if (index >= int(combinations))
        text += QStringLiteral(" (forme %1)").arg(index / int(combinations) + 1);
    return text;
}

QString syndromeName(int number)
{
    const int combinations = int(Patterns.size() * Substances.size() * Organs.size());
    const int k = (number - 1) % combinations;
    QString name = QString::fromUtf8(Patterns[k % Patterns.size()]) + QLatin1Char(' ') +
                   QString::fromUtf8(Substances[(k / Patterns.size()) % Substances.size()]) + QLatin1Char(' ') +
                   QString::fromUtf8(Organs[k / (Patterns.size() * Substances.size())]);
    if (number > combinations)
        name += QStringLiteral(" (forme %1)").arg((number - 1) / combinations + 1);
    return name;
}

// Category sizes are uneven, as on the body map: from one to about three and a half
// times the smallest.
std::vector<int> categorySizes(const SyntheticKnowledgeBase::Shape &shape)
{
    std::vector<double> weight(shape.categories);
    double total = 0;
    for (int c = 0; c < shape.categories; ++c) {
        weight[c] = 1.0 + ((c * 37) % 11) / 4.0;
        total += weight[c];
    }
    std::vector<int> sizes(shape.categories);
    int assigned = 0;
    for (int c = 0; c < shape.categories; ++c) {
        sizes[c] = std::max(1, static_cast<int>(std::floor(shape.signs * weight[c] / total)));
        assigned += sizes[c];
    }
    for (int c = 0; assigned < shape.signs; c = (c + 1) % shape.categories, ++assigned)
        ++sizes[c];
    return sizes;
}

QVariant number(qint64 n)
{
    return QVariant::fromValue<qlonglong>(n);
}

// The naive peer: the same tables without their indexes, whatever the schema names them.
void dropIndexes(Database &db)
{
    auto indexes =
        db.openRecordset(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"));
    QStringList names;
    for (; !indexes->isEof(); indexes->moveNext())
        names.append(indexes->field(u"name").toString());
    for (const QString &name : std::as_const(names))
        db.executeNative(QStringLiteral("DROP INDEX \"%1\"").arg(name));
}

} // namespace

namespace SyntheticKnowledgeBase {

Shape scaled(double scale)
{
    Shape shape;
    shape.signs = std::max(shape.categories, static_cast<int>(std::lround(440 * scale)));
    shape.syndromes = std::max(5, static_cast<int>(std::lround(100 * scale)));
    shape.links = std::max(shape.syndromes, static_cast<int>(std::lround(1700 * scale)));
    return shape;
}

Shape withLinks(int links)
{
    return scaled(links / 1700.0);
}

Landmarks generate(const QString &path, const Shape &shape, bool withIndexes, quint32 seed)
{
    Random random(seed);
    Landmarks marks;
    auto db = Database::create(path);
    if (!withIndexes)
        dropIndexes(*db);
    db->beginTransaction();

    const std::vector<int> sizes = categorySizes(shape);
    std::vector<qint32> signs;
    signs.reserve(shape.signs);
    {
        auto categories = db->openRecordset(QStringLiteral("SELECT * FROM Catégories"));
        auto modalities = db->openRecordset(QStringLiteral("SELECT * FROM Modalités"));
        int largest = -1;
        for (int c = 1; c <= shape.categories; ++c) {
            categories->addNew();
            categories->setField(QStringLiteral("NumCatégorie"), number(c));
            categories->setField(QStringLiteral("Nom"),
                                 QString::fromUtf8(Categories[(c - 1) % Categories.size()].name));
            categories->update();
            const int size = sizes[c - 1];
            if (size > largest) {
                largest = size;
                marks.largestCategory = c;
            }
            for (int i = 0; i < size; ++i) {
                // Room for a million signs per category in the number, as in 4301 for the
                // first sign of category 43 of the real base.
                const qint32 n = c * 1000000 + i + 1;
                modalities->addNew();
                modalities->setField(QStringLiteral("NumModalité"), number(n));
                modalities->setField(QStringLiteral("Modalité"), signText(c, i));
                modalities->setField(QStringLiteral("NumCatégorie"), number(c));
                modalities->update();
                signs.push_back(n);
            }
        }
    }
    {
        auto syndromes = db->openRecordset(QStringLiteral("SELECT * FROM Syndromes"));
        for (int s = 1; s <= shape.syndromes; ++s) {
            syndromes->addNew();
            syndromes->setField(QStringLiteral("NumSyndrome"), number(s));
            syndromes->setField(QStringLiteral("Nom"), syndromeName(s));
            syndromes->setField(QStringLiteral("NumMéthode"), number((s - 1) % 5 + 1));
            syndromes->update();
        }
    }

    // The common signs: about one in fifty, drawn once; a quarter of all links go to them.
    std::vector<qint32> byPopularity = signs;
    for (std::size_t i = byPopularity.size(); i > 1; --i)
        std::swap(byPopularity[i - 1], byPopularity[random.below(int(i))]);
    const int commonCount = std::min<int>(int(signs.size()), std::max(5, shape.signs / 50));
    marks.commonSigns.assign(byPopularity.begin(), byPopularity.begin() + commonCount);

    QHash<qint32, int> linksPerSign;
    {
        auto links = db->openRecordset(QStringLiteral("SELECT * FROM [Modalité-Syndrome]"));
        // Between half and one and a half times the average per syndrome, then evened out
        // one link at a time to the total asked for.
        const int average = std::max(1, shape.links / shape.syndromes);
        const int most = int(signs.size());
        std::vector<int> counts(shape.syndromes);
        qint64 total = 0;
        for (int &count : counts) {
            count = std::min(most, average - average / 2 + random.below(2 * (average / 2) + 1));
            total += count;
        }
        const qint64 target = std::min<qint64>(shape.links, qint64(most) * shape.syndromes);
        while (total != target) {
            int &count = counts[random.below(shape.syndromes)];
            const int step = total < target ? 1 : -1;
            if ((step > 0 && count < most) || (step < 0 && count > 1)) {
                count += step;
                total += step;
            }
        }
        int written = 0;
        int busiest = -1;
        std::vector<qint32> chosen;
        for (int s = 1; s <= shape.syndromes; ++s) {
            const int count = counts[s - 1];
            chosen.clear();
            while (int(chosen.size()) < count) {
                const qint32 sign = random.below(4) == 0 ? marks.commonSigns[random.below(commonCount)]
                                                         : signs[random.below(int(signs.size()))];
                if (std::find(chosen.begin(), chosen.end(), sign) == chosen.end())
                    chosen.push_back(sign);
            }
            for (qint32 sign : chosen) {
                links->addNew();
                links->setField(QStringLiteral("NumModalité"), number(sign));
                links->setField(QStringLiteral("NumSyndrome"), number(s));
                links->update();
                ++linksPerSign[sign];
            }
            written += count;
            if (count > busiest) {
                busiest = count;
                marks.busiestSyndrome = s;
            }
        }
        marks.linkCount = written;
    }
    db->commit();
    db->close();

    int commonest = -1;
    for (qint32 sign : signs) {
        const int count = linksPerSign.value(sign);
        if (count > 0)
            marks.linkedSigns.push_back(sign);
        if (count > commonest) {
            commonest = count;
            marks.commonestSign = sign;
        }
    }
    for (std::size_t i = marks.linkedSigns.size(); i > 1; --i)
        std::swap(marks.linkedSigns[i - 1], marks.linkedSigns[random.below(int(i))]);
    marks.signCount = int(signs.size());
    marks.syndromeCount = shape.syndromes;
    return marks;
}

Tables load(const QString &path)
{
    Tables tables;
    auto db = Database::open(path);
    auto read = [&db](const QString &statement, auto &&row) {
        auto rs = db->openRecordset(statement);
        const int n = rs->recordCount();
        for (int i = 0; i < n; ++i, rs->moveNext())
            row(*rs);
        rs->close();
    };
    read(QStringLiteral("SELECT NumModalité, NumCatégorie, Modalité FROM Modalités"), [&](Recordset &rs) {
        tables.modalities.push_back({qint32(rs.field(u"NumModalité").toLongLong()),
                                     qint32(rs.field(u"NumCatégorie").toLongLong()), rs.field(u"Modalité").toString()});
    });
    read(QStringLiteral("SELECT NumSyndrome, NumMéthode, Nom FROM Syndromes"), [&](Recordset &rs) {
        tables.syndromes.push_back({qint32(rs.field(u"NumSyndrome").toLongLong()),
                                    qint32(rs.field(u"NumMéthode").toLongLong()), rs.field(u"Nom").toString()});
    });
    read(QStringLiteral("SELECT NumModalité, NumSyndrome FROM [Modalité-Syndrome]"), [&](Recordset &rs) {
        tables.links.emplace_back(qint32(rs.field(u"NumModalité").toLongLong()),
                                  qint32(rs.field(u"NumSyndrome").toLongLong()));
    });
    read(QStringLiteral("SELECT NumModalité, Valeur FROM Valorisation"), [&](Recordset &rs) {
        tables.weights.insert(qint32(rs.field(u"NumModalité").toLongLong()), qint32(rs.field(u"Valeur").toLongLong()));
    });
    db->close();
    return tables;
}

} // namespace SyntheticKnowledgeBase
