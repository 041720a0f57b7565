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
            files.makeFolder = [](const QString &) { return u"read-only file system"_s; };
        if (failing == Step::Copy) // the disk fills up half-way through
            files.copy = [](const QString &from, const QString &to) {
                writeFile(to, readFile(from).left(2));
                return u"no space left on device"_s;
            };
        if (failing == Step::Rename)
            files.rename = [](const QString &, const QString &) { return u"operation not permitted"_s; };
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

        const Step none = Step::None;
        QTest::newRow("build tree or portable copy: used where it is")
            << "own writable shared" << none << "bin" << QByteArray() << "bin";
        QTest::newRow("read-only own folder: own file copied") << "own shared" << none << "user"
                                                               << "own"_ba
                                                               << "bin";
        QTest::newRow("installed: shared file copied") << "shared" << none << "user"
                                                       << "shared"_ba
                                                       << "shared";
        QTest::newRow("installed, program folder writable (root): shared file copied")
            << "writable shared" << none << "user"
            << "shared"_ba
            << "shared";
        QTest::newRow("installed, copy made earlier: kept as it is") << "shared copy" << none << "user"
                                                                     << "edited"_ba
                                                                     << "shared";
        QTest::newRow("read-only own folder, copy made earlier: kept as it is") << "own copy" << none << "user"
                                                                                << "edited"_ba
                                                                                << "bin";
        QTest::newRow("nothing bundled, copy made earlier: used") << "copy" << none << "user"
                                                                  << "edited"_ba
                                                                  << "bin";
        QTest::newRow("nothing anywhere: the program folder's named") << "" << none << "bin" << QByteArray() << "bin";
        QTest::newRow("folder cannot be made: shared file used, nothing left")
            << "shared" << Step::MakeFolder << "shared" << QByteArray() << "shared";
        QTest::newRow("disk full during the copy: shared file used, nothing left")
            << "shared" << Step::Copy << "shared" << QByteArray() << "shared";
        QTest::newRow("rename refused: own file used, nothing left")
            << "own" << Step::Rename << "bin" << QByteArray() << "bin";
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
        const bool writable = present.contains(u"writable"_s);
        const AppPaths::KnowledgeBase kb = AppPaths::knowledgeBase(m_bin, m_user, files(writable, failing));
        QCOMPARE(kb.database, in(folder(database)));
        QCOMPARE(kb.pageFolder, QDir::toNativeSeparators(folder(pages)));
        QCOMPARE(kb.failure.step, failing);
        const QString installedHelper = QDir::cleanPath(m_bin + u'/' + QLatin1String(InstallLayout::HelperFromBin) +
                                                        u'/' + ImportHelper::fileName());
        QCOMPARE(kb.importHelper, QDir::toNativeSeparators(present.contains(u"own"_s) ? ownHelper : installedHelper));
        if (kb.failure)
            QCOMPARE(kb.failure.target, in(m_user));
        QCOMPARE(readFile(in(m_user)), userFile);
        // Whatever happened, nothing half-made stays in the user's folder.
        QCOMPARE(QDir(m_user).entryList(QDir::Files | QDir::Hidden),
                 userFile.isEmpty() ? QStringList() : QStringList{u"Signes.mdb"_s});

        // The next start finds the copy and leaves it alone.
        if (kb.database == in(m_user)) {
            writeFile(in(m_user), "regenerated");
            QCOMPARE(AppPaths::knowledgeBase(m_bin, m_user, files(writable, Step::None)).database, kb.database);
            QCOMPARE(readFile(in(m_user)), "regenerated"_ba);
        }
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
