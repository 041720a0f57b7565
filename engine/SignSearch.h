#pragma once

#include "ListEntry.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

class DataSource;

// The search across the whole base: every recordable sign for which each typed word
// begins a word of the sign's text or of its category's name, taken together; accents,
// case and ligatures aside (TextFold). Where the base says which live signs now record a
// retired sign, the retired sign is found by its own words too, as one entry that stands
// for them.
//
// The found signs come by how well their own text matches what was typed:
//   0. the whole text is the typed text;
//   1. the text begins with the typed text;
//   2. every typed word begins a word of the text, in the typed order;
//   3. every typed word begins a word of the text, in another order;
//   4. some typed word begins only a word of the category's name.
// Within one of these, live signs before retired ones, then shorter texts first, then
// French order. The comparison reads the sign's own text, never the weight its entry shows.
//
// The word index is read from the base once, when the search is made; it answers every
// later search without the base.
class SignSearch
{
public:
    // Entries listed at most; the others are only counted.
    static constexpr int Shown = 200;

    struct Found {
        // A live sign: "Modalité (Valeur)" with its NumModalité, as the category listing
        // gives it. A retired sign: "Modalité → Remplaçante + Remplaçante" with its own
        // NumModalité, or "Modalité : ne correspond à aucun syndrome de la base" when no
        // live sign records it.
        ListEntry entry;
        QString category;
        bool retired = false;
        // A retired sign's live signs, as their entries read, in the order the base gives.
        QList<ListEntry> replacements;

        friend bool operator==(const Found &, const Found &) = default;
    };
    struct Result {
        QList<Found> found; // best first, as above
        int more = 0;       // how many further signs match

        friend bool operator==(const Result &, const Result &) = default;
    };

    // Reads the signs of the base `listeValeurs` names: the recordable ones and, when the
    // base has the table of replacements, the retired ones. Throws DatabaseError.
    explicit SignSearch(DataSource &listeValeurs);
    ~SignSearch();
    Q_DISABLE_COPY_MOVE(SignSearch)

    // Nothing when no word was typed.
    Result search(const QString &typed) const;

    // The words of a folded text, as the search cuts it: runs of letters and digits.
    static QList<QStringView> words(QStringView folded);

private:
    struct Span {
        int start;
        int length;
    };
    struct Category {
        QString folded;
        QList<Span> words;
    };
    struct Sign {
        ListEntry entry;
        int category = 0; // index in m_categories
        int length = 0;   // of the sign's own text
        int rank = 0;     // French order of the sign's own text among all signs
        bool retired = false;
        QList<ListEntry> replacements;
        QString folded; // the sign's own text, folded
        QList<Span> words;
    };

    int group(const Sign &sign, const QList<QStringView> &typed) const;

    std::vector<Sign> m_signs;
    std::vector<QString> m_categoryNames;
    std::vector<Category> m_categories;
};

// The search made once and kept while the base stays the same file with the same content:
// made again when the file was changed or replaced (its size or times differ), and after
// forget(), which the commands that rewrite the base call (a rebuild of the weights, an
// import).
class SignSearchCache
{
public:
    // The search of the base `listeValeurs` names. Throws DatabaseError.
    std::shared_ptr<const SignSearch> search(DataSource &listeValeurs);
    void forget();

private:
    struct Stamp {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        QDateTime changed;
        friend bool operator==(const Stamp &, const Stamp &) = default;
    };
    static Stamp stampOf(const QString &path);

    std::shared_ptr<const SignSearch> m_search;
    Stamp m_stamp;
};
