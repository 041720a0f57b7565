#include "Database.h"
#include "DatabaseError.h"
#include "ImportFiles.h"
#include "JetImport.h"
#include "JetReader.h"
#include "JetWriter.h"
#include "KnowledgeBaseRows.h"
#include "Recordset.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <limits>

using JetWriter::Format;
using Kind = DatabaseError::Kind;

Q_DECLARE_METATYPE(JetWriter::Format)
Q_DECLARE_METATYPE(DatabaseError::Kind)

namespace {

constexpr qint32 Min32 = std::numeric_limits<qint32>::min();
constexpr qint32 Max32 = std::numeric_limits<qint32>::max();

QString formatName(Format format)
{
    switch (format) {
    case Format::Jet3:
        return QStringLiteral("Jet 3");
    case Format::Jet4:
        return QStringLiteral("Jet 4");
    case Format::Jet4Compressed:
        return QStringLiteral("Jet 4 compressed");
    }
    return {};
}

// The rows the tables hold, in the reader's terms: what an import must bring over.
KnowledgeBaseRows rowsOf(const QList<JetWriter::Table> &tables)
{
    KnowledgeBaseRows kb;
    // Each table's rows as its columns of those names, whatever other columns it has.
    const auto pick = [&](int t, QStringList names) {
        QList<QVariantList> rows;
        QList<int> at;
        for (const QString &name : names) {
            const auto &columns = tables[t].columns;
            at.append(int(std::find_if(columns.begin(), columns.end(), [&](const auto &c) { return c.name == name; }) -
                          columns.begin()));
        }
        for (const QVariantList &row : tables[t].rows) {
            QVariantList values;
            for (int i : at)
                values.append(row.value(i));
            rows.append(values);
        }
        return rows;
    };
    const auto optText = [](const QVariant &v) { return v.isNull() ? std::nullopt : std::optional(v.toString()); };
    const auto optInt = [](const QVariant &v) { return v.isNull() ? std::nullopt : std::optional(v.toInt()); };
    for (const auto &r : pick(0, {"NumCatégorie", "Nom"}))
        kb.categories.append({r[0].toInt(), optText(r[1])});
    for (const auto &r : pick(1, {"NumModalité", "Modalité", "NumCatégorie"}))
        kb.modalities.append({r[0].toInt(), r[1].toString(), r[2].toInt()});
    for (const auto &r : pick(2, {"NumSyndrome", "Nom", "NumMéthode"}))
        kb.syndromes.append({r[0].toInt(), r[1].toString(), r[2].toInt()});
    for (const auto &r : pick(3, {"NumModalité", "NumSyndrome"}))
        kb.links.append({r[0].toInt(), r[1].toInt()});
    for (const auto &r : pick(4, {"NumModalité", "Valeur"}))
        kb.weights.append({r[0].toInt(), optInt(r[1])});
    return kb;
}

// Every row of a knowledge base file, read through the program's own data layer.
KnowledgeBaseRows rowsOfBase(const QString &path)
{
    return rowsOf(JetWriter::tablesOf(path));
}

template <typename Row> QString describe(const Row &row);
template <> QString describe(const KnowledgeBaseRows::Category &r)
{
    return QStringLiteral("%1 %2").arg(r.number).arg(r.name ? *r.name : QStringLiteral("<null>"));
}
template <> QString describe(const KnowledgeBaseRows::Modality &r)
{
    return QStringLiteral("%1 «%2» %3").arg(r.number).arg(r.text).arg(r.category);
}
template <> QString describe(const KnowledgeBaseRows::Syndrome &r)
{
    return QStringLiteral("%1 «%2» %3").arg(r.number).arg(r.name).arg(r.method);
}
template <> QString describe(const KnowledgeBaseRows::Link &r)
{
    return QStringLiteral("%1 %2").arg(r.modality).arg(r.syndrome);
}
template <> QString describe(const KnowledgeBaseRows::Weight &r)
{
    return QStringLiteral("%1 %2").arg(r.modality).arg(r.value ? QString::number(*r.value) : QStringLiteral("<null>"));
}

// Compares row by row, in an order of their own (a table has none): the first row that
// differs, or nothing.
template <typename Row> QString difference(const QString &table, QList<Row> expected, QList<Row> actual)
{
    const auto byText = [](const Row &a, const Row &b) { return describe(a) < describe(b); };
    std::sort(expected.begin(), expected.end(), byText);
    std::sort(actual.begin(), actual.end(), byText);
    for (qsizetype i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        if (i >= expected.size() || i >= actual.size() || !(expected[i] == actual[i]))
            return QStringLiteral("%1, row %2: expected %3, got %4")
                .arg(table)
                .arg(i)
                .arg(i < expected.size() ? describe(expected[i]) : QStringLiteral("nothing"))
                .arg(i < actual.size() ? describe(actual[i]) : QStringLiteral("nothing"));
    }
    return {};
}

QString difference(const KnowledgeBaseRows &expected, const KnowledgeBaseRows &actual)
{
    QStringList found{difference(QStringLiteral("Catégories"), expected.categories, actual.categories),
                      difference(QStringLiteral("Modalités"), expected.modalities, actual.modalities),
                      difference(QStringLiteral("Syndromes"), expected.syndromes, actual.syndromes),
                      difference(QStringLiteral("Modalité-Syndrome"), expected.links, actual.links),
                      difference(QStringLiteral("Valorisation"), expected.weights, actual.weights)};
    found.removeAll(QString());
    return found.join(QLatin1Char('\n'));
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

namespace {

// A base that no practitioner has but every reader must get right: accented and
// typographic texts, texts outside the Jet 3 code page (Jet 4 only), the extremes of
// 32-bit numbers, 255-character texts (past 256 bytes a Jet 3 row needs its jump table),
// and enough rows that each table spans several data pages. Table names differ in case
// from the program's, and an extra column and an extra table are there to be left behind.
// The weights follow the weight rule except for exactly `CraftedWeightsDiffering` signs.
constexpr qint64 CraftedWeightsDiffering = 6;

QList<JetWriter::Table> craftedTables(Format format)
{
    QList<JetWriter::Table> t = JetWriter::emptyKnowledgeBase();
    t[0].name = QStringLiteral("CATÉGORIES");
    t[1].name = QStringLiteral("modalités");
    t[2].columns.insert(1, {QStringLiteral("Remarque"), JetWriter::Type::Text});

    QStringList words{QStringLiteral("Œdème"),
                      QStringLiteral("Écoulement nasal clair"),
                      QStringLiteral("€"),
                      QStringLiteral("’"),
                      QStringLiteral("Teint pâle, « cireux »"),
                      QString(),
                      QStringLiteral("Langue fissurée – enduit jaune"),
                      QStringLiteral("Pouls en corde d'arc… très tendu")};
    if (format != Format::Jet3) {
        // U+0100 and U+2400 end in a zero byte: such a text cannot be compressed.
        words << QStringLiteral("Pouls 脉 glissant") << QStringLiteral("Langue pâle, enduit Ā blanc ␀ épais");
    }
    const QString pattern = QStringLiteral("Œdème pâle ’€ « très » ");
    QString longText;
    while (longText.size() < 255)
        longText += pattern;
    const QList<qint32> extremes{Min32, Max32, -1, 0, Min32 + 1, Max32 - 1};
    const auto numberOf = [&](int i, int stride) { return i < extremes.size() ? extremes[i] : i * stride - 5000; };

    for (int i = 0; i < 400; ++i)
        t[0].rows.append(
            {numberOf(i, 3), i % 9 == 4 ? QVariant() : QVariant(words[i % words.size()] + QString::number(i))});
    for (int i = 0; i < 800; ++i) {
        // Lengths 240 to 255 move the 256-byte boundaries of a Jet 3 row across the offsets.
        const QString text = i % 5 == 0 ? longText.left(240 + i % 16) : words[i % words.size()];
        t[1].rows.append({numberOf(i, 7), text, t[0].rows[i % 400][0]});
    }
    const QList<int> methods{1, 2, 3, 4, 5, -32768, 32767};
    for (int i = 0; i < 400; ++i)
        t[2].rows.append({numberOf(i, 11), QStringLiteral("remarque"),
                          words[(i + 3) % words.size()] + QString::number(i), methods[i % methods.size()]});
    QHash<qint32, int> links;
    for (int i = 0; i < 4000; ++i) {
        const QVariant modality = t[1].rows[(i * 3) % 700][0]; // signs 700 to 799 have no link
        t[3].rows.append({modality, t[2].rows[(i * 13) % 400][0]});
        ++links[modality.toInt()];
    }
    // Ten links and more weigh 1: one sign gets exactly ten, one twenty-five.
    for (const auto &[sign, count] : {std::pair{0, 10}, std::pair{1, 25}}) {
        const QVariant modality = t[1].rows[sign][0];
        for (int i = links.value(modality.toInt()); i < count; ++i)
            t[3].rows.append({modality, t[2].rows[(i * 17) % 400][0]});
        links[modality.toInt()] = count;
    }
    for (int i = 0; i < 800; ++i) {
        const qint32 number = t[1].rows[i][0].toInt();
        const int count = links.value(number);
        if (count > 0)
            t[4].rows.append({number, count < 10 ? 10 - count : 1});
    }
    // The six signs that differ from the rule: three weights changed (to the extremes of a
    // byte among others), one weight null, one sign without links given a weight, one sign
    // with links left without one.
    t[4].rows[0][1] = 0;
    t[4].rows[1][1] = 255;
    t[4].rows[2][1] = t[4].rows[2][1].toInt() + 1;
    t[4].rows[3][1] = QVariant();
    t[4].rows.append({t[1].rows[750][0], 9});
    t[4].rows.removeAt(10);

    t.append({QStringLiteral("Consultations"), {{QStringLiteral("Numéro"), JetWriter::Type::LongInteger}}, {{1}, {2}}});
    return t;
}

// Deliberate faults that the file operations fail with. Every fault is the system's kind
// of failure, reported with its message; a failed write leaves a partial file behind, as a
// full disk would.
class FaultyFiles : public ImportFiles
{
public:
    enum class Fault { None, Write, ShortWrite, FirstRename, SecondRename, SecondRenameAndRestore };
    explicit FaultyFiles(Fault fault) : m_fault(fault) {}

    bool write(const QString &path, const QByteArray &bytes, QString &error) override
    {
        if (m_fault == Fault::Write) {
            ImportFiles::write(path, bytes.left(bytes.size() / 2), error);
            error = QStringLiteral("No space left on device");
            return false;
        }
        // The write reports success but the last page never reached the disk.
        return ImportFiles::write(path, m_fault == Fault::ShortWrite ? bytes.left(bytes.size() - 4096) : bytes, error);
    }

    bool rename(const QString &from, const QString &to, QString &error) override
    {
        ++m_renames;
        if ((m_fault == Fault::FirstRename && m_renames == 1) || (m_fault == Fault::SecondRename && m_renames == 2) ||
            (m_fault == Fault::SecondRenameAndRestore && m_renames >= 2)) {
            error = QStringLiteral("Permission denied");
            return false;
        }
        return ImportFiles::rename(from, to, error);
    }

private:
    Fault m_fault;
    int m_renames = 0;
};

} // namespace

Q_DECLARE_METATYPE(FaultyFiles::Fault)

// The tests that read Access files need libmdb; a build without it skips them.
#define REQUIRE_LIBMDB()                                                                                               \
    do {                                                                                                               \
        if (!JetImport::isAvailable())                                                                                 \
            QSKIP("built without libmdb");                                                                             \
    } while (false)

// Converting an Access knowledge base: every value comes over exactly, every damaged file is
// refused with its reason, and no failure loses the original or leaves a file behind.
class TestJetImport : public QObject
{
    Q_OBJECT

    const QDate m_date{2026, 12, 7};
    const QString m_kept = QStringLiteral("Signes-access-2026-12-07.mdb");

    static QString jetIn(const QTemporaryDir &dir, Format format, const QList<JetWriter::Table> &tables,
                         const QString &name = QStringLiteral("Signes.mdb"))
    {
        const QString path = dir.filePath(name);
        if (!JetWriter::writeFile(path, format, tables))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    static void addFormats()
    {
        QTest::addColumn<Format>("format");
        for (Format f : {Format::Jet3, Format::Jet4, Format::Jet4Compressed})
            QTest::newRow(qPrintable(formatName(f))) << f;
    }

private slots:
    void recognisesAccessFiles()
    {
        // From the first bytes alone, in every build.
        QTemporaryDir dir;
        const auto tables = JetWriter::emptyKnowledgeBase();
        QVERIFY(JetImport::isJetFile(jetIn(dir, Format::Jet3, tables, QStringLiteral("a.mdb"))));
        QVERIFY(JetImport::isJetFile(jetIn(dir, Format::Jet4, tables, QStringLiteral("b.mdb"))));
        QVERIFY(!JetImport::isJetFile(TestSupport::bundledDatabase()));
        QVERIFY(!JetImport::isJetFile(dir.filePath(QStringLiteral("absent.mdb"))));
        QFile empty(dir.filePath(QStringLiteral("empty.mdb")));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QVERIFY(!JetImport::isJetFile(empty.fileName()));
    }

    void withoutLibmdbAnAccessFileStaysToConvert()
    {
        if (JetImport::isAvailable())
            QSKIP("built with libmdb");
        QTemporaryDir dir;
        const QString path = jetIn(dir, Format::Jet3, JetWriter::tablesOf(TestSupport::bundledDatabase()));
        const QByteArray jet = contentOf(path);
        try {
            JetImport().convertInPlace(path);
            QFAIL("imported");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), Kind::AccessFile);
        }
        QCOMPARE(filesIn(dir.path()), QStringList({"Signes.mdb"}));
        QCOMPARE(contentOf(path), jet);
    }

    void bundledBaseRoundTrip_data() { addFormats(); }

    void bundledBaseRoundTrip()
    {
        REQUIRE_LIBMDB();
        QFETCH(Format, format);
        QTemporaryDir dir;
        const QString path = jetIn(dir, format, JetWriter::tablesOf(TestSupport::bundledDatabase()));
        const QByteArray jet = contentOf(path);

        JetImport import;
        import.setDate(m_date);
        const JetImport::Summary summary = import.convertInPlace(path);

        QCOMPARE(filesIn(dir.path()), QStringList({m_kept, QStringLiteral("Signes.mdb")}));
        QCOMPARE(contentOf(dir.filePath(m_kept)), jet);
        QCOMPARE(summary.keptCopy, dir.filePath(m_kept));
        QCOMPARE(summary.knowledgeBase, path);
        QCOMPARE(summary.version, format == Format::Jet3 ? 3 : 4);
        QCOMPARE(summary.weightsDiffering, 0);
        const KnowledgeBaseRows bundled = rowsOfBase(TestSupport::bundledDatabase());
        QCOMPARE(summary.modalities, bundled.modalities.size());
        QCOMPARE(summary.links, bundled.links.size());
        QVERIFY(bundled.links.size() > 2000);
        const QString diff = difference(bundled, rowsOfBase(path));
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    void craftedRoundTrip_data() { addFormats(); }

    void craftedRoundTrip()
    {
        REQUIRE_LIBMDB();
        QFETCH(Format, format);
        QTemporaryDir dir;
        const auto tables = craftedTables(format);
        const JetWriter::Image image = JetWriter::write(format, tables);
        for (const auto &t : tables.mid(0, 5))
            QVERIFY2(image.dataPages.value(t.name).size() > 1, qPrintable(t.name));
        const QString path = dir.filePath(QStringLiteral("Signes.mdb"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(image.bytes) == image.bytes.size());
        file.close();

        QList<std::pair<qint64, qint64>> progress;
        JetImport import;
        import.setDate(m_date);
        import.setProgress([&](qint64 done, qint64 total) { progress.append({done, total});
    });
    const JetImport::Summary summary = import.convertInPlace(path);

    const QString diff = difference(rowsOf(tables), rowsOfBase(path));
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QCOMPARE(summary.weightsDiffering, CraftedWeightsDiffering);
    QCOMPARE(summary.otherTables, QStringList({"Consultations"}));
    QCOMPARE(summary.otherColumns, QStringList({"Syndromes.Remarque"}));
    const qint64 rows = rowsOf(tables).rowCount();
    QVERIFY(progress.size() > 10);
    QCOMPARE(progress.last(), std::make_pair(2 * rows, 2 * rows));
    for (qsizetype i = 1; i < progress.size(); ++i)
        QVERIFY(progress[i].first >= progress[i - 1].first && progress[i].second == 2 * rows);
}

    void refusesDamagedFiles_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("detailCount");

    const QList<JetWriter::Table> base = JetWriter::tablesOf(TestSupport::bundledDatabase());
    const qint32 sign = base[1].rows[0][0].toInt(), syndrome = base[2].rows[0][0].toInt();
    for (Format f : {Format::Jet3, Format::Jet4}) {
        const QString suffix = QLatin1Char(' ') + formatName(f);
        const auto row = [&](const char *name) -> QTestData & { return QTest::newRow(qPrintable(name + suffix)) << f; };
        const JetWriter::Image sound = JetWriter::write(f, base);
        const int page = sound.pageSize;

        QByteArray bytes = sound.bytes;
        bytes.chop(page / 2);
        row("cut in the middle of a page")
            << bytes << Kind::Truncated << QString() << QString() << QString::number(bytes.size()) << 1;
        bytes = sound.bytes;
        bytes.chop(page);
        row("last page missing") << bytes << Kind::Truncated << QStringLiteral("Valorisation") << QString()
                                 << QString::number(bytes.size() / page) << 1;

        // A data page of the links that names the syndromes' definition as its table.
        bytes = sound.bytes;
        const int stray = sound.dataPages.value(QStringLiteral("Modalité-Syndrome")).at(1);
        const int owner = sound.definitionPage.value(QStringLiteral("Syndromes"));
        for (int b = 0; b < 4; ++b)
            bytes[stray * page + 4 + b] = char((owner >> (8 * b)) & 0xff);
        const int onStray = quint8(sound.bytes[stray * page + (f == Format::Jet3 ? 8 : 12)]);
        row("data page of another table") << bytes << Kind::RowCount << QStringLiteral("Modalité-Syndrome") << QString()
                                          << QString::number(base[3].rows.size() - onStray) << 1;

        auto tables = base;
        tables[1].rows[5][0] = QVariant();
        row("sign number missing") << JetWriter::write(f, tables).bytes << Kind::NullValue
                                   << QStringLiteral("Modalités") << QStringLiteral("NumModalité") << QString() << 1;
        tables = base;
        tables[2].rows[3][1] = QVariant();
        tables[3].rows[7][1] = QVariant();
        row("syndrome name and link end missing")
            << JetWriter::write(f, tables).bytes << Kind::NullValue << QStringLiteral("Syndromes")
            << QStringLiteral("Nom") << QString() << 2;

        tables = base;
        tables[3].rows.append({9999999, syndrome});
        tables[3].rows.append({sign, 8888888});
        tables[4].rows.append({7777777, 5});
        row("links and weight to nothing")
            << JetWriter::write(f, tables).bytes << Kind::MissingReference << QStringLiteral("Modalité-Syndrome")
            << QStringLiteral("NumModalité") << QStringLiteral("9999999") << 3;

        tables = base;
        tables[1].rows.append({sign, QStringLiteral("Doublon"), 2});
        row("sign number twice") << JetWriter::write(f, tables).bytes << Kind::DuplicateKey
                                 << QStringLiteral("Modalités") << QStringLiteral("NumModalité")
                                 << QString::number(sign) << 1;

        tables = base;
        tables[4].name = QStringLiteral("Valorisations");
        row("weight table missing") << JetWriter::write(f, tables).bytes << Kind::MissingTable
                                    << QStringLiteral("Valorisation") << QString() << QString() << 1;

        tables = base;
        tables[2].columns.removeLast();
        for (auto &r : tables[2].rows)
            r.removeLast();
        row("method column missing") << JetWriter::write(f, tables).bytes << Kind::MissingColumn
                                     << QStringLiteral("Syndromes") << QStringLiteral("NumMéthode") << QString() << 1;

        tables = base;
        tables[1].columns[0].type = JetWriter::Type::Text;
        tables[4].columns[1].type = JetWriter::Type::Double;
        row("sign number as text, weight as double")
            << JetWriter::write(f, tables).bytes << Kind::WrongType << QStringLiteral("Modalités")
            << QStringLiteral("NumModalité") << QStringLiteral("Text") << 2;
    }
    const QByteArray header = JetWriter::write(Format::Jet4, base).bytes.left(2 * 4096);
    QTest::newRow("two pages left") << Format::Jet4 << header << Kind::Truncated << QStringLiteral("MSysObjects")
                                    << QString() << QString() << 1;
    QTest::newRow("knowledge base already converted")
        << Format::Jet4 << contentOf(TestSupport::bundledDatabase()) << Kind::NotAccessFile << QString() << QString()
        << QString() << 0;
}

void refusesDamagedFiles()
{
    REQUIRE_LIBMDB();
    QFETCH(QByteArray, bytes);
    QFETCH(Kind, kind);
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(int, detailCount);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Signes.mdb"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    JetImport import;
    try {
        import.convertInPlace(path);
        QFAIL("imported");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.kind(), kind);
        QCOMPARE(e.path(), path);
        QCOMPARE(e.details().size(), detailCount);
        if (detailCount > 0) {
            QCOMPARE(e.details()[0].table, table);
            QCOMPARE(e.details()[0].column, column);
            if (!value.isEmpty())
                QCOMPARE(e.details()[0].value, value);
        }
    }
    QCOMPARE(filesIn(dir.path()), QStringList({"Signes.mdb"}));
    QCOMPARE(contentOf(path), bytes);
}

void failedFileOperationsLeaveEverythingInPlace_data()
{
    QTest::addColumn<bool>("replacing");
    QTest::addColumn<FaultyFiles::Fault>("fault");
    QTest::addColumn<Kind>("kind");
    using F = FaultyFiles::Fault;
    for (bool replacing : {false, true}) {
        const char *how = replacing ? "replacing a base: " : "in place: ";
        const auto row = [&](const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(QLatin1String(how) + QLatin1String(name))) << replacing;
        };
        row("write fails") << F::Write << Kind::WriteFailed;
        row("written file short") << F::ShortWrite << Kind::CheckFailed;
        row("original cannot be renamed") << F::FirstRename << Kind::RenameFailed;
        row("new file cannot be renamed") << F::SecondRename << Kind::RenameFailed;
        row("new file cannot be renamed nor the original restored") << F::SecondRenameAndRestore << Kind::RestoreFailed;
    }
}

void failedFileOperationsLeaveEverythingInPlace()
{
    REQUIRE_LIBMDB();
    QFETCH(bool, replacing);
    QFETCH(FaultyFiles::Fault, fault);
    QFETCH(Kind, kind);

    QTemporaryDir dir, elsewhere;
    const auto tables = JetWriter::tablesOf(TestSupport::bundledDatabase());
    const QString base =
        replacing ? TestSupport::makeDatabase(dir, QStringLiteral("small.sql")) : jetIn(dir, Format::Jet4, tables);
    const QString jet = replacing ? jetIn(elsewhere, Format::Jet3, tables, QStringLiteral("Ancienne.mdb")) : base;
    const QByteArray original = contentOf(base), jetBytes = contentOf(jet);
    const QString kept = replacing ? QStringLiteral("Signes-2026-12-07.mdb") : m_kept;

    FaultyFiles files(fault);
    JetImport import(files);
    import.setDate(m_date);
    try {
        if (replacing)
            import.replaceWith(jet, base);
        else
            import.convertInPlace(jet);
        QFAIL("imported");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.kind(), kind);
        QCOMPARE(e.path(), jet);
        if (kind == Kind::RestoreFailed) {
            QCOMPARE(e.details().value(0).value, dir.filePath(kept));
            QCOMPARE(e.details().value(0).expected, base);
        }
    }
    if (kind == Kind::RestoreFailed) {
        // Nothing is lost: the original lies under the kept name, as the message says.
        QCOMPARE(filesIn(dir.path()), QStringList({kept}));
        QCOMPARE(contentOf(dir.filePath(kept)), original);
    } else {
        QCOMPARE(filesIn(dir.path()), QStringList({"Signes.mdb"}));
        QCOMPARE(contentOf(base), original);
    }
    if (replacing)
        QCOMPARE(contentOf(jet), jetBytes);
}

