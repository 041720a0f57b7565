#pragma once

#include "DatabaseError.h"

#include <QString>
#include <QVariant>

#include <memory>

class Connection;
class Recordset;

// One open database file. Statements are written in the Jet dialect of the program's
// catalogue and translated on their way to SQLite. Every failure throws DatabaseError.
class Database
{
public:
    // Opens an existing knowledge base; never creates one. A missing file, a file that
    // is not a SQLite database (an Access file is named as such) or a locked file fail.
    static std::unique_ptr<Database> open(const QString &path);
    // Creates a new, empty file with the knowledge base's tables (for building the
    // bundled base, for fixtures and for benchmarks). An existing file is replaced.
    static std::unique_ptr<Database> create(const QString &path);

    // How long a file held by another program (an outside editor) is waited for before
    // failing as locked; 5 s unless changed. Applies to files opened afterwards.
    static void setBusyTimeout(int milliseconds);

    ~Database();
    Q_DISABLE_COPY_MOVE(Database)

    // Runs an action statement at once.
    void execute(const QString &jetStatement);
    // Runs a SELECT; the result is positioned on its first row. "SELECT * FROM t"
    // gives a result that accepts appended rows.
    std::unique_ptr<Recordset> openRecordset(const QString &jetStatement);
    // Runs statements in SQLite's own dialect, unchanged (schema, fixtures).
    void executeNative(const QString &sqliteScript);
    // Runs a SELECT in SQLite's own dialect, with the values bound to ?1, ?2...: for what
    // the program's dialect cannot say, and for text a person typed, which never becomes
    // part of a statement's text.
    std::unique_ptr<Recordset> openNative(const QString &sqliteText, const QVariantList &bindings = {});

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    void close();
    bool isOpen() const;
    QString path() const;

private:
    explicit Database(std::shared_ptr<Connection> connection);
    std::shared_ptr<Connection> m_connection;
};
