#pragma once

#include "JetImport.h"

#include <QString>

class DatabaseError;

// The French words of importing an Access knowledge base: why a file was refused, and
// what came over.
namespace JetImportText {

// For the kinds an import raises (NotAccessFile to RestoreFailed); names the file, the
// table and the value, and says what to do.
QString problem(const DatabaseError &error);

// Counts per table, what was left behind, the weights that differ from the weight rule,
// and where the replaced file now lies.
QString summary(const JetImport::Summary &summary);

} // namespace JetImportText
