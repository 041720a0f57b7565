#pragma once

#include <QString>

// The knowledge base's tables, with the exact names the statements use. Only indexes
// are added: on the join columns, so queries stay fast on large knowledge bases. No
// collation is declared here, so the file stays usable in any SQLite tool.
namespace Schema {

QString createStatements();

} // namespace Schema
