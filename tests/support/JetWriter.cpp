#include "JetWriter.h"

#include "Database.h"
#include "Recordset.h"

#include <QFile>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>

namespace JetWriter {

namespace {

constexpr int CatalogPage = 2;
constexpr quint32 SystemTableFlags = 0x80000002;
constexpr quint8 PageData = 0x01, PageDefinition = 0x02;
constexpr quint8 ColFixed = 0x01, ColNullable = 0x02;

// Little-endian numbers of `bytes` bytes, on their own or written over `b` at `at`.
QByteArray le(quint64 v, int bytes)
{
    QByteArray b(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        b[i] = char((v >> (8 * i)) & 0xff);
    return b;
}
void put(QByteArray &b, qsizetype at, quint64 v, int bytes)
{
    b.replace(at, bytes, le(v, bytes));
}

// The header's scrambling: RC4 with a fixed key, the same transformation both ways.
void rc4(QByteArray &b, int from, int length)
{
    static constexpr std::array<quint8, 4> key{0xC7, 0xDA, 0x39, 0x6B};
    std::array<quint8, 256> s;
    for (int i = 0; i < 256; ++i)
        s[i] = quint8(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % key.size()]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        b[from + n] = char(quint8(b[from + n]) ^ s[(s[i] + s[j]) & 0xff]);
    }
}

// Windows-1252 (the code page a French Jet 3 file is written in) or UTF-16 (Jet 4); a text
// the code page cannot hold is a fault of the fixture.
QByteArray encoded(const QString &text, bool jet4)
{
    const char *encoding = jet4 ? "UTF-16LE" : "windows-1252";
    QStringEncoder encoder(encoding, QStringConverter::Flag::Stateless);
    const QByteArray out = encoder.isValid() ? QByteArray(encoder(text)) : QByteArray();
    if (!encoder.isValid() || encoder.hasError())
        qFatal("JetWriter: «%s» has no %s form", qPrintable(text), encoding);
    return out;
}

// Compressed text: FF FE, then bytes standing for characters whose high byte is 0, with
// a 0 byte switching to and from plain two-byte characters. A character whose low byte
// is 0 would read as a switch, so such a text is left uncompressed; so is a text that
// compression would not shorten.
QByteArray compressedUtf16(const QString &text)
{
    const QByteArray plain = encoded(text, true);
    QByteArray out("\xff\xfe", 2);
    bool compressed = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u & 0xff) == 0)
            return plain;
        const bool fits = u <= 0xff;
        if (fits != compressed) {
            out.append('\0');
            compressed = fits;
        }
        if (compressed)
            out.append(char(u));
        else
            out += encoded(c, true);
    }
    return out.size() < plain.size() ? out : plain;
}

struct Layout {
    bool jet4;
    int pageSize;
    int rowCountOffset; // where a data page counts its rows; the row offsets follow
};

// Each type's code in a column definition and its width in a row (0: a variable column).
constexpr std::array<std::pair<quint8, int>, 6> TypeInfo{
    {{0x02, 1}, {0x03, 2}, {0x04, 4}, {0x07, 8}, {0x0A, 0}, {0x0B, 0}}};

// Where each column sits in a row: fixed columns at an offset within the fixed area,
// variable ones by their rank among the variable columns.
struct ColumnPlace {
    bool fixed;
    int offset; // fixed: offset in the fixed area; variable: rank
    int size;
};

QList<ColumnPlace> placesOf(const Table &table)
{
    QList<ColumnPlace> places;
    int fixedOffset = 0, varRank = 0;
    for (const Column &c : table.columns) {
        const int size = TypeInfo[size_t(c.type)].second;
        places.append(size > 0 ? ColumnPlace{true, fixedOffset, size} : ColumnPlace{false, varRank++, 0});
        fixedOffset += size;
    }
    return places;
}

