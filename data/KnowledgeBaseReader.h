#pragma once

#include "KnowledgeBaseRows.h"

class Database;

// Reads a knowledge base whole, for the checks of its content. A base without the table
// Remplacements (an older or imported one) reads with no replacement. Failures throw
// DatabaseError.
namespace KnowledgeBaseReader {

KnowledgeBaseRows read(Database &db);

} // namespace KnowledgeBaseReader
