#include "DatabaseError.h"
#include "ImportFiles.h"
#include "ImportHelper.h"
#include "JetConversion.h"
#include "JetImport.h"
#include "JetWriter.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QStringEncoder>
#include <QSysInfo>
#include <QTest>
#include <QtEndian>

#include <deque>
#include <functional>
#include <limits>

using JetWriter::Format;
using Kind = DatabaseError::Kind;
using Tables = QList<JetWriter::Table>;
using TestSupport::readFile;
using TestSupport::writeFile;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(JetWriter::Format)
Q_DECLARE_METATYPE(DatabaseError::Kind)

namespace {

constexpr qint32 Min32 = std::numeric_limits<qint32>::min(), Max32 = std::numeric_limits<qint32>::max();

// Every row of the five tables in the program's columns (whatever other columns a table
// has), one line each, sorted: a writer or reader fault shows as the first line that differs.
QStringList rowsOf(const Tables &tables)
{
    QStringList lines;
    const Tables program = JetWriter::emptyKnowledgeBase();
    for (qsizetype t = 0; t < program.size(); ++t) {
        const auto &columns = tables[t].columns;
        for (const QVariantList &row : tables[t].rows) {
            QString line = program[t].name;
            for (const JetWriter::Column &wanted : program[t].columns) {
                const QVariant v =
                    row.value(std::ranges::find(columns, wanted.name, &JetWriter::Column::name) - columns.begin());
                line += u'|' + (v.isNull() ? QStringLiteral("<null>") : v.toString());
            }
            lines.append(line);
        }
    }
    lines.sort();
    return lines;
}

const Tables &bundled()
{
    static const Tables tables = JetWriter::tablesOf(TestSupport::bundledDatabase());
    return tables;
}

// A conversion: the format, whether it replaces a base, the files already beside the base
// (which stay), those of them another running import writes, the temporary files of killed
// imports (which go), and the name the original is kept under.
using Conversion = std::tuple<Format, bool, QStringList, QStringList, QStringList, QString>;

// Texts whose bytes cannot all be read, in each format, as the signs' texts of the first
// rows: they come over with U+FFFD where those bytes stood (or cut at the last whole
// character), and are counted; never cut short or changed without a word.
QList<std::pair<QByteArray, QString>> unreadableTexts(Format format)
{
    const auto utf16 = [](const QString &s) -> QByteArray { return QStringEncoder(QStringConverter::Utf16LE)(s); };
    if (format == Format::Jet3)
        return {{QByteArray("Teint p\xe2le\x00jaune", 16), u"Teint pâle\uFFFDjaune"_s}};
    if (format == Format::Jet4Compressed) // cut inside a two-byte character
        return {{QByteArray("\xff\xfeLangue\x00\x41", 10), u"Langue"_s}};
    return {
        {utf16(u"Démangeaisons du conduit"_s) + QByteArray(2, '\0') + utf16(u"auditif"_s),
         u"Démangeaisons du conduit\uFFFDauditif"_s}, // a NUL for a blank
        {utf16(u"Pouls "_s) + QByteArray("\x00\xd8", 2) + utf16(u" rapide"_s), u"Pouls \uFFFD rapide"_s}, // half a pair
        {utf16(u"Langue"_s) + 'A', u"Langue"_s}}; // cut inside a character
}

// A base that no practitioner has but every reader must get right: accented and
// typographic texts, texts outside the Jet 3 code page (Jet 4 only), the extremes of
// 32-bit numbers, 255-character texts (past 256 bytes a Jet 3 row needs its jump table),
// and enough rows that each table spans several data pages. Table names differ in case
// from the program's, and an extra column and an extra table are there to be left behind;
// the first signs' texts are unreadable ones.
// The weights follow the weight rule except for exactly `CraftedWeightsDiffering` signs.
constexpr qint64 CraftedWeightsDiffering = 6;

Tables craftedTables(Format format)
{
    Tables t = JetWriter::emptyKnowledgeBase();
    t[0].name = "CATÉGORIES";
    t[1].name = "modalités";
    t[2].columns.insert(1, {"Remarque", JetWriter::Type::Text});

    QStringList words{"Œdème", "Écoulement nasal clair", "€", "’", "Teint pâle, « cireux »", ""};
    words.append({"Langue fissurée – enduit jaune", "Pouls en corde d'arc… très tendu"});
    if (format != Format::Jet3) // U+0100 and U+2400 end in a zero byte: such a text cannot be compressed.
        words.append({"Pouls 脉 glissant", "Langue pâle, enduit Ā blanc ␀ épais"});
    const QString longText = QString("Œdème pâle ’€ « très » ").repeated(12); // 276 characters
    const QList<qint32> extremes{Min32, Max32, -1, 0, Min32 + 1, Max32 - 1};
    const auto numberOf = [&](int i, int stride) { return i < extremes.size() ? extremes[i] : i * stride - 5000; };

    for (int i = 0; i < 400; ++i)
        t[0].rows.append({numberOf(i, 3), i % 9 == 4 ? QVariant() : words[i % words.size()] + QString::number(i)});
    for (int i = 0; i < 800; ++i) {
        // Lengths 240 to 255 move the 256-byte boundaries of a Jet 3 row across the offsets.
        const QString text = i % 5 == 0 ? longText.left(240 + i % 16) : words[i % words.size()];
        t[1].rows.append({numberOf(i, 7), text, t[0].rows[i % 400][0]});
    }
    const auto unreadable = unreadableTexts(format);
    for (qsizetype i = 0; i < unreadable.size(); ++i)
        t[1].rows[i + 1][1] = unreadable[i].first;
    const QList<int> methods{1, 2, 3, 4, 5, -32768, 32767};
    for (int i = 0; i < 400; ++i)
        t[2].rows.append({numberOf(i, 11), "remarque", words[(i + 3) % words.size()] + QString::number(i),
                          methods[i % methods.size()]});
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
    for (const QVariantList &sign : t[1].rows)
        if (const int count = links.value(sign[0].toInt()); count > 0)
            t[4].rows.append({sign[0], count < 10 ? 10 - count : 1});
    // The six signs that differ from the rule: three weights changed (to the extremes of a
    // byte among others), one weight null, one sign without links given a weight, one sign
    // with links left without one.
    t[4].rows[0][1] = 0;
    t[4].rows[1][1] = 255;
    t[4].rows[2][1] = t[4].rows[2][1].toInt() + 1;
    t[4].rows[3][1] = QVariant();
    t[4].rows.append({t[1].rows[750][0], 9});
    t[4].rows.removeAt(10);

    t.append({"Consultations", {{"Numéro", JetWriter::Type::LongInteger}}, {{1}, {2}}});
    return t;
}

// What an import killed while it wrote leaves behind: its temporary file, or its lock
// alone, held by a process that is no more.
void writeKilledImport(const QString &path)
{
    QProcess gone;
    gone.start(u"/bin/true"_s);
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());
    const QString lock = path.endsWith(u".lock"_s) ? path : path + u".lock"_s;
    writeFile(lock, QByteArray::number(pid) + "\ntessavor\n" + QSysInfo::machineHostName().toUtf8() + '\n');
    if (!path.endsWith(u".lock"_s))
        writeFile(path, "half a base");
}

