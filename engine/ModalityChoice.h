#pragma once

#include "ListEntry.h"

#include <QList>
#include <QString>

#include <optional>

class DataSource;

// What the modality choice dialog lists and what its "Valider" does to Signes, apart from
// any window. The use is fixed by the shared numbers as they stand when the dialog loads:
// a sign number above 0 lists that sign's syndromes (read only), else a category number
// above 0 lists the category's signs, else the signs of the syndrome selected in Syndromes.
// Two entries stand for the same sign exactly when their texts are equal (case-sensitive),
// so a sign recorded before its weight was rebuilt no longer matches its new entry.
class ModalityChoice
{
public:
    enum class Use { SyndromesOfSign, SignsOfCategory, SignsOfSyndrome };

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

    // The statement sent through ListeValeurs; empty when there is nothing to ask.
    QString statement() const;

    // Runs the statement through `listeValeurs` and reads every row. Throws DatabaseError;
    // the entries are then empty, never half read.
    void load(DataSource &listeValeurs);

    // NombreEntrées: the number of rows loaded.
    int nombreEntrees() const { return static_cast<int>(m_entries.size()); }
    // "Modalité (Valeur)" with NumModalité as item data; a syndrome's Nom alone, without
    // item data, when listing the syndromes of a sign.
    const QList<ListEntry> &entries() const { return m_entries; }
    bool entriesCarryItemData() const { return m_use != Use::SyndromesOfSign; }

    // Which entries open marked: those whose text equals a recorded sign's; none when
    // listing the syndromes of a sign.
    QList<bool> initialMarks(const QList<ListEntry> &signes) const;

    // "Valider": each unmarked entry removes the first recorded sign of its text, each
    // marked entry not yet recorded is appended, entry by entry in the dialog's order. Read
    // only (no edit) when a sign number was handed over. `marked` has one flag per entry.
    QList<Edit> valider(const QList<ListEntry> &signes, const QList<bool> &marked) const;

    // Makes the edits on a copy of Signes' entries (for callers without a list widget).
    static void apply(const QList<Edit> &edits, QList<ListEntry> &signes);

private:
    Use m_use;
    qint32 m_signeChoisi;
    qint32 m_categorieChoisie;
    std::optional<qint32> m_syndrome;
    QList<ListEntry> m_entries;
};
