#pragma once

#include "JetImport.h"

class ImportFiles;

// The conversion itself, in the process that runs it: the import helper, and the tests of
// what it refuses. Reads the Access file whole with JetReader, refuses what the program's
// tables cannot hold, writes the new knowledge base as `converted` through `files` and reads
// it back. On failure no file is left at `converted`, and it throws DatabaseError.
namespace JetConversion {

JetImport::Summary convert(const QString &jetPath, const QString &converted, ImportFiles &files,
                           const JetImport::Progress &progress = {});

// convert() as an import's converter, in this very process.
JetImport::Converter inProcess(ImportFiles &files);

} // namespace JetConversion
