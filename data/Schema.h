#pragma once

#include <QString>

// The knowledge base's tables, with the exact names the statements use. Only indexes
// are added: on the join columns, so queries stay fast on large knowledge bases. No
// collation is declared here, so the file stays usable in any SQLite tool.
namespace Schema {

QString createStatements();
// The same tables, with or without the indexes: without them, the statements still give
// the same results, only slower (the benchmarks' naive peer).
QString createStatements(bool withIndexes);

} // namespace Schema