void replacesAKnowledgeBase()
{
    REQUIRE_LIBMDB();
    QTemporaryDir dir, elsewhere;
    const QString base = TestSupport::makeDatabase(dir, QStringLiteral("small.sql"));
    const QByteArray former = contentOf(base);
    const auto tables = craftedTables(Format::Jet4Compressed);
    const QString jet = jetIn(elsewhere, Format::Jet4Compressed, tables, QStringLiteral("Cabinet.mdb"));
    const QByteArray jetBytes = contentOf(jet);

    JetImport import;
    import.setDate(m_date);
    const JetImport::Summary summary = import.replaceWith(jet, base);

    QCOMPARE(filesIn(dir.path()), QStringList({"Signes-2026-12-07.mdb", "Signes.mdb"}));
    QCOMPARE(summary.keptCopy, dir.filePath(QStringLiteral("Signes-2026-12-07.mdb")));
    QCOMPARE(contentOf(summary.keptCopy), former);
    QCOMPARE(contentOf(jet), jetBytes);
    const QString diff = difference(rowsOf(tables), rowsOfBase(base));
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void keptNamesNeverReplaceAFile_data()
{
    QTest::addColumn<bool>("replacing");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("kept");
    QTest::newRow("in place, date taken")
        << false << QStringList({"Signes-access-2026-12-07.mdb"}) << QStringLiteral("Signes-access-2026-12-07-2.mdb");
    QTest::newRow("in place, date and -2 taken")
        << false << QStringList({"Signes-access-2026-12-07.mdb", "Signes-access-2026-12-07-2.mdb"})
        << QStringLiteral("Signes-access-2026-12-07-3.mdb");
    QTest::newRow("replacing, date taken")
        << true << QStringList({"Signes-2026-12-07.mdb"}) << QStringLiteral("Signes-2026-12-07-2.mdb");
    QTest::newRow("a file bears the temporary name")
        << false << QStringList({"Signes-import.tmp"}) << QStringLiteral("Signes-access-2026-12-07.mdb");
}

void keptNamesNeverReplaceAFile()
{
    REQUIRE_LIBMDB();
    QFETCH(bool, replacing);
    QFETCH(QStringList, existing);
    QFETCH(QString, kept);

    QTemporaryDir dir, elsewhere;
    const auto tables = JetWriter::tablesOf(TestSupport::bundledDatabase());
    const QString base =
        replacing ? TestSupport::makeDatabase(dir, QStringLiteral("small.sql")) : jetIn(dir, Format::Jet3, tables);
    const QByteArray original = contentOf(base);
    for (const QString &name : existing) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(name.toUtf8()) > 0);
    }

    JetImport import;
    import.setDate(m_date);
    const QString jet = replacing ? jetIn(elsewhere, Format::Jet4, tables) : base;
    // The name the practitioner is told beforehand is the name given.
    const QString told = import.keptCopyName(jet, base);
    const auto summary = replacing ? import.replaceWith(jet, base) : import.convertInPlace(base);

    QCOMPARE(summary.keptCopy, dir.filePath(kept));
    QCOMPARE(told, summary.keptCopy);
    QCOMPARE(contentOf(summary.keptCopy), original);
    for (const QString &name : existing)
        QCOMPARE(contentOf(dir.filePath(name)), name.toUtf8());
    QStringList expected = existing;
    expected << kept << QStringLiteral("Signes.mdb");
    expected.sort();
    QCOMPARE(filesIn(dir.path()), expected);
    QVERIFY(Database::open(base)->isOpen());
}
}
;

QTEST_GUILESS_MAIN(TestJetImport)
#include "tst_jetimport.moc"
