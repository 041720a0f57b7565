#pragma once

#include "KnowledgeBaseRows.h"

#include <QString>
#include <QStringList>

#include <functional>

// Reads the knowledge tables of an Access file (Jet 3 or Jet 4), read-only, through
// libmdb. libmdb reads damaged files without complaint (a cut page comes back as rows of
// nulls, a missing page as the end of a table, a page of another table as no rows, a null
// text as an empty one) and trusts every count and offset it finds, so every read is
// checked against what the file itself declares before libmdb is let further, and anything
// that does not add up is refused with a DatabaseError naming the table and the value.
// Texts are decoded here from their bytes, so that a character that cannot be read is
// counted rather than silently replaced or cut at. libmdb can still fail on a file damaged
// in ways no check foresees: the program runs this reader only in the import helper, a
// process of its own. Built without libmdb, every read fails as an Access file to convert.
namespace JetReader {

struct Result {
    KnowledgeBaseRows rows;
    int version = 0;          // 3 or 4 (later Access files read as 4)
    QStringList otherTables;  // user tables of the file that are not knowledge tables
    QStringList otherColumns; // "Table.Column" of the columns the program does not use
    QList<KnowledgeBaseRows::AlteredText> alteredTexts;
};

// Receives the rows read so far and the rows the five tables declare in all.
using Progress = std::function<void(qint64 done, qint64 total)>;

// Throws DatabaseError: Missing, CannotRead, NotAccessFile, Truncated, JetDamaged,
// MissingTable, MissingColumn, WrongType, RowCount or NullValue.
Result read(const QString &path, const Progress &progress = {});

} // namespace JetReader
