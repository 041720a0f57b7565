#pragma once

// How failures travel through the program, one convention per layer:
// - data/ and engine/ throw DatabaseError for every failure of the knowledge base or of a
//   file they were asked to read or write; they never show a window and never answer a
//   failure with an empty text, a false or a null result.
// - ui/, visit/ and app/ catch DatabaseError where a command of the practitioner meets it,
//   and tell it in French (DatabaseMessage, or the command's own words built on it); an
//   Access file found as the knowledge base is first offered for conversion.
// - Nothing catches every exception to return false: a catch names what it handles.

#include <QList>
#include <QString>

#include <stdexcept>

// A failure of the database engine: what kind of failure, where it lies (the details),
// and the engine's own message, in its own words. The data layer never shows a window: the
// caller decides what the practitioner sees, and words each kind in French.
class DatabaseError : public std::runtime_error
{
public:
    enum class Kind {
        // Using the knowledge base.
        Missing,      // the file does not exist
        NotDatabase,  // the file exists but is no database we can read
        AccessFile,   // an Access/Jet file, which must be converted first
        Locked,       // another program holds the file longer than we wait
        Damaged,      // the engine found the file's content damaged
        ReadOnly,     // the file, or the folder that holds it, refuses writing
        DiskFull,     // no room left to write
        DiskError,    // the system could not read or write the file
        NoSuchTable,  // a statement names a table the file lacks (table)
        NoSuchColumn, // a statement names a column the table lacks (table when known, column)
        BadKey,       // a sign, syndrome or category number that is no signed 32-bit whole
                      // number: a damaged base (table, column, value as found)
        BadWeight,    // a weight that is empty, no whole number or past a signed 32-bit
                      // number: a damaged base (table, column, value as found, empty for none)
        TooComplex,   // a statement beyond what the translator accepts
        Failed,       // any other failure of the engine

        // Importing an Access (Jet) knowledge base. The details say where.
        NotAccessFile,    // the file to import is no Access file
        Truncated,        // the file stops short: value = its size, expected = the page size;
                          // or a table's pages lie past its end (table)
        MissingTable,     // one detail per absent table
        MissingColumn,    // one detail per absent column (table, column)
        WrongType,        // a key, weight or text column of another type (value = the type found)
        RowCount,         // rows read (value) differ from the count the table declares (expected)
        NullValue,        // a needed column is empty (table, column; context = the rest of the row)
        DuplicateKey,     // a number that identifies a row occurs twice (table, column, value)
        MissingReference, // links or weights naming a sign or syndrome that does not exist
                          // (table, column, value = the number; context = the whole row)
        WriteFailed,      // the converted file could not be written (value = that file)
        CheckFailed,      // the converted file did not read back as written (value = that file)
        RenameFailed,     // a file could not be renamed (value = from, expected = to); the
                          // original is back in place
        RestoreFailed,    // as RenameFailed, and the original could not be put back: it lies
                          // at value and belongs at expected
        CannotRead,       // the file to import cannot be opened or read (the system's reason as
                          // the engine's message)
        JetDamaged,       // a part of the Access file that says where everything lies cannot be
                          // read (table, or MSysObjects for the catalogue; value = which part:
                          // "catalogue", "definition", "columns", "usage map" or "row")
        NoSpace,          // the converted file could not be written: the disk is full (value =
                          // that file)
        ReaderFailed      // the helper that reads Access files crashed, ran past its time limit
                          // (expected = the limit in seconds), gave no answer, or could not be
                          // started (expected = the helper): value = "crash", "time-out",
                          // "no answer" or "start"
    };

    // Where a failure lies. Which fields mean something depends on the kind.
    struct Detail {
        QString table;
        QString column;
        QString value;
        QString expected;
        QString context;
    };

    DatabaseError(Kind kind, QString path, QString engineMessage, QList<Detail> details = {});

    Kind kind() const { return m_kind; }
    const QString &path() const { return m_path; }
    const QString &engineMessage() const { return m_engineMessage; }
    const QList<Detail> &details() const { return m_details; }

private:
    Kind m_kind;
    QString m_path;
    QString m_engineMessage;
    QList<Detail> m_details;
};
