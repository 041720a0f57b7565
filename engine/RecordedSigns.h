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

} // namespace RecordedSigns