// Deliberate faults that the file operations fail with. Every fault is the system's kind
// of failure, reported with its message; a failed write leaves a partial file behind, as a
// full disk would.
class FaultyFiles : public ImportFiles
{
public:
    enum class Fault { None, Write, NoSpace, ShortWrite, FirstRename, SecondRename, SecondRenameAndRestore };
    explicit FaultyFiles(Fault fault) : m_fault(fault) {}

    bool write(const QString &path, const QByteArray &bytes, WriteError &error) override
    {
        if (m_fault == Fault::Write || m_fault == Fault::NoSpace) {
            ImportFiles::write(path, bytes.left(bytes.size() / 2), error);
            const bool full = m_fault == Fault::NoSpace;
            error = {full ? u"No space left on device"_s : u"Input/output error"_s, full};
            return false;
        }
        // The write reports success but the last page never reached the disk.
        return ImportFiles::write(path, m_fault == Fault::ShortWrite ? bytes.left(bytes.size() - 4096) : bytes, error);
    }

    bool rename(const QString &from, const QString &to, QString &error) override
    {
        ++m_renames;
        const bool refused = (m_fault == Fault::FirstRename && m_renames == 1) ||
                             (m_fault == Fault::SecondRename && m_renames == 2) ||
                             (m_fault == Fault::SecondRenameAndRestore && m_renames >= 2);
        error = refused ? QStringLiteral("Permission denied") : QString();
        return !refused && ImportFiles::rename(from, to, error);
    }

private:
    Fault m_fault;
    int m_renames = 0;
};

} // namespace

Q_DECLARE_METATYPE(FaultyFiles::Fault)
Q_DECLARE_METATYPE(Conversion)

// Converting an Access knowledge base: every value comes over exactly, every damaged file is
// refused with its reason, and no failure loses the original or leaves a file behind.
class TestJetImport : public QObject
{
    Q_OBJECT

