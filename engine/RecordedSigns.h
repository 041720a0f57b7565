#pragma once

#include "ListEntry.h"

#include <QList>
#include <QStringList>

class DataSource;

// The signs recorded in a visit, read again from the base after their weights were
// rebuilt: a sign is its number, and its entry shows the text and weight the base has now.
namespace RecordedSigns {

struct Refreshed {
    QList<ListEntry> signes; // in the visit's order, each as the base now shows it
    QStringList gone;        // the entries of signs the base no longer lets record (no weight)
};

// Throws DatabaseError; nothing is refreshed then.
Refreshed refresh(DataSource &listeValeurs, const QList<ListEntry> &signes);

// What the last removal (a cut, a new visit) took out of the recorded signs, each with the
// place it had, so that it can be brought back once.
class Removed
{
public:
    // The recorded signs went from `before` to `after`: the signs of `before` that `after`
    // lacks are remembered, in place of what an earlier removal took.
    void remember(const QList<ListEntry> &before, const QList<ListEntry> &after);
    void forget() { m_removed.clear(); }

    // `signes` with the remembered signs back, each at the place it had (or the end, when
    // the list has grown shorter since); a sign recorded again meanwhile stays where it is.
    QList<ListEntry> restoredInto(const QList<ListEntry> &signes) const;

private:
    QList<std::pair<qsizetype, ListEntry>> m_removed; // by place, ascending
};

} // namespace RecordedSigns
