#include "JetReader.h"

#include "DatabaseError.h"
#include "JetFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#if TESSAVOR_JET_IMPORT
// glib first: libmdb's header includes it inside an extern "C" block.
#include <glib.h>
#include <mdbtools.h>

#include <cstring>
#include <memory>
#include <vector>
#endif

namespace JetReader {

namespace {

using Kind = DatabaseError::Kind;
using Detail = DatabaseError::Detail;

} // namespace

#if !TESSAVOR_JET_IMPORT

Result read(const QString &path, const Progress &)
{
    throw DatabaseError(Kind::AccessFile, path,
                        QStringLiteral("this build reads no Access file (built without libmdb)"));
}

#else

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

// A table has at most 255 columns and 32 indexes; a count past these is a damaged
// definition, which libmdb would follow page after page past the definition's end.
constexpr unsigned MaxColumns = 255;
constexpr unsigned MaxIndexes = 255;
const QString Catalogue = QStringLiteral("MSysObjects");

// A memo longer than this is a damaged length, not a sign's wording.
constexpr qsizetype MaxMemoBytes = qsizetype(1) << 24;
// A chain of long-value rows longer than this goes round in circles.
constexpr int MaxMemoLinks = 1 << 16;

// A text as decoded from its bytes: what could not be read is U+FFFD, and said.
struct Text {
    QString text;
    bool altered = false;
};

// Makes sure no character is lost without a word: a NUL (which would cut the text where it
// is shown or compared) and a half of a UTF-16 pair become U+FFFD.
void markUnreadable(Text &t)
{
    QString &s = t.text;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isNull() || c.isSurrogate()) {
            s[i] = QChar::ReplacementCharacter;
            t.altered = true;
        }
    }
}