    const QDate m_date{2026, 12, 7};

private slots:
    // Only the recognition runs in a build without libmdb.
    void init()
    {
        if (!JetImport::isAvailable() && QTest::currentTestFunction() != "recognisesAccessFiles"_ba)
            QSKIP("built without libmdb");
    }

    void recognisesAccessFiles()
    {
        // From the first bytes alone, in every build.
        QTemporaryDir dir;
        for (Format f : {Format::Jet3, Format::Jet4})
            QVERIFY(JetImport::isJetFile(writeFile(dir.filePath("a.mdb"), JetWriter::write(f, {}).bytes)));
        QVERIFY(!JetImport::isJetFile(TestSupport::bundledDatabase()));
        QVERIFY(!JetImport::isJetFile(dir.filePath("absent.mdb")));
        QVERIFY(!JetImport::isJetFile(writeFile(dir.filePath("empty.mdb"), {})));
    }

    // Every value comes over, in each format (the bundled base's conversion is the program's
    // test); the file replaced is kept under a name that no file bears, and an Access file
    // that replaces a base stays as it is.
    void conversions_data()
    {
        QTest::addColumn<Conversion>("conversion");
        const QString access = u"Signes-access-2026-12-07"_s, copy = u"Signes-2026-12-07"_s;
        const QString temporary = u"Signes-import.tmp"_s, second = u"Signes-import-2.tmp"_s;
        for (auto [f, name] :
             {std::pair{Format::Jet3, "Jet 3"}, {Format::Jet4, "Jet 4"}, {Format::Jet4Compressed, "Jet 4 compressed"}})
            QTest::newRow(name) << Conversion{f, false, {}, {}, {}, access + ".mdb"};
        QTest::newRow("in place, date and -2 taken")
            << Conversion{Format::Jet3, false, {access + ".mdb", access + "-2.mdb"}, {}, {}, access + "-3.mdb"};
        const QStringList killed{temporary, second + ".lock", u"Signes-import-7.tmp"_s};
        QTest::newRow("temporary files of killed imports")
            << Conversion{Format::Jet3, false, {u"Signes-import.txt"_s}, {}, killed, access + ".mdb"};
        QTest::newRow("the temporary file of a running import")
            << Conversion{Format::Jet3, false, {temporary}, {temporary}, {second}, access + ".mdb"};
        QTest::newRow("replacing a base, date taken")
            << Conversion{Format::Jet4Compressed, true, {copy + ".mdb"}, {}, {}, copy + "-2.mdb"};
    }

