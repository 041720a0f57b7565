#include "AppPaths.h"
#include "ImportHelper.h"
#include "InstallLayout.h"
#include "TestSupport.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Step = AppPaths::CopyFailure::Step;
using TestSupport::readFile;
using TestSupport::writeFile;

// The knowledge-base rule on a made-up installation: <root>/prefix/bin is the program's
// folder, its shared data folder beside it, <root>/home/Tessavor the user's data folder.
// Each Signes.mdb holds a word that tells where it came from. Writability and failures go
// through the rule's file operations, never through permissions (root writes anywhere).
class TestAppPaths : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_bin, m_shared, m_user;

    QString in(const QString &folder) const { return QDir::toNativeSeparators(folder + u"/Signes.mdb"_s); }
    QString folder(const QString &name) const
    {
        return name == u"bin"_s ? m_bin : name == u"shared"_s ? m_shared : m_user;
    }

    // The system's operations, with a writability answer and one step that fails.
    AppPaths::FileOperations files(bool binWritable, Step failing) const
    {
        AppPaths::FileOperations files = AppPaths::FileOperations::system();
        files.isWritableFolder = [this, binWritable](const QString &f) { return f != m_bin || binWritable; };
        if (failing == Step::MakeFolder)
            files.makeFolder = [](const QString &) { return AppPaths::Failure(u"read-only file system"_s); };
        if (failing == Step::Copy) // the disk fills up half-way through
            files.copy = [](const QString &from, const QString &to) {
                writeFile(to, readFile(from).left(2));
                return AppPaths::Failure(u"no space left on device"_s);
            };
        if (failing == Step::Rename)
            files.rename = [](const QString &, const QString &) {
                return AppPaths::Failure(u"operation not permitted"_s);
            };
        return files;
    }

