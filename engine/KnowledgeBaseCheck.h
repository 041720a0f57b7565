#pragma once

#include "KnowledgeBaseRows.h"

#include <QHash>
#include <QList>
#include <QStringList>

// The checks of a knowledge base's content, over its rows as read. Two users: the program,
// after each rebuild of the weights, on the base in use (structural(): what makes a base that
// someone edited behave otherwise than they meant), and the build of the bundled base, which
// adds the rules its content holds to and the ranking trials (bundled(), trials()).
//
// A retired row is a sign or syndrome kept only for its number: it has no link at all. A
// retired syndrome is never remarked on. A sign with no link is remarked on when the base
// records replacements (table Remplacements) and names none for it: nothing then tells it
// from a sign its editor forgot to link. A base without that table (older, imported)
// cannot tell them apart, and its unlinked signs are taken as retired. Weights are those
// the rebuild gives (10 − links, at least 1), so the checks mean the same before and
// after a rebuild.
class KnowledgeBaseCheck
{
public:
    explicit KnowledgeBaseCheck(const KnowledgeBaseRows &rows);

    // Reads the base at `path` (DatabaseError when it cannot be read).
    static KnowledgeBaseCheck read(const QString &path);

    // One French sentence per fault, most serious first: dangling links, links given twice,
    // signs of no category, syndromes of no method, replacements naming no sign, a linked
    // sign or a retired one, signs with no link and no replacement, syndromes that cannot
    // rise above 6 with all their signs, texts of one category equal once accents, case and
    // plurals are left out.
    QStringList structural() const;

    // A recorded visit given to the ranking, and the syndrome it must bring first.
    struct Presentation {
        QString what;
        qint32 syndrome;
        QList<qint32> signs;
    };
    // The numbers earlier editions published, as (first, last) ranges: a practitioner's
    // notes and printed reports cite them, so a row may lose its links, never its number.
    struct Published {
        QList<std::pair<qint32, qint32>> signs, syndromes;
    };
    // What the bundled base holds to besides: every published number still has its row; every category
    // lists 8 signs; each live syndrome has 5 signs, 3 of them weighing 5 or more, a tongue
    // and a pulse; weight-1 signs hold at most 35 % of the links; within a method no two
    // syndromes share 60 % of their signs, and none holds in another two thirds of what its
    // own signs weigh (a combination linked to every sign of one part, or a part swallowed
    // by its combination); each presentation ranks its syndrome first.
    QStringList bundled(const Published &published, const QList<Presentation> &presentations) const;

    // The ranking trials, with fixed seeds. 1 000 visits made of 60 % of a random
    // syndrome's signs, drawn evenly: first within its method in 90 % of them, within the
    // top three in 98 %, first with all five methods in 75 %. Then, as a practitioner
    // records common signs more often than rare ones, 200 visits per live syndrome made of
    // half its signs (rounded up) drawn in proportion to the syndromes each sign points to:
    // a sum above that of every other syndrome of its method in 80 % of them, for every
    // syndrome. A missed threshold is a fault; `figures` receives the rates for a reader.
    QStringList trials(QStringList &figures) const;

    // The base in figures: rows, links, weight-1 signs and their links, the pairs of a
    // method sharing 60 % of the smaller's signs.
    QStringList figures() const;

    // Where `syndrome` stands when `recorded` is ranked over its own method (or over all
    // five): 0 when it is not listed, else 1 + the others listed with a sum as high or
    // higher, so that sharing the first place is not being first.
    int position(qint32 syndrome, const QList<qint32> &recorded, bool allMethods = false) const;

    // A text with accents, case, ligatures and plural endings left out.
    static QString folded(const QString &text);

private:
    struct Sign {
        QString text;
        qint32 category = 0;
        QList<int> syndromes; // indexes in m_syndromes, once each
        int links = 0;        // duplicates counted, as the weight rule counts them
        int weight() const { return links == 0 ? 0 : std::max(10 - links, 1); }
    };
    struct Syndrome {
        qint32 number = 0;
        QString name;
        qint32 method = 0;
        QList<qint32> signs; // once each
    };

    // The summed weights of the syndromes `recorded` points to, of one method (0: all).
    QHash<int, int> sums(const QList<qint32> &recorded, qint32 method) const;
    QString sign(qint32 number) const;
    QString syndrome(int index) const;
    int proportionalRate(int index, quint32 seed) const;
    int totalWeight(const Syndrome &s) const;

    KnowledgeBaseRows m_rows;
    QHash<qint32, Sign> m_signs;
    QList<Syndrome> m_syndromes; // every row, in number order
    QHash<qint32, int> m_syndromeIndex;
    QHash<qint32, QList<qint32>> m_replacements; // retired sign -> its replacements
};
