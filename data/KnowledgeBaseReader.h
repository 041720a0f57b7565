#pragma once

#include "KnowledgeBaseRows.h"

class Database;

// Reads a knowledge base whole, for the checks of its content. A base without the table
// Remplacements (an older or imported one) reads with no replacement. Failures throw
// DatabaseError.
namespace KnowledgeBaseReader {

KnowledgeBaseRows read(Database &db);

// The edition of the bundled base the file comes from (its user_version; 0 before editions
// were numbered).
int edition(Database &db);
// A checksum (SHA-256, in hexadecimal) of the knowledge a practitioner edits: categories,
// signs, syndromes, links and replacements, in no particular order. The weights are left
// out, since a rebuild rewrites them alike.
QByteArray checksum(const KnowledgeBaseRows &rows);

} // namespace KnowledgeBaseReader