    void conversions()
    {
        QFETCH(Conversion, conversion);
        const auto &[format, replacing, existing, held, killed, kept] = conversion;
        const Tables tables = craftedTables(format);
        const JetWriter::Image image = JetWriter::write(format, tables);
        for (const auto &t : tables.mid(0, 5))
            QVERIFY2(image.dataPages.value(t.name).size() > 1, qPrintable(t.name));
        QTemporaryDir dir, elsewhere;
        const QString base = replacing ? TestSupport::makeDatabase(dir, u"small.sql"_s)
                                       : writeFile(dir.filePath(u"Signes.mdb"_s), image.bytes);
        const QString jet = replacing ? writeFile(elsewhere.filePath(u"Cabinet.mdb"_s), image.bytes) : base;
        const QByteArray original = readFile(base);
        for (const QString &name : existing)
            writeFile(dir.filePath(name), name.toUtf8());
        std::deque<QLockFile> locks;
        for (const QString &name : held)
            QVERIFY(locks.emplace_back(dir.filePath(name + ".lock")).tryLock(0));
        for (const QString &name : killed)
            writeKilledImport(dir.filePath(name));

        QList<std::pair<qint64, qint64>> progress;
        JetImport importer(ImportFiles::system(), ImportHelper::converter(TestSupport::importHelper()));
        importer.setDate(m_date);
        importer.setProgress([&](qint64 done, qint64 total) { progress.append(std::make_pair(done, total)); });
        // The name the practitioner is told beforehand is the name given.
        const QString told = importer.keptCopyName(jet, base);
        const auto summary = replacing ? importer.replaceWith(jet, base) : importer.convertInPlace(base);

        Tables read = tables;
        QList<KnowledgeBaseRows::AlteredText> altered;
        const auto unreadable = unreadableTexts(format);
        for (qsizetype i = 0; i < unreadable.size(); ++i) {
            read[1].rows[i + 1][1] = unreadable[i].second;
            altered.append({u"Modalités"_s, read[1].rows[i + 1][0].toInt(), unreadable[i].second});
        }
        QCOMPARE(rowsOf(JetWriter::tablesOf(base)), rowsOf(read));
        QCOMPARE(summary.alteredTexts, altered);
        QStringList files = existing;
        for (const QString &name : held)
            files << name + ".lock";
        files << kept << u"Signes.mdb"_s;
        files.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), files);
        QCOMPARE(std::pair(summary.keptCopy, told), std::pair(dir.filePath(kept), dir.filePath(kept)));
        QCOMPARE(readFile(summary.keptCopy), original);
        for (const QString &name : existing)
            QCOMPARE(readFile(dir.filePath(name)), name.toUtf8());
        if (replacing)
            QCOMPARE(readFile(jet), image.bytes);

        QCOMPARE(summary.version, format == Format::Jet3 ? 3 : 4);
        const QList<qint64> counts{summary.categories, summary.modalities, summary.syndromes, summary.links,
                                   summary.weights};
        for (int t = 0; t < 5; ++t)
            QCOMPARE(counts[t], tables[t].rows.size());
        QCOMPARE(summary.weightsDiffering, CraftedWeightsDiffering);
        QCOMPARE(summary.otherTables, QStringList({u"Consultations"_s}));
        QCOMPARE(summary.otherColumns, QStringList({u"Syndromes.Remarque"_s}));
        // Rows read, then rows written: never backwards, and all of it at the end.
        const qint64 total = 2 * rowsOf(tables).size();
        QVERIFY(progress.size() > 10);
        QCOMPARE(progress.last(), std::make_pair(total, total));
        for (qsizetype i = 1; i < progress.size(); ++i)
            QVERIFY(progress[i].first >= progress[i - 1].first && progress[i].second == total);
    }

    void refusesDamagedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("first"); // the first detail: table|column|value
        QTest::addColumn<int>("details");

        const Tables &base = bundled();
        const QString sign = base[1].rows[0][0].toString(), syndrome = base[2].rows[0][0].toString();
        for (Format f : {Format::Jet3, Format::Jet4}) {
            const auto row = [&](const char *name, const QByteArray &bytes, Kind kind, const QString &first,
                                 int details = 1) {
                QTest::addRow("%s, Jet %d", name, f == Format::Jet3 ? 3 : 4) << bytes << kind << first << details;
            };
            const auto with = [&](const std::function<void(Tables &)> &change) {
                Tables tables = base;
                change(tables);
                return JetWriter::write(f, tables).bytes;
            };
            const JetWriter::Image sound = JetWriter::write(f, base);
            const qsizetype size = sound.bytes.size(), page = sound.pageSize;
            row("cut in the middle of a page", sound.bytes.chopped(page / 2), Kind::Truncated,
                "||" + QString::number(size - page / 2));
            row("last page missing", sound.bytes.chopped(page), Kind::Truncated,
                "Valorisation||" + QString::number(size / page - 1));
            // (The shapes that crashed the reader are the program's test, app/tst_accessimport.)
            for (const QString &table : {u"Modalités"_s, u"MSysObjects"_s}) {
                JetWriter::Image shape = sound;
                JetWriter::damage(shape, table, JetWriter::Damage::EmptyUsageMap);
                row(qPrintable(u"empty usage map, "_s + table), shape.bytes, Kind::JetDamaged,
                    table + (table == u"MSysObjects"_s ? u"||catalogue"_s : u"||usage map"_s));
            }

            // A data page of the links that names the syndromes' definition as its table.
            QByteArray stray = sound.bytes;
            const qsizetype at = sound.dataPages.value("Modalité-Syndrome").at(1) * page;
            qToLittleEndian<qint32>(sound.definitionPage.value("Syndromes"), stray.data() + at + 4);
            const int onStray = quint8(stray[at + (f == Format::Jet3 ? 8 : 12)]);
            row("data page of another table", stray, Kind::RowCount,
                "Modalité-Syndrome||" + QString::number(base[3].rows.size() - onStray));

            row("sign number missing", with([](Tables &t) { t[1].rows[5][0] = QVariant(); }), Kind::NullValue,
                "Modalités|NumModalité|");
            row("syndrome name and link end missing",
                with([](Tables &t) { t[2].rows[3][1] = t[3].rows[7][1] = QVariant(); }), Kind::NullValue,
                "Syndromes|Nom|", 2);
            row("links and weight to nothing", with([&](Tables &t) {
                    t[3].rows << QVariantList{9999999, syndrome} << QVariantList{sign, 8888888};
                    t[4].rows.append({7777777, 5});
                }),
                Kind::MissingReference, "Modalité-Syndrome|NumModalité|9999999", 3);
            row("sign number twice", with([&](Tables &t) {
                    t[1].rows.append({sign, "Doublon", 2});
                }),
                Kind::DuplicateKey, "Modalités|NumModalité|" + sign);
            row("weight table missing", with([](Tables &t) { t[4].name = "Valorisations"; }), Kind::MissingTable,
                "Valorisation||");
            row("method column missing", with([](Tables &t) { t[2].columns.last().name = "Méthode"; }),
                Kind::MissingColumn, "Syndromes|NumMéthode|");
            row("sign number as text, weight as double", with([](Tables &t) {
                    t[1].columns[0].type = JetWriter::Type::Text;
                    t[4].columns[1].type = JetWriter::Type::Double;
                }),
                Kind::WrongType, "Modalités|NumModalité|Text", 2);
        }
        QTest::newRow("two pages left") << JetWriter::write(Format::Jet4, base).bytes.left(2 * 4096) << Kind::Truncated
                                        << "MSysObjects||" << 1;
        QTest::newRow("knowledge base already converted")
            << readFile(TestSupport::bundledDatabase()) << Kind::NotAccessFile << "||" << 0;
    }

    void refusesDamagedFiles()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath("Signes.mdb"), bytes);
        const auto e = TestSupport::failure([&] {
            JetImport(ImportFiles::system(), ImportHelper::converter(TestSupport::importHelper())).convertInPlace(path);
        });
        QVERIFY2(e, "imported");
        QTEST(e->kind(), "kind");
        QCOMPARE(e->path(), path);
        QTEST(int(e->details().size()), "details");
        const DatabaseError::Detail d = e->details().value(0);
        QTEST(QStringList({d.table, d.column, d.value}).join(u'|'), "first");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"Signes.mdb"}));
        QCOMPARE(readFile(path), bytes);
    }

    void failedFileOperationsLeaveEverythingInPlace_data()
    {
        QTest::addColumn<bool>("replacing");
        QTest::addColumn<FaultyFiles::Fault>("fault");
        QTest::addColumn<Kind>("kind");
        using F = FaultyFiles::Fault;
        for (bool replacing : {false, true}) {
            const char *how = replacing ? "replacing a base" : "in place";
            QTest::addRow("%s: write fails", how) << replacing << F::Write << Kind::WriteFailed;
            QTest::addRow("%s: disk full", how) << replacing << F::NoSpace << Kind::NoSpace;
            QTest::addRow("%s: written file short", how) << replacing << F::ShortWrite << Kind::CheckFailed;
            QTest::addRow("%s: original cannot be renamed", how) << replacing << F::FirstRename << Kind::RenameFailed;
            QTest::addRow("%s: new file cannot be renamed", how) << replacing << F::SecondRename << Kind::RenameFailed;
            QTest::addRow("%s: nor the original restored", how)
                << replacing << F::SecondRenameAndRestore << Kind::RestoreFailed;
        }
    }

    void failedFileOperationsLeaveEverythingInPlace()
    {
        QFETCH(bool, replacing);
        QFETCH(FaultyFiles::Fault, fault);
        QFETCH(Kind, kind);
        QTemporaryDir dir, elsewhere;
        const QString jet = writeFile(replacing ? elsewhere.filePath("Ancienne.mdb") : dir.filePath("Signes.mdb"),
                                      JetWriter::write(Format::Jet4, bundled()).bytes);
        const QString base = replacing ? TestSupport::makeDatabase(dir, u"small.sql"_s) : jet;
        const QByteArray original = readFile(base), jetBytes = readFile(jet);
        const QString kept = dir.filePath(replacing ? "Signes-2026-12-07.mdb" : "Signes-access-2026-12-07.mdb");

        FaultyFiles files(fault);
        JetImport importer(files, JetConversion::inProcess(files));
        importer.setDate(m_date);
        const auto e =
            TestSupport::failure([&] { replacing ? importer.replaceWith(jet, base) : importer.convertInPlace(jet); });
        QVERIFY2(e, "imported");
        QCOMPARE(std::pair(e->kind(), e->path()), std::pair(kind, jet));
        // Nothing is lost: an original that cannot be put back lies under the kept name, as the
        // message says; else it is where it was.
        const QString left = kind == Kind::RestoreFailed ? kept : base;
        if (kind == Kind::RestoreFailed)
            QCOMPARE(std::pair(e->details().value(0).value, e->details().value(0).expected), std::pair(kept, base));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({QFileInfo(left).fileName()}));
        QCOMPARE(readFile(left), original);
        if (replacing)
            QCOMPARE(readFile(jet), jetBytes);
    }
};

QTEST_GUILESS_MAIN(TestJetImport)
#include "tst_jetimport.moc"
