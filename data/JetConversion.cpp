#include "JetConversion.h"

#include "DatabaseError.h"
#include "ImportFiles.h"
#include "JetReader.h"
#include "KnowledgeBaseRows.h"
#include "Schema.h"
#include "Statements.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <sqlite3.h>

#include <memory>
#include <optional>

namespace {

using Kind = DatabaseError::Kind;
using Detail = DatabaseError::Detail;

const QString Categories = QStringLiteral("Catégories");
const QString Modalities = QStringLiteral("Modalités");
const QString Syndromes = QStringLiteral("Syndromes");
const QString Links = QStringLiteral("Modalité-Syndrome");
const QString Weights = QStringLiteral("Valorisation");
const QString NumModalite = QStringLiteral("NumModalité");
const QString NumSyndrome = QStringLiteral("NumSyndrome");

template <typename Row, typename Key>
void findDuplicates(const QList<Row> &rows, Key key, const QString &table, const QString &column, QList<Detail> &found)
{
    QSet<qint32> seen, reported;
    for (const Row &row : rows) {
        const qint32 n = key(row);
        if (!seen.contains(n))
            seen.insert(n);
        else if (!reported.contains(n)) {
            reported.insert(n);
            found.append({table, column, QString::number(n), {}, {}});
        }
    }
}

QString linkText(const KnowledgeBaseRows::Link &link)
{
    return QStringLiteral("NumModalité=%1, NumSyndrome=%2").arg(link.modality).arg(link.syndrome);
}

// Refuses what the program's tables cannot hold or the practitioner would lose without a
// word: a number identifying two rows, a link or a weight naming a sign or a syndrome that
// does not exist (all of them listed: the practitioner decides what becomes of them).
// Returns how many signs have a weight other than the weight rule's.
qint64 check(const QString &path, const KnowledgeBaseRows &kb)
{
    QList<Detail> duplicates;
    findDuplicates(
        kb.categories, [](const auto &r) { return r.number; }, Categories, QStringLiteral("NumCatégorie"), duplicates);
    findDuplicates(
        kb.modalities, [](const auto &r) { return r.number; }, Modalities, NumModalite, duplicates);
    findDuplicates(
        kb.syndromes, [](const auto &r) { return r.number; }, Syndromes, NumSyndrome, duplicates);
    findDuplicates(
        kb.weights, [](const auto &r) { return r.modality; }, Weights, NumModalite, duplicates);
    if (!duplicates.isEmpty())
        throw DatabaseError(Kind::DuplicateKey, path, QStringLiteral("number identifying two rows"), duplicates);

    QSet<qint32> modalities, syndromes;
    for (const auto &m : kb.modalities)
        modalities.insert(m.number);
    for (const auto &s : kb.syndromes)
        syndromes.insert(s.number);
    QList<Detail> missing;
    for (const auto &link : kb.links) {
        if (!modalities.contains(link.modality))
            missing.append({Links, NumModalite, QString::number(link.modality), {}, linkText(link)});
        if (!syndromes.contains(link.syndrome))
            missing.append({Links, NumSyndrome, QString::number(link.syndrome), {}, linkText(link)});
    }
    for (const auto &w : kb.weights)
        if (!modalities.contains(w.modality))
            missing.append({Weights,
                            NumModalite,
                            QString::number(w.modality),
                            {},
                            QStringLiteral("NumModalité=%1, Valeur=%2")
                                .arg(w.modality)
                                .arg(w.value ? QString::number(*w.value) : QString())});
    if (!missing.isEmpty())
        throw DatabaseError(Kind::MissingReference, path, QStringLiteral("link or weight naming no row"), missing);

    QHash<qint32, int> linkCount;
    for (const auto &link : kb.links)
        ++linkCount[link.modality];
    QHash<qint32, std::optional<qint32>> weightOf;
    for (const auto &w : kb.weights)
        weightOf.insert(w.modality, w.value);
    qint64 differing = 0;
    for (const auto &m : kb.modalities) {
        const int links = linkCount.value(m.number);
        const auto weight = weightOf.find(m.number);
        if (links == 0)
            differing += weight != weightOf.end();
        else
            differing += weight == weightOf.end() || *weight != std::optional<qint32>(Statements::ruleWeight(links));
    }
    return differing;
}

struct SqliteCloser {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Sqlite = std::unique_ptr<sqlite3, SqliteCloser>;
struct StatementFinalizer {
    void operator()(sqlite3_stmt *stmt) const { sqlite3_finalize(stmt); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Writes the rows into a new knowledge base held in memory and returns the file's bytes;
// `written` is told of each row. The file itself (`converted`) is written by the caller,
// through its file operations.
class BaseBuilder
{
public:
    BaseBuilder(const QString &jetPath, const QString &converted) : m_path(jetPath), m_converted(converted)
    {
        sqlite3 *db = nullptr;
        const int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        m_db.reset(db);
        check(rc);
    }

    QByteArray build(const KnowledgeBaseRows &kb, const std::function<void()> &written)
    {
        exec(Schema::createStatements());
        exec(QStringLiteral("BEGIN"));
        insert(
            QStringLiteral(R"(INSERT INTO "Catégories" ("NumCatégorie", "Nom") VALUES (?, ?))"), kb.categories,
            [](sqlite3_stmt *s, const auto &r) {
                sqlite3_bind_int64(s, 1, r.number);
                bindText(s, 2, r.name);
            },
            written);
        insert(
            QStringLiteral(R"(INSERT INTO "Modalités" ("NumModalité", "Modalité", "NumCatégorie") VALUES (?, ?, ?))"),
            kb.modalities,
            [](sqlite3_stmt *s, const auto &r) {
                sqlite3_bind_int64(s, 1, r.number);
                bindText(s, 2, r.text);
                sqlite3_bind_int64(s, 3, r.category);
            },
            written);
        insert(
            QStringLiteral(R"(INSERT INTO "Syndromes" ("NumSyndrome", "Nom", "NumMéthode") VALUES (?, ?, ?))"),
            kb.syndromes,
            [](sqlite3_stmt *s, const auto &r) {
                sqlite3_bind_int64(s, 1, r.number);
                bindText(s, 2, r.name);
                sqlite3_bind_int64(s, 3, r.method);
            },
            written);
        insert(
            QStringLiteral(R"(INSERT INTO "Modalité-Syndrome" ("NumModalité", "NumSyndrome") VALUES (?, ?))"), kb.links,
            [](sqlite3_stmt *s, const auto &r) {
                sqlite3_bind_int64(s, 1, r.modality);
                sqlite3_bind_int64(s, 2, r.syndrome);
            },
            written);
        insert(
            QStringLiteral(R"(INSERT INTO "Valorisation" ("NumModalité", "Valeur") VALUES (?, ?))"), kb.weights,
            [](sqlite3_stmt *s, const auto &r) {
                sqlite3_bind_int64(s, 1, r.modality);
                if (r.value)
                    sqlite3_bind_int64(s, 2, *r.value);
            },
            written);
        exec(QStringLiteral("COMMIT"));

        sqlite3_int64 size = 0;
        unsigned char *data = sqlite3_serialize(m_db.get(), "main", &size, 0);
        if (!data)
            fail(QStringLiteral("the new knowledge base cannot be serialized"));
        QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
        sqlite3_free(data);
        return bytes;
    }

private:
    static void bindText(sqlite3_stmt *s, int index, const std::optional<QString> &text)
    {
        if (!text)
            return;
        const QByteArray utf8 = text->toUtf8();
        sqlite3_bind_text(s, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }

    template <typename Row, typename Bind>
    void insert(const QString &sql, const QList<Row> &rows, Bind bind, const std::function<void()> &written)
    {
        sqlite3_stmt *raw = nullptr;
        const QByteArray text = sql.toUtf8();
        check(sqlite3_prepare_v2(m_db.get(), text.constData(), int(text.size()), &raw, nullptr));
        const Statement stmt(raw);
        for (const Row &row : rows) {
            sqlite3_reset(raw);
            sqlite3_clear_bindings(raw);
            bind(raw, row);
            const int rc = sqlite3_step(raw);
            if (rc != SQLITE_DONE)
                check(rc);
            if (written)
                written();
        }
    }

    void exec(const QString &sql)
    {
        check(sqlite3_exec(m_db.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr));
    }

    void check(int rc) const
    {
        if (rc == SQLITE_OK || rc == SQLITE_DONE)
            return;
        fail(m_db ? QString::fromUtf8(sqlite3_errmsg(m_db.get())) : QString::fromUtf8(sqlite3_errstr(rc)));
    }

    [[noreturn]] void fail(const QString &message) const
    {
        throw DatabaseError(Kind::WriteFailed, m_path, message, {{{}, {}, m_converted, {}, {}}});
    }

    QString m_path;
    QString m_converted;
    Sqlite m_db;
};

// Reads the written file back: SQLite must find it sound, and each table must hold as
// many rows as were read.
void verify(const QString &jetPath, const QString &written, const KnowledgeBaseRows &kb)
{
    const auto fail = [&](const QString &message, QList<Detail> details = {}) {
        throw DatabaseError(Kind::CheckFailed, jetPath, message, std::move(details));
    };
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(written).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const Sqlite db(raw);
    if (rc != SQLITE_OK)
        fail(QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)), {{{}, {}, written, {}, {}}});
    const auto single = [&](const QString &sql) -> QString {
        sqlite3_stmt *s = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db.get(), text.constData(), int(text.size()), &s, nullptr) != SQLITE_OK)
            fail(QString::fromUtf8(sqlite3_errmsg(db.get())), {{{}, {}, written, {}, {}}});
        const Statement stmt(s);
        if (sqlite3_step(s) != SQLITE_ROW)
            fail(QString::fromUtf8(sqlite3_errmsg(db.get())), {{{}, {}, written, {}, {}}});
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
    };
    const QString integrity = single(QStringLiteral("PRAGMA integrity_check"));
    if (integrity != QLatin1String("ok"))
        fail(integrity, {{{}, {}, written, {}, {}}});
    const QList<std::pair<QString, qint64>> counts{{Categories, kb.categories.size()},
                                                   {Modalities, kb.modalities.size()},
                                                   {Syndromes, kb.syndromes.size()},
                                                   {Links, kb.links.size()},
                                                   {Weights, kb.weights.size()}};
    for (const auto &[table, expected] : counts) {
        const QString found = single(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table));
        if (found.toLongLong() != expected)
            fail(QStringLiteral("%1: %2 rows instead of %3").arg(table, found).arg(expected),
                 {{table, {}, written, {}, {}}});
    }
}

} // namespace

