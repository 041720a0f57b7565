#include "JetReader.h"

#include "DatabaseError.h"

#include <QFile>
#include <QFileInfo>

#if TESSAVOR_JET_IMPORT
// glib first: libmdb's header includes it inside an extern "C" block.
#include <glib.h>
#include <mdbtools.h>

#include <memory>
#include <vector>
#endif

namespace JetReader {

namespace {

using Kind = DatabaseError::Kind;
using Detail = DatabaseError::Detail;

} // namespace

int versionOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return versionOfHeader(file.read(HeaderBytes));
}

int versionOfHeader(const QByteArray &head)
{
    if (head.size() < HeaderBytes || head[0] != 0)
        return 0;
    const QByteArray magic = head.mid(4, 15);
    if (magic != "Standard Jet DB" && magic != "Standard ACE DB")
        return 0;
    return head[0x14] == 0 ? 3 : 4;
}

#if !TESSAVOR_JET_IMPORT

bool isAvailable()
{
    return false;
}

Result read(const QString &path, const Progress &)
{
    throw DatabaseError(Kind::AccessFile, path,
                        QStringLiteral("this build reads no Access file (built without libmdb)"));
}

#else

bool isAvailable()
{
    return true;
}

namespace {

int pageSizeOf(int version)
{
    return version == 3 ? 2048 : 4096;
}

// What the program asks of a column.
enum class Need {
    Key,         // a whole number identifying or naming a row: never null
    Weight,      // a whole number that may be null
    Text,        // text, never null
    OptionalText // text, may be null, and the column may be absent
};

struct ColumnShape {
    QString name;
    Need need;
};

struct TableShape {
    QString name;
    QList<ColumnShape> columns;
};

QList<TableShape> knowledgeTables()
{
    return {
        {QStringLiteral("Catégories"),
         {{QStringLiteral("NumCatégorie"), Need::Key}, {QStringLiteral("Nom"), Need::OptionalText}}},
        {QStringLiteral("Modalités"),
         {{QStringLiteral("NumModalité"), Need::Key},
          {QStringLiteral("Modalité"), Need::Text},
          {QStringLiteral("NumCatégorie"), Need::Key}}},
        {QStringLiteral("Syndromes"),
         {{QStringLiteral("NumSyndrome"), Need::Key},
          {QStringLiteral("Nom"), Need::Text},
          {QStringLiteral("NumMéthode"), Need::Key}}},
        {QStringLiteral("Modalité-Syndrome"),
         {{QStringLiteral("NumModalité"), Need::Key}, {QStringLiteral("NumSyndrome"), Need::Key}}},
        {QStringLiteral("Valorisation"),
         {{QStringLiteral("NumModalité"), Need::Key}, {QStringLiteral("Valeur"), Need::Weight}}},
    };
}

bool isWholeNumber(int type)
{
    return type == MDB_LONGINT || type == MDB_INT || type == MDB_BYTE;
}

bool isText(int type)
{
    return type == MDB_TEXT || type == MDB_MEMO;
}

// Access's own names for the types, as the practitioner sees them in the table design.
QString typeName(int type)
{
    switch (type) {
    case MDB_BOOL:
        return QStringLiteral("Yes/No");
    case MDB_BYTE:
        return QStringLiteral("Byte");
    case MDB_INT:
        return QStringLiteral("Integer");
    case MDB_LONGINT:
        return QStringLiteral("Long Integer");
    case MDB_MONEY:
        return QStringLiteral("Currency");
    case MDB_FLOAT:
        return QStringLiteral("Single");
    case MDB_DOUBLE:
        return QStringLiteral("Double");
    case MDB_DATETIME:
        return QStringLiteral("Date/Time");
    case MDB_BINARY:
        return QStringLiteral("Binary");
    case MDB_TEXT:
        return QStringLiteral("Text");
    case MDB_OLE:
        return QStringLiteral("OLE Object");
    case MDB_MEMO:
        return QStringLiteral("Memo");
    case MDB_REPID:
        return QStringLiteral("Replication ID");
    case MDB_NUMERIC:
        return QStringLiteral("Decimal");
    default:
        return QStringLiteral("type %1").arg(type);
    }
}

struct HandleCloser {
    void operator()(MdbHandle *handle) const { mdb_close(handle); }
};
struct TableFreer {
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using Handle = std::unique_ptr<MdbHandle, HandleCloser>;
using TablePtr = std::unique_ptr<MdbTableDef, TableFreer>;

// One value as read: a number, a text, or nothing.
struct Cell {
    bool null = true;
    qint64 number = 0;
    QString text;
};

// A knowledge table opened for reading: its definition and where each needed column sits.
struct OpenTable {
    const TableShape *shape;
    TablePtr table;
    QList<int> columnIndex; // per needed column, its index in the table's columns, or -1
};

class Reader
{
public:
    Reader(QString path, const Progress &progress) : m_path(std::move(path)), m_progress(progress) {}

