#pragma once

#include "KnowledgeBaseRows.h"

#include <QString>
#include <QStringList>

#include <functional>

// Reads the knowledge tables of an Access file (Jet 3 or Jet 4), read-only, through
// libmdb. libmdb reads damaged files without complaint (a cut page comes back as rows of
// nulls, a missing page as the end of a table, a page of another table as no rows, a null
// text as an empty one), so every read is checked against what the file itself declares,
// and anything that does not add up is refused with a DatabaseError naming the table and
// the value. Built without libmdb, every read fails as an Access file to convert first.
namespace JetReader {

struct Result {
    KnowledgeBaseRows rows;
    int version = 0;          // 3 or 4 (later Access files read as 4)
    QStringList otherTables;  // user tables of the file that are not knowledge tables
    QStringList otherColumns; // "Table.Column" of the columns the program does not use
};

// Receives the rows read so far and the rows the five tables declare in all.
using Progress = std::function<void(qint64 done, qint64 total)>;

bool isAvailable();

// The Jet generation from the file's first page: 3, 4 (later Access files, "Standard ACE
// DB", read as 4), or 0 for a file that is no Access file (or cannot be read).
int versionOf(const QString &path);
// The same from the file's first bytes (at least HeaderBytes of them to be an Access file).
int versionOfHeader(const QByteArray &head);
inline constexpr qint64 HeaderBytes = 0x15;

// Throws DatabaseError: Missing, NotAccessFile, Truncated, MissingTable, MissingColumn,
// WrongType, RowCount, NullValue, or Failed when libmdb gives up on the file.
Result read(const QString &path, const Progress &progress = {});

} // namespace JetReader
