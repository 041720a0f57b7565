#pragma once

#include "ListEntry.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class DataSource;
class SignSearch;

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

    // "Modalité (Valeur)" with NumModalité as item data; a syndrome's Nom alone, without
    // item data, when listing the syndromes of a sign.
    const QList<ListEntry> &entries() const { return m_entries; }
    bool entriesCarryItemData() const { return m_use != Use::SyndromesOfSign; }

    // Which entries open marked: the recorded signs; none when listing the syndromes of a
    // sign. In the search, a mark the practitioner changed during an earlier search of the
    // same opening stands instead.
    QList<bool> initialMarks(const QList<ListEntry> &signes) const;

    // "Valider": the recorded signs once brought in line with `marked` (one flag per entry):
    // each unmarked entry removes its sign, each marked entry not yet recorded is appended,
    // entry by entry in the dialog's order; the signs it does not list stay where they are.
    // Unchanged when listing the syndromes of a sign. The search applies this to the
    // entries whose mark the practitioner changed, in the order first changed, then to the
    // other entries it lists now: a sign it never listed is never touched.
    QList<ListEntry> valider(const QList<ListEntry> &signes, const QList<bool> &marked) const;

private:
    ModalityChoice(Use use, std::optional<qint32> number) : m_use(use), m_number(number) {}

    Use m_use;
    // The category, syndrome or sign the opener named.
    std::optional<qint32> m_number;
    QList<ListEntry> m_entries;

    // Copies share the word index, which goes when the last of them does.
    std::shared_ptr<const SignSearch> m_search;
    QStringList m_categories;
    int m_more = 0;
    // The marks changed in the search, by entry, in the order first changed.
    QList<std::pair<ListEntry, bool>> m_changed;
};