QByteArray encodeRow(const Layout &l, Format format, const Table &table, const QVariantList &row)
{
    const QList<ColumnPlace> places = placesOf(table);
    const int columns = int(table.columns.size()), countSize = l.jet4 ? 2 : 1;
    const int varCount = int(std::count_if(places.begin(), places.end(), [](const auto &p) { return !p.fixed; }));
    const int fixedTotal =
        std::accumulate(places.begin(), places.end(), 0, [](int n, const auto &p) { return n + p.size; });
    QByteArray out(countSize + fixedTotal, '\0');
    put(out, 0, quint32(columns), countSize);

    // Null mask: one bit per column number, set when the value is present.
    QByteArray mask((columns + 7) / 8, '\0');
    QList<QByteArray> varData(varCount);
    for (int i = 0; i < columns; ++i) {
        const QVariant &v = row.value(i);
        if (v.isNull())
            continue;
        mask[i / 8] = char(quint8(mask[i / 8]) | (1 << (i % 8)));
        const ColumnPlace &p = places[i];
        const Type type = table.columns[i].type;
        if (!p.fixed) {
            if (type == Type::LongBinary)
                qFatal("JetWriter: long values are not written");
            varData[p.offset] = v.typeId() == QMetaType::QByteArray ? v.toByteArray()
                                : format == Format::Jet4Compressed  ? compressedUtf16(v.toString())
                                                                    : encoded(v.toString(), l.jet4);
            continue;
        }
        put(out, countSize + p.offset, type == Type::Double ? std::bit_cast<quint64>(v.toDouble()) : v.toLongLong(),
            p.size);
    }
    if (varCount == 0)
        return out + mask;

    QList<int> offsets; // of each variable column, then the end of the variable data
    for (const QByteArray &d : varData) {
        offsets.append(int(out.size()));
        out += d;
    }
    offsets.append(int(out.size()));
    if (l.jet4) {
        for (int i = varCount; i >= 0; --i) // end first, then the columns from last to first
            out += le(quint32(offsets[i]), 2);
        out += le(quint32(varCount), 2);
        return out + mask;
    }

    // Jet 3 offsets are one byte: a row longer than 256 bytes carries, for each 256-byte
    // boundary, the rank of the first offset at or past it; a boundary that no offset
    // reaches gets a filler. The count of entries depends on the row's length, which
    // depends on the count: settle it first.
    const int tail = varCount + 1 + 1 + int(mask.size());
    int jumps = 0;
    while ((int(out.size()) + tail + jumps - 1) / 256 > jumps)
        ++jumps;
    for (int i = varCount; i >= 0; --i)
        out.append(char(offsets[i] & 0xff));
    for (int k = jumps - 1; k >= 0; --k) {
        const int boundary = (k + 1) * 256;
        const auto it = std::find_if(offsets.begin(), offsets.end(), [&](int o) { return o >= boundary; });
        out.append(it == offsets.end() ? char(0xff) : char(it - offsets.begin()));
    }
    out.append(char(varCount));
    return out + mask;
}

// Data pages holding `rows`, filled from the end of the page backwards as the format has it.
QList<QByteArray> packRows(const Layout &l, const QList<QByteArray> &rows, quint32 owner)
{
    QList<QByteArray> pages;
    qsizetype next = 0;
    do {
        QByteArray page = QByteArray(l.pageSize, '\0');
        page[0] = char(PageData);
        page[1] = 0x01;
        put(page, 4, owner, 4);
        int end = l.pageSize, count = 0;
        while (next < rows.size() && count < 255) {
            const int start = end - int(rows[next].size());
            if (start < l.rowCountOffset + 2 + 2 * (count + 1)) // it would cover the row offsets
                break;
            page.replace(start, rows[next].size(), rows[next]);
            put(page, l.rowCountOffset + 2 + 2 * count, quint32(start), 2);
            end = start;
            ++count;
            ++next;
        }
        if (count == 0 && next < rows.size())
            qFatal("JetWriter: a row does not fit in a page");
        put(page, l.rowCountOffset, quint32(count), 2);
        put(page, 2, quint32(end - (l.rowCountOffset + 2 + 2 * count)), 2);
        pages.append(page);
    } while (next < rows.size());
    return pages;
}

