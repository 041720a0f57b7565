#include "QueryProfile.h"

#include "DatabaseError.h"
#include "FrenchCollation.h"
#include "JetTranslator.h"

#include <QElapsedTimer>
#include <QFile>

#include <sqlite3.h>

#include <chrono>

namespace {

struct CollationMeter {
    qint64 calls = 0;
    std::chrono::nanoseconds spent{0};
};

int meteredCompare(void *meter, int aBytes, const void *a, int bBytes, const void *b)
{
    auto *m = static_cast<CollationMeter *>(meter);
    const auto start = std::chrono::steady_clock::now();
    const int result =
        FrenchCollation::compareUtf8(static_cast<const char *>(a), aBytes, static_cast<const char *>(b), bBytes);
    m->spent += std::chrono::steady_clock::now() - start;
    ++m->calls;
    return result;
}

// A read-only handle of its own, so that the collation can be metered on it alone.
class ProfiledHandle
{
public:
    explicit ProfiledHandle(const QString &path) : m_path(path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            fail();
    }
    ~ProfiledHandle() { sqlite3_close_v2(m_db); }
    Q_DISABLE_COPY_MOVE(ProfiledHandle)

    sqlite3 *handle() const { return m_db; }
    sqlite3_stmt *prepare(const QByteArray &sql)
    {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
            fail();
        return stmt;
    }
    [[noreturn]] void fail() const
    {
        throw DatabaseError(DatabaseError::Kind::Failed, m_path, QString::fromUtf8(sqlite3_errmsg(m_db)));
    }

private:
    QString m_path;
    sqlite3 *m_db = nullptr;
};

} // namespace

namespace QueryProfile {

Profile measure(const QString &path, const QString &jetStatement, int runs)
{
    Profile profile;
    ProfiledHandle connection(path);
    CollationMeter meter;
    sqlite3_create_collation_v2(connection.handle(), JetTranslator::Collation, SQLITE_UTF8, &meter, &meteredCompare,
                                nullptr);

    QElapsedTimer clock;
    QString sqlite;
    clock.start();
    for (int i = 0; i < runs; ++i)
        sqlite = JetTranslator::toSqlite(jetStatement);
    profile.translateUs = clock.nsecsElapsed() / 1e3 / runs;
    const QByteArray utf8 = sqlite.toUtf8();

    clock.restart();
    for (int i = 0; i < runs; ++i)
        sqlite3_finalize(connection.prepare(utf8));
    profile.prepareUs = clock.nsecsElapsed() / 1e3 / runs;

    sqlite3_stmt *stmt = connection.prepare(utf8);
    clock.restart();
    for (int i = 0; i < runs; ++i) {
        int rows = 0;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            ++rows;
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) {
            sqlite3_finalize(stmt);
            connection.fail();
        }
        profile.rows = rows;
    }
    profile.stepUs = clock.nsecsElapsed() / 1e3 / runs;
    sqlite3_finalize(stmt);
    profile.collationUs = std::chrono::duration<double, std::micro>(meter.spent).count() / runs;
    profile.collationCalls = double(meter.calls) / runs;

    stmt = connection.prepare("EXPLAIN QUERY PLAN " + utf8);
    while (sqlite3_step(stmt) == SQLITE_ROW)
        profile.plan.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 3))));
    sqlite3_finalize(stmt);
    return profile;
}

} // namespace QueryProfile
