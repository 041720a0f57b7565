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
// The work is linear in the size of the translation, and that size is bounded: aliases
// that refer to aliases can double it with each link of a chain.
namespace JetTranslator {

// Name of the collation that Database registers on every connection. It is never
// written into the schema, so the file stays readable and sortable by other tools.
inline constexpr char Collation[] = "FRENCH";

// The longest statement, before or after translation, in characters. The longest the
// program makes, a ranking of every sign of a large base, stays far below it.
inline constexpr qsizetype MaxLength = 1'000'000;
// The deepest nesting of parentheses, SQLite's own limit on an expression's depth.
inline constexpr int MaxDepth = 1000;

// Throws DatabaseError (Kind::TooComplex, without a path) for a statement beyond either bound.
QString toSqlite(const QString &jetStatement);

} // namespace JetTranslator