    Result run()
    {
        openFile();
        const QList<TableShape> shapes = knowledgeTables();
        std::vector<OpenTable> tables;
        findTables(shapes, tables);
        qint64 declared = 0;
        for (OpenTable &t : tables)
            findColumns(t);
        if (!m_missingColumns.isEmpty())
            fail(Kind::MissingColumn, QStringLiteral("column missing"), m_missingColumns);
        if (!m_wrongTypes.isEmpty())
            fail(Kind::WrongType, QStringLiteral("column of another type"), m_wrongTypes);
        for (OpenTable &t : tables) {
            checkPages(t);
            declared += t.table->num_rows;
        }
        m_total = declared;
        report();
        QList<QList<Cell>> rows[5];
        for (size_t i = 0; i < tables.size(); ++i)
            rows[i] = readRows(tables[i]);
        if (!m_nulls.isEmpty())
            throw DatabaseError(Kind::NullValue, m_path, QStringLiteral("null in a needed column"), m_nulls);
        fill(rows);
        return std::move(m_result);
    }

private:
    [[noreturn]] void fail(Kind kind, const QString &message, QList<Detail> details = {}) const
    {
        throw DatabaseError(kind, m_path, message, std::move(details));
    }

    void openFile()
    {
        const QFileInfo info(m_path);
        if (!info.exists())
            fail(Kind::Missing, QStringLiteral("no such file"));
        const int version = versionOf(m_path);
        if (version == 0)
            fail(Kind::NotAccessFile, QStringLiteral("not an Access (Jet) file"));
        m_result.version = version;
        const qint64 pageSize = pageSizeOf(version);
        // A file cut inside a page would read its missing part as zeros: rows of nulls.
        if (info.size() % pageSize != 0)
            fail(Kind::Truncated, QStringLiteral("size is not a whole number of pages"),
                 {{QString(), QString(), QString::number(info.size()), QString::number(pageSize), QString()}});
        if (info.size() <= 2 * pageSize) // the catalogue of objects starts on page 2
            fail(Kind::Truncated, QStringLiteral("catalogue past the end of the file"),
                 {{QStringLiteral("MSysObjects"), {}, {}, {}, {}}});
        m_pageCount = info.size() / pageSize;
        m_handle.reset(mdb_open(QFile::encodeName(m_path).constData(), MDB_NOFLAGS));
        if (!m_handle)
            fail(Kind::NotAccessFile, QStringLiteral("libmdb cannot open the file"));
    }

