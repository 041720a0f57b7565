#pragma once

#include "JetImport.h"
#include "KnowledgeBaseImport.h"

#include <QString>

class DatabaseError;

// The French words of importing an Access knowledge base: the question asked first, why
// a file was refused, and what came over.
namespace JetImportText {

// The title of the import's own boxes.
inline const QString Title = QStringLiteral("Importation d'une base Access");

// The offer to convert an Access file found as the knowledge base, or the confirmation
// of the menu command: which file, what it replaces, where the replaced file goes, the
// visit emptied.
QString question(const KnowledgeBaseImport::Question &question);

// For the kinds an import raises (NotAccessFile to ReaderFailed); names the file, the
// table and the value, and says what to do.
QString problem(const DatabaseError &error);

// Counts per table, what was left behind, the weights that differ from the weight rule,
// and where the replaced file now lies.
QString summary(const JetImport::Summary &summary);

} // namespace JetImportText
