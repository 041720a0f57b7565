#pragma once

#include <QString>

// Loads the knowledge base's reviewable sources (categories.csv, modalites.csv,
// syndromes.csv, liens.csv: ';'-separated, one header line) into a new database file.
// The link file repeats the syndrome's name and the sign's text beside their numbers so
// that a reviewer can read it; both must equal the other files, or the load fails.
namespace KnowledgeBaseLoader {

// Returns an empty text on success, else what is wrong (file, line and reason).
QString load(const QString &sourceFolder, const QString &outputPath);

} // namespace KnowledgeBaseLoader
