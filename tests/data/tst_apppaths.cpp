#include "AppPaths.h"
#include "InstallLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Step = AppPaths::CopyFailure::Step;

// The knowledge-base rule on a made-up installation: <root>/prefix/bin is the program's
// folder, its shared data folder beside it, <root>/home/Tessavor the user's data folder.
// Each Signes.mdb holds a word that tells where it came from. Writability and failures go
// through the rule's file operations, never through permissions (root writes anywhere).
class TestAppPaths : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_bin, m_shared, m_user;
    int m_copies = 0;

    static void write(const QString &path, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    QString in(const QString &folder) const { return QDir::toNativeSeparators(folder + u"/Signes.mdb"_s); }
    QString folder(const QString &name) const
    {
        return name == u"bin"_s ? m_bin : name == u"shared"_s ? m_shared : m_user;
    }

    // The system's operations, with a writability answer and one step that fails.
    AppPaths::FileOperations files(bool binWritable, Step failing)
    {
        AppPaths::FileOperations files = AppPaths::FileOperations::system();
        const auto real = files;
        files.isWritableFolder = [this, binWritable](const QString &folder) {
            return folder == m_bin ? binWritable : true;
        };
        if (failing == Step::MakeFolder)
            files.makeFolder = [](const QString &) { return u"read-only file system"_s; };
        files.copy = [this, real, failing](const QString &from, const QString &to) {
            ++m_copies;
            if (failing != Step::Copy)
                return real.copy(from, to);
            // The disk fills up half-way through.
            QFile partial(to);
            if (partial.open(QIODevice::WriteOnly))
                partial.write(read(from).left(2));
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
        m_copies = 0;
    }

    void rule_data()
    {
        QTest::addColumn<bool>("ownBase");
        QTest::addColumn<bool>("binWritable");
        QTest::addColumn<bool>("sharedBase");
        QTest::addColumn<bool>("userCopy");
        QTest::addColumn<Step>("failing");
        QTest::addColumn<QString>("database");    // "bin", "shared" or "user"
        QTest::addColumn<QByteArray>("userFile"); // what the user's Signes.mdb holds after
        QTest::addColumn<QString>("pages");       // "bin" or "shared"
        QTest::addColumn<Step>("failure");
        QTest::addColumn<int>("copies");

        const Step none = Step::None;
        QTest::newRow("build tree or portable copy: used where it is")
            << true << true << true << false << none << "bin" << QByteArray("(none)") << "bin" << none << 0;
        QTest::newRow("read-only own folder: own file copied")
            << true << false << true << false << none << "user" << QByteArray("own") << "bin" << none << 1;
        QTest::newRow("installed: shared file copied") //
            << false << false << true << false << none << "user" << QByteArray("shared") << "shared" << none << 1;
        QTest::newRow("installed, program folder writable (root): shared file copied")
            << false << true << true << false << none << "user" << QByteArray("shared") << "shared" << none << 1;
        QTest::newRow("installed, copy made earlier: kept as it is")
            << false << false << true << true << none << "user" << QByteArray("edited") << "shared" << none << 0;
        QTest::newRow("read-only own folder, copy made earlier: kept as it is")
            << true << false << false << true << none << "user" << QByteArray("edited") << "bin" << none << 0;
        QTest::newRow("nothing bundled, copy made earlier: used")
            << false << false << false << true << none << "user" << QByteArray("edited") << "bin" << none << 0;
        QTest::newRow("folder cannot be made: shared file used, nothing left")
            << false << false << true << false << Step::MakeFolder << "shared" << QByteArray("(none)") << "shared"
            << Step::MakeFolder << 0;
        QTest::newRow("disk full during the copy: shared file used, nothing left")
            << false << false << true << false << Step::Copy << "shared" << QByteArray("(none)") << "shared"
            << Step::Copy << 1;
        QTest::newRow("rename refused: own file used, nothing left")
            << true << false << false << false << Step::Rename << "bin" << QByteArray("(none)") << "bin" << Step::Rename
            << 1;
    }

    void rule()
    {
        QFETCH(bool, ownBase);
        QFETCH(bool, binWritable);
        QFETCH(bool, sharedBase);
        QFETCH(bool, userCopy);
        QFETCH(Step, failing);
        QFETCH(QString, database);
        QFETCH(QByteArray, userFile);
        QFETCH(QString, pages);
        QFETCH(Step, failure);
        QFETCH(int, copies);

        if (ownBase)
            write(in(m_bin), "own");
        if (sharedBase)
            write(in(m_shared), "shared");
        if (userCopy)
            write(in(m_user), "edited");
        const AppPaths::KnowledgeBase kb = AppPaths::knowledgeBase(m_bin, m_user, files(binWritable, failing));
        QCOMPARE(kb.database, in(folder(database)));
        QCOMPARE(kb.pageFolder, QDir::toNativeSeparators(folder(pages)));
        QCOMPARE(kb.failure.step, failure);
        QCOMPARE(read(in(m_user)), userFile);
        QCOMPARE(m_copies, copies);
        if (failure != Step::None)
            QCOMPARE(kb.failure.target, in(m_user));
        // Whatever happened, nothing half-made stays in the user's folder.
        const QStringList left = QDir(m_user).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, userFile == "(none)" ? QStringList{} : QStringList{u"Signes.mdb"_s});

        // The next start finds the copy and leaves it alone.
        if (kb.database == in(m_user)) {
            write(in(m_user), "regenerated");
            const AppPaths::KnowledgeBase again =
                AppPaths::knowledgeBase(m_bin, m_user, files(binWritable, Step::None));
            QCOMPARE(again.database, kb.database);
            QCOMPARE(read(in(m_user)), QByteArray("regenerated"));
        }
    }

    void nothingBundledNamesTheProgramFolder()
    {
        const AppPaths::KnowledgeBase kb = AppPaths::knowledgeBase(m_bin, m_user, files(false, Step::None));
        QCOMPARE(kb.database, in(m_bin));
        QVERIFY(!kb.failure);
        QVERIFY(!QFileInfo::exists(m_user));
    }

    void withoutAUserFolderTheBundledFileIsUsed()
    {
        write(in(m_shared), "shared");
        const AppPaths::KnowledgeBase kb = AppPaths::knowledgeBase(m_bin, QString(), files(false, Step::None));
        QCOMPARE(kb.database, in(m_shared));
        QCOMPARE(kb.failure.step, Step::MakeFolder);
        QVERIFY(!QFileInfo::exists(in(QString())));
    }
};

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
