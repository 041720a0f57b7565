#pragma once

#include <QCollatorSortKey>
#include <QString>

struct sqlite3;

// French text order for ORDER BY: accents count after letters, case is ignored
// ("abcès" < "Ecchymose" < "écoulement" < "Zona"), and numbers sort as numbers
// ("2 fois par jour" < "10 fois par jour"). The one order the program sorts text by.
namespace FrenchCollation {

void registerOn(sqlite3 *db);
int compare(const char16_t *a, int aLength, const char16_t *b, int bLength);
int compareUtf8(const char *a, int aBytes, const char *b, int bBytes);
// A key whose comparison with another gives the same order as compare(), for ordering
// many texts at once without comparing each pair anew.
QCollatorSortKey sortKey(const QString &text);

} // namespace FrenchCollation