namespace JetConversion {

JetImport::Summary convert(const QString &jetPath, const QString &converted, ImportFiles &files,
                           const JetImport::Progress &progress)
{
    qint64 declared = 0;
    const JetReader::Result read = JetReader::read(jetPath, [&](qint64 done, qint64 total) {
        declared = total;
        if (progress)
            progress(done, 2 * total);
    });
    JetImport::Summary summary;
    summary.weightsDiffering = check(jetPath, read.rows);

    qint64 done = declared;
    const QByteArray bytes = BaseBuilder(jetPath, converted).build(read.rows, [&] {
        if (progress && (++done & 0xff) == 0)
            progress(done, 2 * declared);
    });
    ImportFiles::WriteError error;
    if (!files.write(converted, bytes, error)) {
        files.remove(converted);
        throw DatabaseError(error.noSpace ? Kind::NoSpace : Kind::WriteFailed, jetPath, error.reason,
                            {{{}, {}, converted, {}, {}}});
    }
    try {
        verify(jetPath, converted, read.rows);
    } catch (const DatabaseError &) {
        files.remove(converted);
        throw;
    }
    if (progress)
        progress(2 * declared, 2 * declared);

    summary.version = read.version;
    summary.categories = read.rows.categories.size();
    summary.modalities = read.rows.modalities.size();
    summary.syndromes = read.rows.syndromes.size();
    summary.links = read.rows.links.size();
    summary.weights = read.rows.weights.size();
    summary.otherTables = read.otherTables;
    summary.otherColumns = read.otherColumns;
    summary.alteredTexts = read.alteredTexts;
    return summary;
}

JetImport::Converter inProcess(ImportFiles &files)
{
    return [&files](const QString &jetPath, const QString &converted, const JetImport::Progress &progress) {
        return convert(jetPath, converted, files, progress);
    };
}

} // namespace JetConversion