// Jet 4 text: UTF-16, or "compressed" (FF FE, then one byte per character whose high byte
// is 0, a 0 byte switching to and from two-byte characters).
Text decodeJet4(const unsigned char *p, qsizetype n)
{
    Text t;
    if (n >= 2 && p[0] == 0xff && p[1] == 0xfe) {
        bool compressed = true;
        for (qsizetype i = 2; i < n;) {
            if (p[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                t.text.append(QChar(char16_t(p[i++])));
            } else if (i + 1 < n) {
                t.text.append(QChar(char16_t(p[i] | p[i + 1] << 8)));
                i += 2;
            } else {
                t.altered = true; // half a character: cut short
                break;
            }
        }
    } else {
        t.altered = n % 2 != 0;
        t.text.resize(n / 2);
        for (qsizetype i = 0; i + 1 < n; i += 2)
            t.text[i / 2] = QChar(char16_t(p[i] | p[i + 1] << 8));
    }
    markUnreadable(t);
    return t;
}

// Jet 3 text: one byte per character, in the file's code page.
Text decodeJet3(const unsigned char *p, qsizetype n, int codePage)
{
    QStringDecoder decoder(QByteArray("windows-" + QByteArray::number(codePage)).constData(),
                           QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        decoder = QStringDecoder("windows-1252", QStringConverter::Flag::Stateless);
    Text t;
    t.text = decoder(QByteArrayView(p, n));
    t.altered = decoder.hasError();
    markUnreadable(t);
    return t;
}

// One value as read: a number, a text, or nothing.
struct Cell {
    bool null = true;
    qint64 number = 0;
    QString text;
    bool altered = false; // a text that could not be read whole
};

// A knowledge table opened for reading: its definition and where each needed column sits.
struct OpenTable {
    const TableShape *shape;
    TablePtr table;
    QList<int> columnIndex; // per needed column, its index in the table's columns, or -1
};

QString nameOf(const char *name, size_t capacity)
{
    return QString::fromUtf8(name, qsizetype(strnlen(name, capacity)));
}

MdbColumn *columnAt(MdbTableDef *table, unsigned index)
{
    return static_cast<MdbColumn *>(g_ptr_array_index(table->columns, index));
}

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

    // The catalogue is the table of tables: whatever part of it is damaged, the file's list
    // of tables cannot be read.
    [[noreturn]] void damaged(const QString &table, const char *part, const QString &message) const
    {
        const bool catalogue = table == Catalogue;
        fail(Kind::JetDamaged, message, {{table, {}, QString::fromLatin1(catalogue ? "catalogue" : part), {}, {}}});
    }

    void openFile()
    {
        const QFileInfo info(m_path);
        if (!info.exists())
            fail(Kind::Missing, QStringLiteral("no such file"));
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            fail(Kind::CannotRead, file.errorString());
        const int version = JetFile::versionOfHeader(file.read(JetFile::HeaderBytes));
        if (version == 0)
            fail(file.error() == QFileDevice::NoError ? Kind::NotAccessFile : Kind::CannotRead,
                 file.error() == QFileDevice::NoError ? QStringLiteral("not an Access (Jet) file")
                                                      : file.errorString());
        m_result.version = version;
        m_pageSize = pageSizeOf(version);
        // A file cut inside a page would read its missing part as zeros: rows of nulls.
        if (info.size() % m_pageSize != 0)
            fail(Kind::Truncated, QStringLiteral("size is not a whole number of pages"),
                 {{QString(), QString(), QString::number(info.size()), QString::number(m_pageSize), QString()}});
        if (info.size() <= 2 * m_pageSize) // the catalogue of objects starts on page 2
            fail(Kind::Truncated, QStringLiteral("catalogue past the end of the file"),
                 {{QStringLiteral("MSysObjects"), {}, {}, {}, {}}});
        m_pageCount = info.size() / m_pageSize;
        m_handle.reset(mdb_open(QFile::encodeName(m_path).constData(), MDB_NOFLAGS));
        if (!m_handle)
            damaged({}, "header", QStringLiteral("libmdb cannot open the file"));
        if (m_handle->fmt->pg_size != m_pageSize)
            damaged({}, "header", QStringLiteral("libmdb reads another page size"));
        m_codePage = version == 3 && m_handle->f->code_page != 0 ? m_handle->f->code_page : 1252;
    }

    void findTables(const QList<TableShape> &shapes, std::vector<OpenTable> &tables)
    {
        MdbHandle *mdb = m_handle.get();
        // libmdb reads the catalogue as a table of its own, without a check: its definition,
        // columns and pages are checked first, as those of the knowledge tables are.
        MdbCatalogEntry catalogue{};
        catalogue.mdb = mdb;
        catalogue.object_type = MDB_TABLE;
        catalogue.table_pg = 2;
        checkPages(readDefinition(&catalogue, Catalogue).get(), Catalogue);
        if (!mdb_read_catalog(mdb, MDB_TABLE) || !mdb->catalog)
            damaged(Catalogue, "catalogue", QStringLiteral("the catalogue of objects (MSysObjects) cannot be read"));
        QList<MdbCatalogEntry *> found(shapes.size(), nullptr);
        for (unsigned i = 0; i < mdb->num_catalog && i < mdb->catalog->len; ++i) {
            auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
            if (!entry || !mdb_is_user_table(entry))
                continue;
            // libmdb's own look-up folds the case of ASCII letters only; names carry accents.
            const QString name = nameOf(entry->object_name, sizeof entry->object_name);
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

        for (qsizetype s = 0; s < shapes.size(); ++s)
            tables.push_back({&shapes[s], readDefinition(found[s], shapes[s].name), {}});
    }

    // The table's definition, checked before libmdb follows its counts and maps.
    TablePtr readDefinition(MdbCatalogEntry *entry, const QString &name)
    {
        if (entry->table_pg >= quint64(m_pageCount))
            fail(Kind::Truncated, QStringLiteral("table definition past the end of the file"),
                 {{name, {}, {}, {}, {}}});
        if (entry->table_pg < 2)
            damaged(name, "definition", QStringLiteral("the definition of table %1 lies on a header page").arg(name));
        TablePtr table(mdb_read_table(entry));
        if (!table)
            damaged(name, "definition", QStringLiteral("the definition of table %1 cannot be read").arg(name));
        if (table->num_cols == 0 || table->num_cols > MaxColumns || table->num_var_cols > table->num_cols ||
            table->num_real_idxs > MaxIndexes || table->num_idxs > MaxIndexes)
            damaged(name, "definition",
                    QStringLiteral("the definition of table %1 declares %2 columns and %3 indexes")
                        .arg(name)
                        .arg(table->num_cols)
                        .arg(table->num_real_idxs));
        // libmdb stops reading columns at the first one it cannot read, and its row reader
        // then indexes the list by the count the definition declares.
        if (!mdb_read_columns(table.get()) || !table->columns || table->columns->len != table->num_cols)
            damaged(name, "columns", QStringLiteral("the columns of table %1 cannot all be read").arg(name));
        // The usage map says which pages hold the rows: type 0 (a bitmap) or 1 (a list of
        // bitmap pages). libmdb reads any other type by scanning the whole file.
        if (!table->usage_map || table->map_sz < 1 || table->usage_map[0] > 1)
            damaged(name, "usage map", QStringLiteral("the usage map of table %1 cannot be read").arg(name));
        return table;
    }

    void findColumns(OpenTable &t)
    {
        MdbTableDef *table = t.table.get();
        QList<Detail> &missing = m_missingColumns, &wrong = m_wrongTypes;
        QList<bool> used(table->num_cols, false);
        for (const ColumnShape &shape : t.shape->columns) {
            int index = -1;
            for (unsigned c = 0; c < table->num_cols && index < 0; ++c) {
                const MdbColumn *col = columnAt(table, c);
                if (nameOf(col->name, sizeof col->name).compare(shape.name, Qt::CaseInsensitive) == 0)
                    index = int(c);
            }
            t.columnIndex.append(index);
            if (index < 0) {
                if (shape.need != Need::OptionalText)
                    missing.append({t.shape->name, shape.name, {}, {}, {}});
                continue;
            }
            used[index] = true;
            const int type = columnAt(table, unsigned(index))->col_type;
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
                m_result.otherColumns.append(t.shape->name + QLatin1Char('.') +
                                             nameOf(columnAt(table, c)->name, sizeof columnAt(table, c)->name));
    }

    // A page that the table's usage map names but that lies past the end of the file would
    // read as an empty page: the table would end early without a word.
    void checkPages(const OpenTable &t) { checkPages(t.table.get(), t.shape->name); }

    void checkPages(MdbTableDef *table, const QString &name)
    {
        guint32 page = 0;
        for (qint64 steps = 0; steps <= m_pageCount; ++steps) {
            const gint32 next = mdb_map_find_next(m_handle.get(), table->usage_map, unsigned(table->map_sz), page);
            if (next == 0)
                return;
            if (next < 0)
                damaged(name, "usage map", QStringLiteral("the usage map of table %1 cannot be read").arg(name));
            if (next >= m_pageCount)
                fail(Kind::Truncated, QStringLiteral("data page past the end of the file"),
                     {{name, {}, QString::number(next), QString::number(m_pageCount), {}}});
            // A map that names a page again, or one before, would send the reader round.
            if (guint32(next) <= page)
                damaged(name, "usage map",
                        QStringLiteral("the usage map of table %1 goes back to page %2").arg(name).arg(next));
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
                (start & 0x1fff) + qint64(length) > m_pageSize ||
                mdb_crack_row(table, start & 0x1fff, length, fields.data()) < 0)
                badRow(t);
            const Bounds row{start & 0x1fff, (start & 0x1fff) + int(length)};
            QList<Cell> cells;
            for (qsizetype c = 0; c < t.shape->columns.size(); ++c)
                cells.append(cellOf(t, t.columnIndex[c], fields, row));
            noteNulls(t, cells);
            noteAlteredTexts(t, cells);
            rows.append(cells);
            if ((++m_done & 0xff) == 0)
                report();
        }
        if (rows.size() != qsizetype(table->num_rows))
            fail(Kind::RowCount, QStringLiteral("rows read differ from the rows declared"),
                 {{t.shape->name, {}, QString::number(rows.size()), QString::number(table->num_rows), {}}});
        report();
        return rows;
    }

    [[noreturn]] void badRow(const OpenTable &t) const
    {
        damaged(t.shape->name, "row", QStringLiteral("a row of table %1 cannot be read").arg(t.shape->name));
    }

    // Where a row lies in the page buffer: no value of it may be read outside.
    struct Bounds {
        int begin;
        int end;
        bool holds(qint64 start, qint64 size) const { return start >= begin && size >= 0 && start + size <= end; }
    };

    Cell cellOf(const OpenTable &t, int index, const std::vector<MdbField> &fields, Bounds row)
    {
        Cell cell;
        if (index < 0 || fields[size_t(index)].is_null)
            return cell;
        MdbHandle *mdb = m_handle.get();
        const MdbField &field = fields[size_t(index)];
        const MdbColumn *col = columnAt(t.table.get(), unsigned(index));
        const int width = col->col_type == MDB_BYTE ? 1 : col->col_type == MDB_INT ? 2 : 4;
        if (!row.holds(field.start, isWholeNumber(col->col_type) ? width : field.siz))
            badRow(t);
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
            const Text text = col->col_type == MDB_MEMO ? memoOf(t, p, field.siz) : decode(p, field.siz);
            cell.text = text.text;
            cell.altered = text.altered;
        }
        }
        return cell;
    }

    Text decode(const unsigned char *p, qsizetype n) const
    {
        return m_result.version == 3 ? decodeJet3(p, n, m_codePage) : decodeJet4(p, n);
    }

    // A memo: a 12-byte head (its length and where it lies), then its bytes in the row, on
    // one row of a long-value page, or in a chain of such rows.
    Text memoOf(const OpenTable &t, const unsigned char *head, qsizetype size)
    {
        if (size < 12)
            badRow(t);
        const auto int32At = [](const unsigned char *p) {
            return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
        };
        const quint32 flags = int32At(head);
        const qsizetype length = qsizetype(flags & 0x3fffffff);
        if (length > MaxMemoBytes)
            badRow(t);
        QByteArray bytes;
        bool cut = false;
        if (flags & 0x80000000) {
            bytes = QByteArray(reinterpret_cast<const char *>(head) + 12, std::min(length, size - 12));
        } else {
            quint32 pageRow = int32At(head + 4);
            const bool chained = !(flags & 0x40000000);
            for (int links = 0; pageRow != 0 && bytes.size() < length; ++links) {
                void *buf = nullptr;
                int start = 0;
                size_t rowLength = 0;
                if (links > MaxMemoLinks || qint64(pageRow >> 8) >= m_pageCount ||
                    mdb_find_pg_row(m_handle.get(), int(pageRow), &buf, &start, &rowLength) != 0 ||
                    start + qint64(rowLength) > m_pageSize) {
                    cut = true;
                    break;
                }
                const auto *p = static_cast<const unsigned char *>(buf) + start;
                const qsizetype skip = chained ? 4 : 0;
                if (qsizetype(rowLength) < skip) {
                    cut = true;
                    break;
                }
                bytes.append(reinterpret_cast<const char *>(p) + skip, qsizetype(rowLength) - skip);
                pageRow = chained ? int32At(p) : 0;
            }
        }
        cut = cut || bytes.size() < length;
        Text text = decode(reinterpret_cast<const unsigned char *>(bytes.constData()), std::min(bytes.size(), length));
        text.altered = text.altered || cut;
        return text;
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

    // The first column of each knowledge table is the row's number.
    void noteAlteredTexts(const OpenTable &t, const QList<Cell> &row)
    {
        for (const Cell &cell : row)
            if (cell.altered)
                m_result.alteredTexts.append({t.shape->name, qint32(row[0].number), cell.text});
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
    qint64 m_pageSize = 0;
    qint64 m_pageCount = 0;
    int m_codePage = 1252;
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
