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
    // The words of every sign's own text and every category's name, folded, one after
    // another in one text, so that a search walks them from one memory to the next.
    struct Words {
        int first = 0; // in m_words
        int count = 0;
        quint64 initials = 0; // the letters its words begin with, one bit each (see initial())
    };
    struct Sign {
        Words words;
        int category = 0; // in m_categories
        // Retired or not, the length of its own text and its French rank, packed so that
        // one comparison orders two signs of one match group.
        quint64 order = 0;
    };
    // What a found sign lists, apart from what the search walks.
    struct Listed {
        ListEntry entry;
        bool retired = false;
        QList<ListEntry> replacements;
    };
    struct Category {
        Words words;
        QString name;
    };

    Words addWords(const QString &text);
    QStringView word(int index) const;
    int group(const Words &words, const QList<QStringView> &typed) const;

    QString m_folded;
    std::vector<Span> m_words;
    std::vector<Sign> m_signs;
    std::vector<Listed> m_listed; // one per sign
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
