#pragma once

#include <QHash>
#include <QString>

#include <vector>

// Knowledge bases of the bundled one's shape at any size, for measuring the program on
// bases far larger than the one it ships with. The shape: 44 map categories of uneven
// size, about ten signs per category, syndromes spread evenly over the five methods with
// about seventeen links each, a few common signs linked to many syndromes and the rest to
// a handful. The categories bear the body map's names and their signs open with the
// category's own words ("Pouls rapide le soir" under "Pouls"), so that searching them
// finds what it would find in the real base. Scaling multiplies signs, syndromes and
// links; the categories stay 44, so a category's listing grows with the scale.
namespace SyntheticKnowledgeBase {

struct Shape {
    int categories = 44;
    int signs = 440;
    int syndromes = 100;
    int links = 1700;
};

// The bundled base's proportions times `scale`.
Shape scaled(double scale);
// The same proportions, sized to hold about `links` links.
Shape withLinks(int links);

// What the generator knows of the base it wrote, for picking the cases to measure.
struct Landmarks {
    qint32 largestCategory = 0;      // the category with the most signs
    qint32 busiestSyndrome = 0;      // the syndrome with the most links
    qint32 commonestSign = 0;        // the sign with the most links
    std::vector<qint32> commonSigns; // the signs linked to many syndromes
    std::vector<qint32> linkedSigns; // every sign with at least one link, in a fixed shuffled order
    int signCount = 0;
    int syndromeCount = 0;
    int linkCount = 0;
};

// Writes a new base to `path` through the data layer, values bound, in one transaction.
// The same shape and seed give the same content. The weight table is left empty: callers
// fill it with the program's own rebuild. Without indexes: the benchmarks' naive peer, the
// same statements giving the same results, only slower. Throws DatabaseError.
Landmarks generate(const QString &path, const Shape &shape, bool withIndexes = true, quint32 seed = 1);

// A whole base read once into memory: what a hand-written scorer needs to rank and list
// without the database.
struct Tables {
    struct Modality {
        qint32 number;
        qint32 category;
        QString text;
    };
    struct Syndrome {
        qint32 number;
        qint32 method;
        QString name;
    };
    std::vector<Modality> modalities;
    std::vector<Syndrome> syndromes;
    std::vector<std::pair<qint32, qint32>> links; // (NumModalité, NumSyndrome)
    QHash<qint32, qint32> weights;                // NumModalité → Valeur
};

// Throws DatabaseError.
Tables load(const QString &path);

} // namespace SyntheticKnowledgeBase