    void findTables(const QList<TableShape> &shapes, std::vector<OpenTable> &tables)
    {
        MdbHandle *mdb = m_handle.get();
        if (!mdb_read_catalog(mdb, MDB_TABLE))
            fail(Kind::Failed, QStringLiteral("the catalogue of objects (MSysObjects) cannot be read"));
        QList<MdbCatalogEntry *> found(shapes.size(), nullptr);
        for (unsigned i = 0; i < mdb->num_catalog; ++i) {
            auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
            if (!mdb_is_user_table(entry))
                continue;
            // libmdb's own look-up folds the case of ASCII letters only; names carry accents.
            const QString name = QString::fromUtf8(entry->object_name);
            qsizetype which = -1;
            for (qsizetype s = 0; s < shapes.size() && which < 0; ++s)
                if (name.compare(shapes[s].name, Qt::CaseInsensitive) == 0)
                    which = s;
            if (which < 0)
                m_result.otherTables.append(name);
            else if (!found[which])
                found[which] = entry;
        }
        QList<Detail> missing;
        for (qsizetype s = 0; s < shapes.size(); ++s)
            if (!found[s])
                missing.append({shapes[s].name, {}, {}, {}, {}});
        if (!missing.isEmpty())
            fail(Kind::MissingTable, QStringLiteral("knowledge table missing"), missing);

        for (qsizetype s = 0; s < shapes.size(); ++s) {
            if (found[s]->table_pg >= quint64(m_pageCount))
                fail(Kind::Truncated, QStringLiteral("table definition past the end of the file"),
                     {{shapes[s].name, {}, {}, {}, {}}});
            TablePtr table(mdb_read_table(found[s]));
            if (!table)
                fail(Kind::Failed, QStringLiteral("the definition of table %1 cannot be read").arg(shapes[s].name));
            mdb_read_columns(table.get());
            tables.push_back({&shapes[s], std::move(table), {}});
        }
    }

