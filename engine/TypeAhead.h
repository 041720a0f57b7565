#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Finding an entry by typing, the way a practitioner spells it: case and accents do not
// matter, and what is typed may begin the entry or any of its words, so "serré" finds
// "Pouls serré" in a list where every entry begins with "Pouls".
namespace TypeAhead {

// Whether `typed` begins `text` or one of its words; both already folded (TextFold).
bool matchesFolded(QStringView text, QStringView typed);

// Whether `typed` begins `text` or one of its words, folding both.
bool matches(QStringView text, QStringView typed);

// The first of `texts` (already folded), from index `from` on and wrapping round, that
// `typed` (already folded) matches; -1 when none does.
int findFolded(const QStringList &texts, QStringView typed, int from);

// The keystrokes of one search: each one extends the search while it follows the
// previous one within `interval` milliseconds, else starts a new one.
class Buffer
{
public:
    explicit Buffer(int interval) : m_interval(interval) {}

    // The entry to move to after `text` was typed at `msecs`, the current entry being
    // `current` (negative when none), or -1 to stay. A search that goes on keeps the
    // current entry while it still matches; a new search, or the same letter typed again,
    // moves on to the next entry that matches, so repeating a letter walks through them.
    int type(const QString &text, qint64 msecs, const QStringList &foldedTexts, int current);

    // Whether a key pressed at `msecs` would go on with the search under way: a blank then
    // belongs to the search rather than marking the entry.
    bool goesOn(qint64 msecs) const { return !m_typed.isEmpty() && m_last >= 0 && msecs - m_last <= m_interval; }

private:
    int m_interval;
    qint64 m_last = -1;
    QString m_typed;
};

} // namespace TypeAhead
