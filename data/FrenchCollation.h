#pragma once

struct sqlite3;

// French text order for ORDER BY: accents count after letters, case is ignored
// ("abcès" < "Ecchymose" < "écoulement" < "Zona").
namespace FrenchCollation {

void registerOn(sqlite3 *db);
int compare(const char16_t *a, int aLength, const char16_t *b, int bLength);
int compareUtf8(const char *a, int aBytes, const char *b, int bBytes);

} // namespace FrenchCollation
