#pragma once

#include "DatabaseError.h"

#include <QString>
#include <QVariant>

#include <memory>

class Recordset;
struct sqlite3;
struct sqlite3_stmt;

// The open file and what statements share on it: the SQLite connection, its cache of
// prepared statements and the state of its transaction. Recordsets that append rows keep
// it alive, so closing a Database ends them too (they then fail instead of crashing).
class Connection
{
public:
    Connection(sqlite3 *db, QString path) : m_db(db), m_path(std::move(path)) {}
    ~Connection();
    Q_DISABLE_COPY_MOVE(Connection)

    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }
    const QString &path() const { return m_path; }
    void close();

    // A prepared statement for SQLite text, kept for reuse; it comes back reset and with
    // its bindings cleared, and stays valid until the next call.
    sqlite3_stmt *prepare(const QString &sqliteText);

    // A statement of the program's dialect in SQLite's, and for "SELECT * FROM t" the
    // table t that accepts appended rows; worked out once per text and kept.
    struct Translation {
        QString sqlite;
        QString updatableTable;
    };
    Translation translate(const QString &jetText);
    [[noreturn]] void fail(int code) const;
    void check(int code) const;

private:
    sqlite3 *m_db;
    QString m_path;
    struct Cache;
    struct CacheDeleter {
        void operator()(Cache *cache) const;
    };
    std::unique_ptr<Cache, CacheDeleter> m_cache;
};

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
