#pragma once

#include "ListEntry.h"

#include <QList>
#include <QString>

class Database;

// The search across the whole base: every recordable sign for which each typed word
// begins a word of the sign's text or of its category's name, taken together; accents
// and case aside. The word index is made from the file when the search is made and
// dropped with it, so it never outlives the command that opened it.
class SignSearch
{
public:
    // Entries listed at most; the others are only counted.
    static constexpr int Shown = 200;

    struct Found {
        ListEntry entry; // "Modalité (Valeur)" with NumModalité, as the category listing gives it
        QString category;

        friend bool operator==(const Found &, const Found &) = default;
    };
    struct Result {
        QList<Found> found; // by category name, then text, in the French collation
        int more = 0;       // how many further signs match

        friend bool operator==(const Result &, const Result &) = default;
    };

    // Makes the word index on `db`. Throws DatabaseError.
    explicit SignSearch(Database &db);
    ~SignSearch();
    Q_DISABLE_COPY_MOVE(SignSearch)

    // Nothing when no word was typed. Throws DatabaseError.
    Result search(const QString &typed) const;

    // The index query for what was typed: each word as a prefix, all of them required;
    // empty when no word was typed.
    static QString matchQuery(const QString &typed);

private:
    Database &m_db;
};
