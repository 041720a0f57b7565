#pragma once

#include <QString>

// The knowledge base's tables, with the exact names the statements use. Only indexes
// are added: on the join columns, so queries stay fast on large knowledge bases. No
// collation is declared here, so the file stays usable in any SQLite tool.
// "Remplacements" names, for each retired sign (a row of Modalités kept for its number,
// with no link), the live signs that now record it, one row per pair; a retired sign that
// no live sign replaces has no row. Older and imported bases may lack the table or leave
// it empty: whoever reads it treats that as "no replacement known".
namespace Schema {

QString createStatements();

} // namespace Schema
