#pragma once

#include "ListEntry.h"

#include <QList>

#include <array>
#include <optional>

class DataSource;

// The methods chosen by the practitioner, indexes 1 to 5 (0 unused); only 1 counts.
using MethodTable = std::array<qint32, 6>;

namespace Ranking {

// Shown only above this summed weight.
inline constexpr int Threshold = 6;

// Ranks the syndromes of the chosen methods by the summed weights of the recorded signs
// (item data of `signs`) through the bound source `classement`. Entries read
// "Nom  (sum)" with the syndrome number as item data, highest sum first. Sends no query
// when no sign is recorded or no method is at 1 (the query could not be formed).
// Throws DatabaseError.
QList<ListEntry> classerSyndromes(DataSource &classement, const QList<ListEntry> &signs, const MethodTable &methods);

// A ranked entry's text: the syndrome's name, two blanks and its sum in parentheses.
QString entryText(const QString &name, qint64 sum);
// What a ranked entry's text tells: the syndrome's name and its sum; nothing for a text
// that is not made by entryText.
struct Ranked {
    QString name;
    qint32 sum = 0;
};
std::optional<Ranked> readEntry(const QString &text);

} // namespace Ranking
