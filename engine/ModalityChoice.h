#pragma once

#include "ListEntry.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class DataSource;
class SignSearch;
class SignSearchCache;

// What the sign dialog lists and what its "Valider" makes of the recorded signs, apart from
// any window. The opener says what to list: a category's signs, a syndrome's signs (both
// to mark and record), a sign's syndromes (read only), or what a search across the whole
// base finds.
//
// A sign is the same sign when its number is the same: its text carries its weight, which
// a rebuild of the weights may change while the visit is open.
class ModalityChoice
{
public:
    enum class Use { SyndromesOfSign, SignsOfCategory, SignsOfSyndrome, Search };

    static ModalityChoice forCategory(qint32 category);
    // The signs of the syndrome selected in the ranked list; none selected lists nothing.
    static ModalityChoice forSyndrome(std::optional<qint32> syndrome);
    static ModalityChoice forSign(qint32 sign);
    // The search takes its word index from `cache` when given (it must outlive the
    // loading), else makes one of its own.
    static ModalityChoice forSearch(SignSearchCache *cache = nullptr);

    Use use() const { return m_use; }

    // A sign's entry as every sign list shows it: "Modalité (Valeur)", NumModalité as data.
    // The number comes from Recordset::key, which refuses one that does not fit.
    static ListEntry modalityEntry(const QString &text, qint64 weight, qint32 number);

    // The statement sent through ListeValeurs; empty when there is nothing to ask.
    QString statement() const;

    // Runs the statement through `listeValeurs` and reads every row. Throws DatabaseError;
    // the entries are then empty, never half read. The search use takes its word index
    // here and lists nothing yet.
    void load(DataSource &listeValeurs);

    // Search use, after load: lists what `typed` finds (nothing when no word was typed).
    // Throws DatabaseError; the list is then empty.
    void find(const QString &typed);
    // The category of each entry listed by the search, in the entries' order.
    const QStringList &categories() const { return m_categories; }
    // How many further signs the search found beyond those listed.
    int more() const { return m_more; }
    // Search use: entry `index` stands for a retired sign, found by its own words; marking
    // it records the live signs that now record it.
    bool isRetired(int index) const;
    // Whether entry `index` can be marked at all: not a retired sign that no live sign
    // records any more.
    bool isMarkable(int index) const;
    // Search use: the practitioner changed the mark of entry `index`. Such marks hold
    // across searches, so that several searches in one opening record all their signs.
    // Marking a retired sign's entry marks its live signs; unmarking it unmarks nothing.
    void setMark(int index, bool marked);

    // "Modalité (Valeur)" with NumModalité as item data; a syndrome's Nom alone, without
    // item data, when listing the syndromes of a sign.
    const QList<ListEntry> &entries() const { return m_entries; }
    bool entriesCarryItemData() const { return m_use != Use::SyndromesOfSign; }

    // Which entries show marked: the recorded signs; none when listing the syndromes of a
    // sign. In the search, a mark the practitioner changed during the opening stands
    // instead, and a retired sign's entry is marked when all its live signs are (or, until
    // another mark changes, as the practitioner last set it).
    QList<bool> initialMarks(const QList<ListEntry> &signes) const;

    // "Valider": the recorded signs once brought in line with `marked` (one flag per entry):
    // each unmarked entry removes its sign, each marked entry not yet recorded is appended,
    // entry by entry in the dialog's order; the signs it does not list stay where they are.
    // Unchanged when listing the syndromes of a sign. The search applies this to the live
    // signs whose mark the practitioner changed (a retired sign's entry changes those of
    // its live signs), in the order first changed, then to the other live entries it lists
    // now: a sign it never listed is never touched.
    QList<ListEntry> valider(const QList<ListEntry> &signes, const QList<bool> &marked) const;

private:
    ModalityChoice(Use use, std::optional<qint32> number) : m_use(use), m_number(number) {}

    Use m_use;
    // The category, syndrome or sign the opener named.
    std::optional<qint32> m_number;
    QList<ListEntry> m_entries;

    // Copies share the word index.
    SignSearchCache *m_cache = nullptr;
    std::shared_ptr<const SignSearch> m_search;
    QStringList m_categories;
    // For each entry the search lists: the live signs of a retired sign's entry (none for
    // a live sign), and whether it is one.
    QList<QList<ListEntry>> m_replacements;
    QList<bool> m_retired;
    int m_more = 0;
    // The marks of live signs changed in the search, in the order first changed.
    QList<std::pair<ListEntry, bool>> m_changed;
    // The marks the practitioner set on retired signs' entries, by their numbers, until a
    // live sign's mark changes.
    QList<std::pair<qint32, bool>> m_retiredMarks;

    void setLiveMark(const ListEntry &entry, bool marked);
    std::optional<bool> changedMark(qint32 number) const;
};
