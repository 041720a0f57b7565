#pragma once

#include <QString>

// Rewrites a statement of the Jet dialect, as the program's catalogue writes it, into
// SQLite's dialect with the same meaning. The rules work on tokens, so they apply to
// any statement, not only to the catalogue's:
//  - "DELETE * FROM t" becomes "DELETE FROM t";
//  - inside a select list, a reference to an alias defined earlier in the same list is
//    replaced by the aliased expression (Jet allows it, SQLite does not);
//  - Jet's double-quoted strings become SQL strings; `name` and [name] become "name";
//  - every ORDER BY term gets the French collation, so text sorts in French order.
namespace JetTranslator {

// Name of the collation that Database registers on every connection. It is never
// written into the schema, so the file stays readable and sortable by other tools.
inline constexpr char Collation[] = "FRENCH";

QString toSqlite(const QString &jetStatement);

} // namespace JetTranslator
