#pragma once

#include "ListEntry.h"

#include <QList>
#include <QSet>
#include <QStringList>

class DataSource;

// What to look for next, when the ranking leaves a few syndromes close together: for each
// syndrome that leads, the recorded signs that support it and its signs that would tell
// the leaders apart. Read through the same listing as the signs of a syndrome, so a sign
// without a weight (retired, or waiting for a rebuild) is never offered.
namespace SignsToCheck {

// At most this many syndromes lead, each offers at most this many signs, and a tip names
// the first few of them.
inline constexpr int MostLeading = 4;
inline constexpr int MostToCheck = 6;
inline constexpr int InTip = 3;

struct Sign {
    ListEntry entry; // "Modalité (Valeur)", NumModalité as data
    qint32 weight = 0;
    QStringList alsoFor; // the other leading syndromes it points to, in the ranked order
};

struct Group {
    ListEntry syndrome; // as the ranked list shows it: "Nom  (sum)", NumSyndrome as data
    QString name;
    QString found; // the recorded signs that support it, as its tip says them
    QList<Sign> toCheck;
};

// Where the leading syndromes stand in `ranked` (the ranked list as shown): the first,
// then every other whose sum is at least half the first's, four at most, in the list's
// own order, so that a tie is settled as the list settles it.
QList<int> leading(const QList<ListEntry> &ranked);

// A group per leading syndrome, in the ranked order; none when nothing is ranked. A
// group's signs to check are its signs not recorded in `signes` that do not point to
// every leading syndrome (one that they all share tells nothing apart; with one leader,
// all of them): first those of this syndrome alone among the leaders, then those shared
// with some others; heaviest first within each, then in text order. Throws DatabaseError.
QList<Group> groups(DataSource &listeValeurs, const QList<ListEntry> &ranked, const QList<ListEntry> &signes);

// "aussi <other syndromes>" for a sign shared with other leaders; empty otherwise.
QString alsoText(const Sign &sign);
// What a screen reader says of a sign to check: "<sign> (<weight>), pour <syndrome>",
// then ", aussi <others>" where it points to others too.
QString spokenName(const Group &group, const Sign &sign);
// The line that ends a leading syndrome's tip, "À vérifier : " and its first signs to
// check; empty when it has none.
QString tipLine(const Group &group);

// "Valider": `signes` with each sign of the groups whose number is in `marked` appended,
// in the window's order, once, and never one already recorded.
QList<ListEntry> record(const QList<Group> &groups, const QList<ListEntry> &signes, const QSet<qint32> &marked);

} // namespace SignsToCheck