    void findColumns(OpenTable &t)
    {
        MdbTableDef *table = t.table.get();
        QList<Detail> &missing = m_missingColumns, &wrong = m_wrongTypes;
        QList<bool> used(table->num_cols, false);
        for (const ColumnShape &shape : t.shape->columns) {
            int index = -1;
            for (unsigned c = 0; c < table->num_cols && index < 0; ++c) {
                auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
                if (QString::fromUtf8(col->name).compare(shape.name, Qt::CaseInsensitive) == 0)
                    index = int(c);
            }
            t.columnIndex.append(index);
            if (index < 0) {
                if (shape.need != Need::OptionalText)
                    missing.append({t.shape->name, shape.name, {}, {}, {}});
                continue;
            }
            used[index] = true;
            const int type = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, index))->col_type;
            const bool text = shape.need == Need::Text || shape.need == Need::OptionalText;
            if (text ? !isText(type) : !isWholeNumber(type))
                wrong.append({t.shape->name,
                              shape.name,
                              typeName(type),
                              text ? QStringLiteral("text") : QStringLiteral("whole number"),
                              {}});
        }
        for (unsigned c = 0; c < table->num_cols; ++c)
            if (!used[c])
                m_result.otherColumns.append(
                    t.shape->name + QLatin1Char('.') +
                    QString::fromUtf8(static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c))->name));
    }

    // A page that the table's usage map names but that lies past the end of the file would
    // read as an empty page: the table would end early without a word.
    void checkPages(const OpenTable &t)
    {
        MdbTableDef *table = t.table.get();
        guint32 page = 0;
        for (qint64 steps = 0; steps <= m_pageCount; ++steps) {
            const gint32 next = mdb_map_find_next(m_handle.get(), table->usage_map, unsigned(table->map_sz), page);
            if (next <= 0)
                return;
            if (next >= m_pageCount)
                fail(Kind::Truncated, QStringLiteral("data page past the end of the file"),
                     {{t.shape->name, {}, QString::number(next), QString::number(m_pageCount), {}}});
            page = guint32(next);
        }
    }

    QList<QList<Cell>> readRows(OpenTable &t)
    {
        MdbHandle *mdb = m_handle.get();
        MdbTableDef *table = t.table.get();
        std::vector<MdbField> fields(table->num_cols);
        QList<QList<Cell>> rows;
        mdb_rewind_table(table);
        while (mdb_fetch_row(table)) {
            // libmdb hands out values as text, a null and an empty text alike: the row is
            // taken apart again here, for its null mask and its raw values.
            int start = 0;
            size_t length = 0;
            if (mdb_find_row(mdb, int(table->cur_row) - 1, &start, &length) != 0 ||
                mdb_crack_row(table, start & 0x1fff, length, fields.data()) < 0)
                fail(Kind::Failed, QStringLiteral("a row of table %1 cannot be read").arg(t.shape->name));
            QList<Cell> row;
            for (qsizetype c = 0; c < t.shape->columns.size(); ++c)
                row.append(cellOf(table, t.columnIndex[c], fields));
            noteNulls(t, row);
            rows.append(row);
            if ((++m_done & 0xff) == 0)
                report();
        }
        if (rows.size() != qsizetype(table->num_rows))
            fail(Kind::RowCount, QStringLiteral("rows read differ from the rows declared"),
                 {{t.shape->name, {}, QString::number(rows.size()), QString::number(table->num_rows), {}}});
        report();
        return rows;
    }

    Cell cellOf(MdbTableDef *table, int index, const std::vector<MdbField> &fields)
    {
        Cell cell;
        if (index < 0 || fields[size_t(index)].is_null)
            return cell;
        MdbHandle *mdb = m_handle.get();
        const MdbField &field = fields[size_t(index)];
        const auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, index));
        const unsigned char *p = mdb->pg_buf + field.start;
        cell.null = false;
        switch (col->col_type) {
        case MDB_BYTE:
            cell.number = p[0];
            break;
        case MDB_INT:
            cell.number = qint16(quint16(p[0] | p[1] << 8));
            break;
        case MDB_LONGINT:
            cell.number = qint32(quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24);
            break;
        default: {
            char *text = mdb_col_to_string(mdb, mdb->pg_buf, field.start, col->col_type, field.siz);
            cell.text = QString::fromUtf8(text);
            g_free(text);
        }
        }
        return cell;
    }

    void noteNulls(const OpenTable &t, const QList<Cell> &row)
    {
        for (qsizetype c = 0; c < row.size(); ++c) {
            const Need need = t.shape->columns[c].need;
            if (!row[c].null || need == Need::Weight || need == Need::OptionalText)
                continue;
            QStringList context;
            for (qsizetype o = 0; o < row.size(); ++o)
                if (o != c && !row[o].null)
                    context.append(
                        t.shape->columns[o].name + QLatin1Char('=') +
                        (isTextNeed(t.shape->columns[o].need) ? row[o].text : QString::number(row[o].number)));
            m_nulls.append({t.shape->name, t.shape->columns[c].name, {}, {}, context.join(QStringLiteral(", "))});
        }
    }

    static bool isTextNeed(Need need) { return need == Need::Text || need == Need::OptionalText; }

    void fill(const QList<QList<Cell>> (&rows)[5])
    {
        KnowledgeBaseRows &kb = m_result.rows;
        for (const auto &r : rows[0])
            kb.categories.append({qint32(r[0].number), r[1].null ? std::nullopt : std::optional(r[1].text)});
        for (const auto &r : rows[1])
            kb.modalities.append({qint32(r[0].number), r[1].text, qint32(r[2].number)});
        for (const auto &r : rows[2])
            kb.syndromes.append({qint32(r[0].number), r[1].text, qint32(r[2].number)});
        for (const auto &r : rows[3])
            kb.links.append({qint32(r[0].number), qint32(r[1].number)});
        for (const auto &r : rows[4])
            kb.weights.append({qint32(r[0].number), r[1].null ? std::nullopt : std::optional(qint32(r[1].number))});
    }

    void report()
    {
        if (m_progress)
            m_progress(m_done, m_total);
    }

    QString m_path;
    const Progress &m_progress;
    Handle m_handle;
    qint64 m_pageCount = 0;
    qint64 m_done = 0;
    qint64 m_total = 0;
    QList<Detail> m_missingColumns;
    QList<Detail> m_wrongTypes;
    QList<Detail> m_nulls;
    Result m_result;
};

} // namespace

Result read(const QString &path, const Progress &progress)
{
    return Reader(path, progress).run();
}

#endif

} // namespace JetReader
