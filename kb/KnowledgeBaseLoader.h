#pragma once

#include <QString>

// Loads the knowledge base's reviewable sources (categories.csv, modalites.csv,
// syndromes.csv, liens.csv, remplacements.csv: ';'-separated, one header line) into a new
// database file. The link and replacement files repeat the names and texts beside their
// numbers so that a reviewer can read them; they must equal the other files, or the load
// fails.
namespace KnowledgeBaseLoader {

// Returns an empty text on success, else what is wrong (file, line and reason).
QString load(const QString &sourceFolder, const QString &outputPath);

} // namespace KnowledgeBaseLoader
