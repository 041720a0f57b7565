#include "Database.h"

#include "Connection.h"
#include "FrenchCollation.h"
#include "JetFile.h"
#include "Recordset.h"
#include "Schema.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <atomic>

namespace {

// How long a file held by another program (an outside editor) is waited for.
std::atomic<int> busyTimeoutMs = 5000;

// Tells what the file is from its first bytes, before SQLite is let near it: SQLite
// would happily treat an empty file as an empty database.
void checkHeader(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw DatabaseError(DatabaseError::Kind::Missing, path, QStringLiteral("le fichier n'existe pas"));
    if (!info.isFile())
        throw DatabaseError(DatabaseError::Kind::NotDatabase, path, QStringLiteral("ce n'est pas un fichier"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(DatabaseError::Kind::Failed, path, file.errorString());
    const QByteArray head = file.read(100);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return;
    if (JetFile::versionOfHeader(head) != 0)
        throw DatabaseError(DatabaseError::Kind::AccessFile, path,
                            QStringLiteral("c'est une base Access (Jet), qui doit d'abord être convertie"));
    throw DatabaseError(DatabaseError::Kind::NotDatabase, path,
                        head.isEmpty() ? QStringLiteral("le fichier est vide")
                                       : QStringLiteral("le fichier n'est pas une base de données SQLite"));
}

sqlite3 *openHandle(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw Connection::failure(rc, path, message);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeoutMs.load());
    FrenchCollation::registerOn(db);
    return db;
}

} // namespace

namespace {

// Every cell of the result, row after row: one block for the whole result rather than
// one per row, which on a ranking or a listing cost as much as the engine's own work.
QVariantList readAll(Connection &connection, sqlite3_stmt *stmt, QStringList &columns)
{
    const int n = sqlite3_column_count(stmt);
    columns.clear();
    for (int c = 0; c < n; ++c)
        columns.append(QString::fromUtf8(sqlite3_column_name(stmt, c)));
    QVariantList cells;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                cells.append(QVariant::fromValue<qlonglong>(sqlite3_column_int64(stmt, c)));
                break;
            case SQLITE_FLOAT:
                cells.append(sqlite3_column_double(stmt, c));
                break;
            case SQLITE_NULL:
                cells.append(QVariant());
                break;
            default:
                cells.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)),
                                               sqlite3_column_bytes(stmt, c)));
            }
        }
    }
    sqlite3_reset(stmt);
    connection.check(rc);
    return cells;
}

} // namespace

void Database::setBusyTimeout(int milliseconds)
{
    busyTimeoutMs = milliseconds;
}

Database::Database(std::shared_ptr<Connection> connection) : m_connection(std::move(connection)) {}

Database::~Database() = default;

std::unique_ptr<Database> Database::open(const QString &path)
{
    checkHeader(path);
    auto connection = std::make_shared<Connection>(openHandle(path, SQLITE_OPEN_READWRITE), path);
    std::unique_ptr<Database> db(new Database(connection));
    // A damaged file passes the header test; reading the schema finds it out now rather
    // than in the middle of a command.
    db->executeNative(QStringLiteral("PRAGMA schema_version"));
    return db;
}

std::unique_ptr<Database> Database::create(const QString &path)
{
    QFile::remove(path);
    auto connection = std::make_shared<Connection>(openHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), path);
    std::unique_ptr<Database> db(new Database(connection));
    db->executeNative(Schema::createStatements());
    return db;
}

void Database::execute(const QString &jetStatement)
{
    sqlite3_stmt *stmt = m_connection->prepare(m_connection->translate(jetStatement).sqlite);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    m_connection->check(rc);
}

std::unique_ptr<Recordset> Database::openRecordset(const QString &jetStatement)
{
    const Connection::Translation translation = m_connection->translate(jetStatement);
    sqlite3_stmt *stmt = m_connection->prepare(translation.sqlite);
    QStringList columns;
    QVariantList cells = readAll(*m_connection, stmt, columns);
    if (translation.updatableTable.isEmpty())
        return std::make_unique<Recordset>(std::move(columns), std::move(cells), path());
    return std::make_unique<Recordset>(std::move(columns), std::move(cells), m_connection, translation.updatableTable);
}

std::unique_ptr<Recordset> Database::openNative(const QString &sqliteText, const QVariantList &bindings)
{
    sqlite3_stmt *stmt = m_connection->prepare(sqliteText);
    for (int i = 0; i < bindings.size(); ++i) {
        const QVariant &value = bindings[i];
        if (value.isNull()) {
            m_connection->check(sqlite3_bind_null(stmt, i + 1));
        } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
            m_connection->check(sqlite3_bind_int64(stmt, i + 1, value.toLongLong()));
        } else {
            const QByteArray utf8 = value.toString().toUtf8();
            m_connection->check(sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
        }
    }
    QStringList columns;
    QVariantList cells = readAll(*m_connection, stmt, columns);
    return std::make_unique<Recordset>(std::move(columns), std::move(cells), path());
}

void Database::executeNative(const QString &sqliteScript)
{
    if (!m_connection->isOpen())
        throw DatabaseError(DatabaseError::Kind::Failed, path(), QStringLiteral("la base de données est fermée"));
    const QByteArray utf8 = sqliteScript.toUtf8();
    const char *tail = utf8.constData();
    while (tail && *tail) {
        sqlite3_stmt *stmt = nullptr;
        const char *next = nullptr;
        m_connection->check(sqlite3_prepare_v2(m_connection->handle(), tail, -1, &stmt, &next));
        if (stmt) {
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            }
            sqlite3_finalize(stmt);
            m_connection->check(rc);
        }
        tail = next;
    }
}

void Database::beginTransaction()
{
    executeNative(QStringLiteral("BEGIN IMMEDIATE"));
}

void Database::commit()
{
    executeNative(QStringLiteral("COMMIT"));
}

void Database::rollback()
{
    if (inTransaction())
        executeNative(QStringLiteral("ROLLBACK"));
}

bool Database::inTransaction() const
{
    return m_connection->isOpen() && sqlite3_get_autocommit(m_connection->handle()) == 0;
}

void Database::close()
{
    m_connection->close();
}

bool Database::isOpen() const
{
    return m_connection->isOpen();
}

QString Database::path() const
{
    return m_connection->path();
}
