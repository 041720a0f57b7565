#pragma once

#include "DatabaseError.h"

#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// Private to the data layer: the public headers only name it.
//
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

    // The failure an SQLite result code and message stand for: its kind, and for a
    // missing table or column, which one.
    static DatabaseError failure(int code, const QString &path, const QString &engineMessage);

private:
    sqlite3 *m_db;
    QString m_path;
    struct Cache;
    struct CacheDeleter {
        void operator()(Cache *cache) const;
    };
    std::unique_ptr<Cache, CacheDeleter> m_cache;
};