// A table definition on one page; `usedMap` points at a row (page << 8 | row), the free-page map at the next.
QByteArray definitionPage(const Layout &l, const Table &table, bool system, quint32 usedMap)
{
    QByteArray page = QByteArray(l.pageSize, '\0');
    page[0] = char(PageDefinition);
    page[1] = 0x01;
    const QList<ColumnPlace> places = placesOf(table);
    const int columns = int(table.columns.size());
    const int varColumns = int(std::count_if(places.begin(), places.end(), [](const auto &p) { return !p.fixed; }));
    const int rowsAt = l.jet4 ? 16 : 12, typeAt = l.jet4 ? 40 : 20, entrySize = l.jet4 ? 25 : 18;
    put(page, rowsAt, quint32(table.rows.size()), 4);
    page[typeAt] = char(system ? 0x53 : 0x4e);
    put(page, typeAt + 1, quint32(columns), 2);    // max columns
    put(page, typeAt + 3, quint32(varColumns), 2); // variable columns
    put(page, typeAt + 5, quint32(columns), 2);    // columns
    // no index, logical or real: the counts after the columns stay 0
    put(page, typeAt + 15, usedMap, 4);
    put(page, typeAt + 19, usedMap + 1, 4);
    int at = typeAt + 23;
    for (int i = 0; i < columns; ++i) {
        const ColumnPlace &p = places[i];
        const Type type = table.columns[i].type;
        const int size = type == Type::Text ? (l.jet4 ? 510 : 255) : p.size;
        const quint8 flags = (p.fixed ? ColFixed : 0) | ColNullable;
        // Where a column entry holds: its number, its rank among the variable columns, its
        // number again, the sort order, the flags, its offset among the fixed columns, its size.
        const auto o = l.jet4 ? std::array{5, 7, 9, 11, 15, 21, 23} : std::array{1, 3, 5, 7, 13, 14, 16};
        page[at] = char(TypeInfo[size_t(type)].first);
        put(page, at + o[0], quint32(i), 2);
        put(page, at + o[1], quint32(p.fixed ? 0 : p.offset), 2);
        put(page, at + o[2], quint32(i), 2);
        if (type == Type::Text) {
            put(page, at + o[3], 0x409, 2); // general sort order
            if (l.jet4)
                page[at + 16] = 0x01; // compressible text
            else
                put(page, at + 9, 1252, 2); // the column's code page
        }
        page[at + o[4]] = char(flags);
        put(page, at + o[5], quint32(p.fixed ? p.offset : 0), 2);
        put(page, at + o[6], quint32(size), 2);
        at += entrySize;
    }
    for (const Column &c : table.columns) {
        const QByteArray name = encoded(c.name, l.jet4);
        const QByteArray entry = le(quint64(name.size()), l.jet4 ? 2 : 1) + name;
        page.replace(at, entry.size(), entry);
        at += int(entry.size());
    }
    put(page, at, 0xffff, 2); // no variable-column usage maps follow
    at += 2;
    if (at > l.pageSize)
        qFatal("JetWriter: the definition of %s does not fit in a page", qPrintable(table.name));
    put(page, 8, quint32(at - 8), 4);
    page.replace(2, 2, l.jet4 ? le(quint32(l.pageSize - at - 8), 2) : QByteArray("VC"));
    return page;
}

QByteArray headerPage(const Layout &l)
{
    QByteArray page = QByteArray(l.pageSize, '\0');
    page[1] = 0x01;
    page.replace(4, 16, QByteArray("Standard Jet DB\0", 16));
    put(page, 0x14, l.jet4 ? 1 : 0, 4);
    put(page, l.jet4 ? 0x6E : 0x3A, 0x409, 2); // collating order
    put(page, 0x3C, 1252, 2);                  // code page of Jet 3 text
    // The database key at 0x3E stays 0: pages are not encrypted.
    rc4(page, 0x18, l.jet4 ? 128 : 126);
    return page;
}

// A page-usage map of type 0: its first page, then one bit per page from it on.
QByteArray usageMap(const QList<int> &pages)
{
    QByteArray map(5, '\0');
    if (pages.isEmpty())
        return map + QByteArray(1, '\0');
    const int first = pages.first();
    put(map, 1, quint32(first), 4);
    map += QByteArray((pages.last() - first) / 8 + 1, '\0');
    for (int p : pages)
        map[5 + (p - first) / 8] = char(quint8(map[5 + (p - first) / 8]) | (1 << ((p - first) % 8)));
    return map;
}

} // namespace

