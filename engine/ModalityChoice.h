#pragma once

#include "ListEntry.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class DataSource;
class SignSearch;

// What the modality choice dialog lists and what its "Valider" does to Signes, apart from
// any window. The use is fixed by the shared numbers as they stand when the dialog loads:
// a sign number above 0 lists that sign's syndromes (read only), else a category number
// above 0 lists the category's signs, else the signs of the syndrome selected in Syndromes.
// Two entries stand for the same sign exactly when their texts are equal (case-sensitive),
// so a sign recorded before its weight was rebuilt no longer matches its new entry.
//
// A fourth use, the search across the whole base, is named by its opener (its numbers are
// all 0, which would otherwise mean the signs of a syndrome): it lists what the typed
// words find, and its "Valider" touches only signs it has listed.
class ModalityChoice
{
public:
    enum class Use { SyndromesOfSign, SignsOfCategory, SignsOfSyndrome, Search };

    // A change to Signes, in the order it must be made: remove the entry at `index`, or
    // append `entry` (text and item data) at the end.
    struct Edit {
        enum class Kind { Remove, Append };
        Kind kind;
        int index = -1;
        ListEntry entry;

        friend bool operator==(const Edit &, const Edit &) = default;
    };

    // `selectedSyndrome` is the item data of the selected Syndromes entry, none when no
    // entry is selected (the signs-of-a-syndrome use then lists nothing).
    ModalityChoice(qint32 signeChoisi, qint32 categorieChoisie, std::optional<qint32> selectedSyndrome);
    // The search across the whole base.
    static ModalityChoice forSearch();

    Use use() const { return m_use; }

    // A sign's entry as every sign list shows it: "Modalité (Valeur)", NumModalité as data.
    // The number comes from Recordset::key, which refuses one that does not fit.
    static ListEntry modalityEntry(const QString &text, qint64 weight, qint32 number);

    // The statement sent through ListeValeurs; empty when there is nothing to ask.
    QString statement() const;

    // Runs the statement through `listeValeurs` and reads every row. Throws DatabaseError;
    // the entries are then empty, never half read. The search use makes its word index
    // from the file here and lists nothing yet.
    void load(DataSource &listeValeurs);

    // Search use, after load: lists what `typed` finds (nothing when no word was typed).
    // Throws DatabaseError; the list is then empty.
    void find(const QString &typed);
    // The category of each entry listed by the search, in the entries' order.
    const QStringList &categories() const { return m_categories; }
    // How many further signs the search found beyond those listed.
    int more() const { return m_more; }
    // Search use: the practitioner changed the mark of entry `index`. Such marks hold
    // across searches, so that several searches in one opening record all their signs.
    void setMark(int index, bool marked);

    // NombreEntrées: the number of rows loaded.
    int nombreEntrees() const { return static_cast<int>(m_entries.size()); }
    // "Modalité (Valeur)" with NumModalité as item data; a syndrome's Nom alone, without
    // item data, when listing the syndromes of a sign.
    const QList<ListEntry> &entries() const { return m_entries; }
    bool entriesCarryItemData() const { return m_use != Use::SyndromesOfSign; }

    // Which entries open marked: those whose text equals a recorded sign's; none when
    // listing the syndromes of a sign. In the search, a mark the practitioner changed
    // during an earlier search of the same opening stands instead.
    QList<bool> initialMarks(const QList<ListEntry> &signes) const;

    // "Valider": each unmarked entry removes the first recorded sign of its text, each
    // marked entry not yet recorded is appended, entry by entry in the dialog's order. Read
    // only (no edit) when a sign number was handed over. `marked` has one flag per entry.
    // The search applies this to the entries whose mark the practitioner changed, in the
    // order first changed, then to the other entries it lists now: a sign it never listed
    // is never touched.
    QList<Edit> valider(const QList<ListEntry> &signes, const QList<bool> &marked) const;

    // Makes the edits on a copy of Signes' entries (for callers without a list widget).
    static void apply(const QList<Edit> &edits, QList<ListEntry> &signes);

private:
    static QList<Edit> edits(const QList<ListEntry> &entries, const QList<ListEntry> &signes,
                             const QList<bool> &marked);

    Use m_use;
    qint32 m_signeChoisi;
    qint32 m_categorieChoisie;
    std::optional<qint32> m_syndrome;
    QList<ListEntry> m_entries;

    // Copies share the word index, which goes when the last of them does.
    std::shared_ptr<const SignSearch> m_search;
    QStringList m_categories;
    int m_more = 0;
    // The marks changed in the search, by entry, in the order first changed.
    QList<std::pair<ListEntry, bool>> m_changed;
};
