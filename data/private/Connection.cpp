#include "Connection.h"

#include "JetTranslator.h"

#include <QHash>
#include <QRegularExpression>

#include <sqlite3.h>

namespace {

DatabaseError::Kind kindOf(int code)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DatabaseError::Kind::Locked;
    case SQLITE_NOTADB:
        return DatabaseError::Kind::NotDatabase;
    case SQLITE_CORRUPT:
        return DatabaseError::Kind::Damaged;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return DatabaseError::Kind::ReadOnly;
    case SQLITE_FULL:
        return DatabaseError::Kind::DiskFull;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return DatabaseError::Kind::DiskError;
    default:
        return DatabaseError::Kind::Failed;
    }
}

// "main.Valorisation" names the table Valorisation.
QString withoutSchema(QString name)
{
    for (const QLatin1StringView schema : {QLatin1StringView("main."), QLatin1StringView("temp.")})
        if (name.startsWith(schema, Qt::CaseInsensitive))
            return name.mid(schema.size());
    return name;
}

} // namespace

DatabaseError Connection::failure(int code, const QString &path, const QString &engineMessage)
{
    // SQLite says which table or column is missing only in its message, in these forms.
    static const QRegularExpression noTable(QStringLiteral(R"(^no such table: (.+)$)"));
    static const QRegularExpression noColumn(QStringLiteral(R"(^no such column: (.+)$)"));
    static const QRegularExpression noNamedColumn(QStringLiteral(R"(^table (.+) has no column named (.+)$)"));
    if ((code & 0xff) == SQLITE_ERROR) {
        if (const auto m = noTable.match(engineMessage); m.hasMatch())
            return DatabaseError(DatabaseError::Kind::NoSuchTable, path, engineMessage,
                                 {{withoutSchema(m.captured(1)), {}, {}, {}, {}}});
        if (const auto m = noNamedColumn.match(engineMessage); m.hasMatch())
            return DatabaseError(DatabaseError::Kind::NoSuchColumn, path, engineMessage,
                                 {{withoutSchema(m.captured(1)), m.captured(2), {}, {}, {}}});
        if (const auto m = noColumn.match(engineMessage); m.hasMatch()) {
            // "Table.Column" or a bare column; a table name may itself hold a dot only when
            // quoted, which SQLite's message does not show, so the last dot parts them.
            const QString name = m.captured(1);
            const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
            return DatabaseError(
                DatabaseError::Kind::NoSuchColumn, path, engineMessage,
                {{dot > 0 ? withoutSchema(name.left(dot)) : QString(), name.mid(dot + 1), {}, {}, {}}});
        }
    }
    return DatabaseError(kindOf(code), path, engineMessage);
}

namespace {

// The table of "SELECT * FROM table" (the only form that accepts appended rows).
QString updatableTable(const QString &sqliteText)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*SELECT\s+\*\s+FROM\s+("(?:[^"]|"")+"|[^\s;"]+)\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(sqliteText);
    if (!match.hasMatch())
        return {};
    QString table = match.captured(1);
    if (table.startsWith(QLatin1Char('"')))
        table = table.mid(1, table.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return table;
}

} // namespace

// The statement texts a session sends are few (the weight rebuild, 44 categories) or ever
// new (a ranking for each set of signs); a bounded cache keeps the first kind prepared
// without piling up the second kind for the whole session. When full it is emptied:
// nothing holds a statement between two calls.
constexpr qsizetype CacheLimit = 64;

struct Connection::Cache {
    QHash<QString, sqlite3_stmt *> statements;
    QHash<QString, Translation> translations;

    void dropStatements()
    {
        for (sqlite3_stmt *stmt : std::as_const(statements))
            sqlite3_finalize(stmt);
        statements.clear();
    }
};

void Connection::CacheDeleter::operator()(Cache *cache) const
{
    delete cache;
}

Connection::~Connection()
{
    close();
}

void Connection::close()
{
    if (m_cache) {
        m_cache->dropStatements();
        m_cache.reset();
    }
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

sqlite3_stmt *Connection::prepare(const QString &sqliteText)
{
    if (!m_db)
        throw DatabaseError(DatabaseError::Kind::Failed, m_path, QStringLiteral("la base de données est fermée"));
    if (!m_cache)
        m_cache.reset(new Cache);
    if (sqlite3_stmt *cached = m_cache->statements.value(sqliteText)) {
        sqlite3_reset(cached);
        sqlite3_clear_bindings(cached);
        return cached;
    }
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sqliteText.toUtf8();
    check(sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr));
    if (!stmt) // only blanks or a comment
        throw DatabaseError(DatabaseError::Kind::Failed, m_path, QStringLiteral("instruction vide"));
    if (m_cache->statements.size() >= CacheLimit)
        m_cache->dropStatements();
    m_cache->statements.insert(sqliteText, stmt);
    return stmt;
}

void Connection::fail(int code) const
{
    const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(code));
    throw failure(code, m_path, message);
}

void Connection::check(int code) const
{
    if (code != SQLITE_OK && code != SQLITE_DONE && code != SQLITE_ROW)
        fail(code);
}

Connection::Translation Connection::translate(const QString &jetText)
{
    if (!m_cache)
        m_cache.reset(new Cache);
    if (const auto it = m_cache->translations.constFind(jetText); it != m_cache->translations.cend())
        return *it;
    Translation translation;
    try {
        translation.sqlite = JetTranslator::toSqlite(jetText);
    } catch (const DatabaseError &refused) {
        throw DatabaseError(refused.kind(), m_path, refused.engineMessage(), refused.details());
    }
    translation.updatableTable = updatableTable(translation.sqlite);
    if (m_cache->translations.size() >= CacheLimit)
        m_cache->translations.clear();
    m_cache->translations.insert(jetText, translation);
    return translation;
}