private slots:
    void init()
    {
        m_bin = m_root.filePath(u"prefix/bin"_s);
        m_shared = QDir::cleanPath(m_bin + u'/' + QLatin1String(InstallLayout::DataFromBin));
        m_user = m_root.filePath(u"home/Tessavor"_s);
        QDir(m_root.filePath(u"prefix"_s)).removeRecursively();
        QDir(m_root.filePath(u"home"_s)).removeRecursively();
        QDir().mkpath(m_bin);
    }

    void rule_data()
    {
        QTest::addColumn<QString>("present"); // own / shared / copy: Signes.mdb in bin / shared / user
        QTest::addColumn<Step>("failing");
        QTest::addColumn<QString>("database");    // "bin", "shared" or "user"
        QTest::addColumn<QByteArray>("userFile"); // what the user's Signes.mdb holds after
        QTest::addColumn<QString>("pages");       // "bin" or "shared"

        const auto row = [](const char *name, const char *present, Step failing, const char *database,
                            const char *userFile, const char *pages) {
            QTest::newRow(name) << present << failing << database << QByteArray(userFile) << pages;
        };
        const Step none = Step::None;
        row("build tree or portable copy: used where it is", "own writable shared", none, "bin", "", "bin");
        row("read-only own folder: own file copied", "own shared", none, "user", "own", "bin");
        row("installed: shared file copied", "shared", none, "user", "shared", "shared");
        row("installed, program folder writable (root): shared file copied", "writable shared", none, "user", "shared",
            "shared");
        row("installed, copy made earlier: kept as it is", "shared copy", none, "user", "edited", "shared");
        row("read-only own folder, copy made earlier: kept as it is", "own copy", none, "user", "edited", "bin");
        row("nothing bundled, copy made earlier: used", "copy", none, "user", "edited", "bin");
        row("nothing anywhere: the program folder's named", "", none, "bin", "", "bin");
        row("folder cannot be made: shared file used, nothing left", "shared", Step::MakeFolder, "shared", "",
            "shared");
        row("disk full during the copy: shared file used, nothing left", "shared", Step::Copy, "shared", "", "shared");
        row("rename refused: own file used, nothing left", "own", Step::Rename, "bin", "", "bin");
    }

    void rule()
    {
        QFETCH(QString, present);
        QFETCH(Step, failing);
        QFETCH(QString, database);
        QFETCH(QByteArray, userFile);
        QFETCH(QString, pages);
        for (const auto &[word, where] : {std::pair{u"own"_s, m_bin}, {u"shared"_s, m_shared}, {u"copy"_s, m_user}})
            if (present.contains(word))
                writeFile(in(where), where == m_user ? "edited" : word.toUtf8());
        // A program folder with its own files holds its import helper too (the build tree).
        const QString ownHelper = m_bin + u'/' + ImportHelper::fileName();
        if (present.contains(u"own"_s))
            writeFile(ownHelper, "helper");
        const AppPaths::KnowledgeBase kb =
            AppPaths::knowledgeBase(m_bin, m_user, files(present.contains(u"writable"_s), failing));
        QCOMPARE(kb.database, in(folder(database)));
        QCOMPARE(kb.pageFolder, QDir::toNativeSeparators(folder(pages)));
        QCOMPARE(kb.failure.step, failing);
        const QString installedHelper = QDir::cleanPath(m_bin + u'/' + QLatin1String(InstallLayout::HelpersFromBin) +
                                                        u'/' + ImportHelper::fileName());
        QCOMPARE(kb.importHelper, QDir::toNativeSeparators(present.contains(u"own"_s) ? ownHelper : installedHelper));
        if (kb.failure)
            QCOMPARE(kb.failure.target, in(m_user));
        QCOMPARE(readFile(in(m_user)), userFile);
        // Whatever happened, nothing half-made stays in the user's folder.
        QCOMPARE(QDir(m_user).entryList(QDir::Files | QDir::Hidden),
                 userFile.isEmpty() ? QStringList() : QStringList{u"Signes.mdb"_s});
    }

    // Editions, on an installed program whose bundled base is edition 3. A file's stamp is
    // read from its words, "edition:checksum"; the memory of the user's copy is the test's.
    void editions_data()
    {
        QTest::addColumn<QByteArray>("copy");   // the user's Signes.mdb before start (none when empty)
        QTest::addColumn<QByteArray>("record"); // what the program remembers: "edition:checksum:kept"
        QTest::addColumn<bool>("renameFails");
        QTest::addColumn<QByteArray>("after");    // the user's Signes.mdb after start
        QTest::addColumn<QByteArray>("kept");     // what the dated copy holds (none when empty)
        QTest::addColumn<int>("offered");         // the edition offered
        QTest::addColumn<QByteArray>("recorded"); // what the program remembers after
        const auto row = [](const char *name, const QByteArray &copy, const char *record, bool renameFails,
                            const QByteArray &after, const QByteArray &kept, int offered, const char *recorded) {
            QTest::newRow(name) << copy << QByteArray(record) << renameFails << after << kept << offered
                                << QByteArray(recorded);
        };
        const QByteArray second = "0:f8ad728381f78e213abfc20e3f12e28638a636ceb9876b6da9af6932d34b23ea";
        row("first start: the copy made and remembered", "", "", false, "3:new", "", 0, "3:new:0");
        row("unchanged older copy: replaced, the old one kept", "2:old", "2:old:0", false, "3:new", "2:old", 0,
            "3:new:0");
        row("changed older copy: untouched, the new edition offered", "2:mine", "2:old:0", false, "2:mine", "", 3,
            "2:old:0");
        row("changed copy, this edition refused before: not offered again", "2:mine", "2:old:3", false, "2:mine", "", 0,
            "2:old:3");
        row("changed copy of this edition: untouched", "3:mine", "3:new:0", false, "3:mine", "", 0, "3:new:0");
        row("copy made before copies were remembered, as shipped: replaced", second, "", false, "3:new", second, 0,
            "3:new:0");
        row("copy made before copies were remembered, changed: offered", "0:mine", "", false, "0:mine", "", 3, "");
        row("replacement refused: the copy as it was", "2:old", "2:old:0", true, "2:old", "", 0, "2:old:0");
    }
    void editions()
    {
        QFETCH(QByteArray, copy);
        QFETCH(QByteArray, record);
        QFETCH(bool, renameFails);
        QFETCH(QByteArray, kept);
        writeFile(in(m_shared), "3:new");
        if (!copy.isEmpty())
            writeFile(in(m_user), copy);
        std::optional<AppPaths::CopyRecord> memory;
        if (const QList<QByteArray> r = record.split(':'); r.size() == 3)
            memory = AppPaths::CopyRecord{{r[0].toInt(), r[1]}, r[2].toInt()};
        const AppPaths::CopyMemory remembered{[&] { return memory; }, [&](const auto &c) { memory = c; }};
        AppPaths::FileOperations ops = files(false, renameFails ? Step::Rename : Step::None);
        ops.edition = [](const QString &path) -> std::optional<int> {
            const QList<QByteArray> words = readFile(path).split(':');
            return words.size() == 2 ? std::optional<int>(words[0].toInt()) : std::nullopt;
        };
        ops.checksum = [](const QString &path) { return readFile(path).split(':').value(1); };
        const QDate today(2026, 12, 7);
        const QString dated = QDir::toNativeSeparators(m_user + u"/Signes-2026-12-07.mdb"_s);

        const AppPaths::KnowledgeBase kb = AppPaths::knowledgeBase(m_bin, m_user, ops, remembered, today);
        QCOMPARE(kb.database, in(m_user));
        QTEST(readFile(in(m_user)), "after");
        QCOMPARE(readFile(dated), kept);
        QCOMPARE(kb.previousCopy, kept.isEmpty() ? QString() : dated);
        QTEST(kb.newEdition, "offered");
        QCOMPARE(kb.editionFailure.step, renameFails ? Step::Rename : Step::None);
        QTEST(memory ? QByteArray::number(memory->madeFrom.edition) + ':' + memory->madeFrom.checksum + ':' +
                           QByteArray::number(memory->keptAgainst)
                     : QByteArray(),
              "recorded");
        QCOMPARE(QDir(m_user).entryList(QDir::Files | QDir::Hidden).size(), kept.isEmpty() ? 1 : 2);
        if (kb.newEdition == 0)
            return;

        // Refused, the edition is not offered again; taken, the user's base is kept dated.
        AppPaths::keepCopy(kb, remembered);
        QCOMPARE(AppPaths::knowledgeBase(m_bin, m_user, ops, remembered, today).newEdition, 0);
        writeFile(dated, "older");
        const AppPaths::KnowledgeBase again = AppPaths::knowledgeBase(m_bin, m_user, ops, {}, today);
        QCOMPARE(again.keptName, QDir::toNativeSeparators(m_user + u"/Signes-2026-12-07-2.mdb"_s));
        QVERIFY(!AppPaths::takeNewEdition(again, ops, remembered));
        QCOMPARE(readFile(in(m_user)), "3:new"_ba);
        QCOMPARE(readFile(again.keptName), copy);
        QCOMPARE(memory->madeFrom.checksum, "new"_ba);
    }

    void withoutAUserFolderTheBundledFileIsUsed()
    {
        writeFile(in(m_shared), "shared");
        const AppPaths::KnowledgeBase kb = AppPaths::knowledgeBase(m_bin, QString(), files(false, Step::None));
        QCOMPARE(kb.database, in(m_shared));
        QCOMPARE(kb.failure.step, Step::MakeFolder);
        QVERIFY(!QFileInfo::exists(in(QString())));
    }
};

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