Image write(Format format, const QList<Table> &userTables)
{
    const bool jet4 = format != Format::Jet3;
    const Layout l{jet4, jet4 ? 4096 : 2048, jet4 ? 12 : 8};

    // Page 2 holds the catalogue's definition, the tables' definitions follow, then the
    // page of usage maps, then the data pages of each table in turn.
    Table catalog{"MSysObjects", {{"Id", Type::LongInteger}, {"Name", Type::Text}, {"Type", Type::Integer}}, {}};
    catalog.columns += {{"Flags", Type::LongInteger}, {"LvProp", Type::LongBinary}};
    catalog.rows.append({CatalogPage, catalog.name, 1, qint64(qint32(SystemTableFlags)), QVariant()});
    for (int i = 0; i < userTables.size(); ++i)
        catalog.rows.append({CatalogPage + 1 + i, userTables[i].name, 1, 0, QVariant()});
    const QList<Table> tables = QList<Table>{catalog} + userTables;

    const int mapPage = CatalogPage + int(tables.size());
    Image image;
    image.pageSize = l.pageSize;
    // Page 1 holds the file's own usage map, unused here.
    QList<QByteArray> pages{headerPage(l), QByteArray(l.pageSize, '\0')};
    QList<QByteArray> dataPages, maps;
    for (int t = 0; t < tables.size(); ++t) {
        const Table &table = tables[t];
        const int definition = CatalogPage + t;
        QList<QByteArray> rows;
        for (const QVariantList &row : table.rows)
            rows.append(encodeRow(l, format, table, row));
        QList<QByteArray> own = rows.isEmpty() ? QList<QByteArray>{} : packRows(l, rows, quint32(definition));
        QList<int> numbers;
        for (qsizetype i = 0; i < own.size(); ++i)
            numbers.append(mapPage + 1 + int(dataPages.size() + i));
        dataPages += own;
        maps.append(usageMap(numbers));
        maps.append(usageMap({}));
        image.definitionPage.insert(table.name, definition);
        image.dataPages.insert(table.name, numbers);
    }
    for (int t = 0; t < tables.size(); ++t)
        pages.append(definitionPage(l, tables[t], t == 0, quint32(mapPage) << 8 | quint32(2 * t)));
    const QList<QByteArray> mapPages = packRows(l, maps, 0);
    if (mapPages.size() != 1)
        qFatal("JetWriter: the usage maps do not fit in one page");
    for (int t = 0; t < tables.size(); ++t) {
        const int row = 2 * t, at = l.rowCountOffset + 2 + 2 * row;
        const int start = quint8(mapPages[0][at]) | quint8(mapPages[0][at + 1]) << 8;
        image.usageMap.insert(tables[t].name, {qsizetype(mapPage) * l.pageSize + start, maps[row].size()});
    }
    image.bytes = (pages + mapPages + dataPages).join();
    return image;
}

void damage(Image &image, const QString &table, Damage damage)
{
    const qsizetype definition = qsizetype(image.definitionPage.value(table)) * image.pageSize;
    const bool jet4 = image.pageSize == 4096;
    switch (damage) {
    case Damage::ColumnCount: // the maximum, and the count the reader goes by
        for (const int at : {jet4 ? 41 : 21, jet4 ? 45 : 25})
            put(image.bytes, definition + at, 0xffff, 2);
        break;
    case Damage::ZeroedDefinition:
        image.bytes.replace(definition, image.pageSize, QByteArray(image.pageSize, '\0'));
        break;
    case Damage::FlippedUsageMap: {
        const auto [at, size] = image.usageMap.value(table);
        for (qsizetype i = at; i < at + size; ++i)
            image.bytes[i] = char(~quint8(image.bytes[i]));
        break;
    }
    case Damage::EmptyUsageMap: // a row far past the map page's rows: its offsets are zeros
        put(image.bytes, definition + (jet4 ? 55 : 35),
            quint32(image.usageMap.value(table).first / image.pageSize) << 8 | 200, 4);
    }
}

bool writeFile(const QString &path, Format format, const QList<Table> &tables)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(write(format, tables).bytes) >= 0;
}

QList<Table> emptyKnowledgeBase()
{
    constexpr Type Long = Type::LongInteger, Text = Type::Text;
    return {{"Catégories", {{"NumCatégorie", Long}, {"Nom", Text}}, {}},
            {"Modalités", {{"NumModalité", Long}, {"Modalité", Text}, {"NumCatégorie", Long}}, {}},
            {"Syndromes", {{"NumSyndrome", Long}, {"Nom", Text}, {"NumMéthode", Type::Integer}}, {}},
            {"Modalité-Syndrome", {{"NumModalité", Long}, {"NumSyndrome", Long}}, {}},
            {"Valorisation", {{"NumModalité", Long}, {"Valeur", Type::Byte}}, {}}};
}

QList<Table> tablesOf(const QString &knowledgeBasePath)
{
    QList<Table> tables = emptyKnowledgeBase();
    auto db = Database::open(knowledgeBasePath);
    for (Table &table : tables) {
        QStringList names;
        for (const Column &c : table.columns)
            names.append(QLatin1Char('[') + c.name + QLatin1Char(']'));
        auto rs = db->openRecordset(QStringLiteral("SELECT %1 FROM [%2]").arg(names.join(u','), table.name));
        for (; !rs->isEof(); rs->moveNext()) {
            QVariantList row;
            for (const Column &c : table.columns)
                row.append(rs->field(c.name));
            table.rows.append(row);
        }
    }
    return tables;
}

} // namespace JetWriter
