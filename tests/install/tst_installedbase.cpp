#include "AppPaths.h"
#include "DataSource.h"
#include "Database.h"
#include "ImportFiles.h"
#include "ImportHelper.h"
#include "JetImport.h"
#include "JetWriter.h"
#include "ModalityChoice.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using TestSupport::readFile;

// The knowledge-base rule against a real installed tree (TESSAVOR_INSTALLED_PREFIX, made by
// the install/tree test), for a user with a fresh home; the rule's cases are the data
// layer's test. What needs the tree: the installed paths, the editions read from the real
// files, the installed file never written, and the installed import helper.
class TestInstalledBase : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    const QString m_prefix = qEnvironmentVariable("TESSAVOR_INSTALLED_PREFIX");
    const QString m_bin = m_prefix + u"/" TESSAVOR_INSTALL_BINDIR ""_s;
    const QString m_installed = m_prefix + u"/" TESSAVOR_INSTALL_DATADIR "/Signes.mdb"_s;

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(m_bin + u"/tessavor"_s).isExecutable(),
                 "no installed program under TESSAVOR_INSTALLED_PREFIX");
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(u".local/share"_s)));
        QCoreApplication::setApplicationName(u"Tessavor"_s);
    }

    // The first start copies the installed base into the user's data folder and reads the
    // copy; an unchanged copy of an older edition gives way to the installed one, a changed
    // one is kept and the new edition offered.
    void perUserCopyIsMadeAndUsed()
    {
        const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        const QString perUser = QDir::toNativeSeparators(user + u"/Signes.mdb"_s);
        const QByteArray installed = readFile(m_installed);
        QVERIFY(!installed.isEmpty());
        std::optional<AppPaths::CopyRecord> memory;
        const AppPaths::CopyMemory remembered{[&] { return memory; }, [&](const auto &r) { memory = r; }};
        const auto start = [&] {
            return AppPaths::knowledgeBase(m_bin, user, AppPaths::FileOperations::system(), remembered);
        };
        const AppPaths::KnowledgeBase kb = start();
        QVERIFY(!kb.failure);
        QCOMPARE(std::pair(kb.database, kb.pageFolder),
                 std::pair(perUser, QDir::toNativeSeparators(QFileInfo(m_installed).path())));
        QCOMPARE(readFile(perUser), installed);
        DataSource listeValeurs; // the dialog's listing of "Langue" comes from the copy
        listeValeurs.setDatabaseName(kb.database);
        ModalityChoice langue = ModalityChoice::forCategory(18);
        langue.load(listeValeurs);
        QVERIFY(langue.entries().size() > 10);

        const auto makeOlder = [&](const QString &change) {
            Database::open(perUser)->executeNative(u"PRAGMA user_version = 2;"_s + change);
            const AppPaths::FileOperations system = AppPaths::FileOperations::system();
            memory = AppPaths::CopyRecord{{system.edition(perUser).value_or(0), system.checksum(perUser)}, 0};
            QVERIFY(memory->madeFrom.edition == 2 && memory->madeFrom.checksum.size() == 64);
        };
        makeOlder({});
        const AppPaths::KnowledgeBase replaced = start();
        QVERIFY(!replaced.previousCopy.isEmpty() && !replaced.editionFailure);
        QCOMPARE(readFile(perUser), installed);
        QCOMPARE(memory->madeFrom.edition, 3);

        makeOlder({});
        Database::open(perUser)->executeNative(u"DELETE FROM \"Modalité-Syndrome\" WHERE rowid = 1"_s);
        const QByteArray changed = readFile(perUser);
        QCOMPARE(start().newEdition, 3);
        QCOMPARE(readFile(perUser), changed);
        QCOMPARE(readFile(m_installed), installed);
    }

    void importHelperIsFoundAndRuns()
    {
        const QString helper = AppPaths::knowledgeBase(m_bin, m_home.filePath(u"data"_s)).importHelper;
        QCOMPARE(helper, QDir::toNativeSeparators(m_prefix + u"/" TESSAVOR_INSTALL_HELPERDIR "/tessavor-import"_s));
        QVERIFY(QFileInfo(helper).isExecutable());
        if (!JetImport::isAvailable())
            QSKIP("built without libmdb");
        const QString jet = TestSupport::writeFile(m_home.filePath(u"Cabinet/Signes.mdb"_s), {});
        QVERIFY(JetWriter::writeFile(jet, JetWriter::Format::Jet4, JetWriter::tablesOf(m_installed)));
        const auto summary = JetImport(ImportFiles::system(), ImportHelper::converter(helper)).convertInPlace(jet);
        QCOMPARE(summary.modalities, JetWriter::tablesOf(m_installed).at(1).rows.size());
        QCOMPARE(JetWriter::tablesOf(jet).at(1).rows, JetWriter::tablesOf(m_installed).at(1).rows);
    }
};

QTEST_GUILESS_MAIN(TestInstalledBase)
#include "tst_installedbase.moc"
