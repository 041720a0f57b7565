#include "AppPaths.h"
#include "DataSource.h"
#include "Database.h"
#include "ImportFiles.h"
#include "ImportHelper.h"
#include "JetImport.h"
#include "JetWriter.h"
#include "ModalityChoice.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

// The knowledge-base rule against a real installed tree (TESSAVOR_INSTALLED_PREFIX, made by
// the install/tree test), for a user with a fresh home: the first start copies the
// installed Signes.mdb into the user's data folder, the program works on that copy, and
// the installed file is never written. The installed program finds its installed import
// helper, which converts an Access file from there.
class TestInstalledBase : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_prefix = qEnvironmentVariable("TESSAVOR_INSTALLED_PREFIX");

    static QByteArray contentOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    AppPaths::KnowledgeBase knowledgeBase() const
    {
        return AppPaths::knowledgeBase(m_prefix + u"/" TESSAVOR_INSTALL_BINDIR ""_s,
                                       QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(m_prefix + u"/" TESSAVOR_INSTALL_BINDIR "/tessavor"_s).isExecutable(),
                 "no installed program under TESSAVOR_INSTALLED_PREFIX");
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(u".local/share"_s)));
        QCoreApplication::setApplicationName(u"Tessavor"_s);
    }

    void perUserCopyIsMadeAndUsed()
    {
        const QString shared = QDir::toNativeSeparators(m_prefix + u"/" TESSAVOR_INSTALL_DATADIR ""_s);
        const QString perUser = QDir::toNativeSeparators(m_home.filePath(u".local/share/Tessavor/Signes.mdb"_s));
        const QByteArray installed = contentOf(shared + u"/Signes.mdb"_s);
        QVERIFY(!installed.isEmpty());

        const AppPaths::KnowledgeBase kb = knowledgeBase();
        QVERIFY(!kb.failure);
        QCOMPARE(std::pair(kb.database, kb.pageFolder), std::pair(perUser, shared));
        QCOMPARE(contentOf(perUser), installed);

        // The dialog's listing of "Langue" (category 18) comes from the copy.
        DataSource listeValeurs;
        listeValeurs.setDatabaseName(kb.database);
        ModalityChoice langue = ModalityChoice::forCategory(18);
        langue.load(listeValeurs);
        QVERIFY(langue.entries().size() > 10);

        // The copy is the user's to change; the installed file stays as it was, and the next
        // start keeps the changed copy.
        Database::open(kb.database)->execute(u"DELETE FROM Valorisation"_s);
        const QByteArray changed = contentOf(perUser);
        QVERIFY(changed != installed);
        QCOMPARE(knowledgeBase().database, perUser);
        QCOMPARE(contentOf(perUser), changed);
        QCOMPARE(contentOf(shared + u"/Signes.mdb"_s), installed);
    }

    // A copy made from an older edition and unchanged since is replaced by the installed
    // edition; changed, it is left alone and the new edition offered.
    void olderEditionsGiveWay()
    {
        const QString perUser = knowledgeBase().database;
        Database::open(perUser)->executeNative(u"PRAGMA user_version = 2"_s);
        const AppPaths::FileOperations system = AppPaths::FileOperations::system();
        const AppPaths::Stamp older{system.edition(perUser).value_or(0), system.checksum(perUser)};
        QVERIFY(older.edition == 2 && older.checksum.size() == 64);
        std::optional<AppPaths::CopyRecord> memory = AppPaths::CopyRecord{older, 0};
        const AppPaths::CopyMemory remembered{[&] { return memory; },
                                              [&](const AppPaths::CopyRecord &r) { memory = r; }};
        const QString bin = m_prefix + u"/" TESSAVOR_INSTALL_BINDIR ""_s, user = QFileInfo(perUser).path();

        const AppPaths::KnowledgeBase replaced =
            AppPaths::knowledgeBase(bin, user, AppPaths::FileOperations::system(), remembered);
        QVERIFY(!replaced.previousCopy.isEmpty() && !replaced.editionFailure);
        QCOMPARE(contentOf(perUser), contentOf(m_prefix + u"/" TESSAVOR_INSTALL_DATADIR "/Signes.mdb"_s));
        QCOMPARE(memory->madeFrom.edition, 3);

        Database::open(perUser)->executeNative(u"PRAGMA user_version = 2; DELETE FROM \"Modalité-Syndrome\" WHERE "
                                               "rowid = 1"_s);
        memory = AppPaths::CopyRecord{older, 0};
        const QByteArray changed = contentOf(perUser);
        QCOMPARE(AppPaths::knowledgeBase(bin, user, AppPaths::FileOperations::system(), remembered).newEdition, 3);
        QCOMPARE(contentOf(perUser), changed);
    }

    void importHelperIsFoundAndRuns()
    {
        const QString helper = knowledgeBase().importHelper;
        QCOMPARE(helper, QDir::toNativeSeparators(m_prefix + u"/" TESSAVOR_INSTALL_HELPERDIR "/tessavor-import"_s));
        QVERIFY(QFileInfo(helper).isExecutable());
        if (!JetImport::isAvailable())
            QSKIP("built without libmdb");
        const QString installed = m_prefix + u"/" TESSAVOR_INSTALL_DATADIR "/Signes.mdb"_s;
        const QString jet = m_home.filePath(u"Cabinet/Signes.mdb"_s);
        QVERIFY(QDir().mkpath(QFileInfo(jet).path()));
        QVERIFY(JetWriter::writeFile(jet, JetWriter::Format::Jet4, JetWriter::tablesOf(installed)));
        const auto summary = JetImport(ImportFiles::system(), ImportHelper::converter(helper)).convertInPlace(jet);
        QCOMPARE(summary.modalities, JetWriter::tablesOf(installed).at(1).rows.size());
        QCOMPARE(JetWriter::tablesOf(jet).at(1).rows, JetWriter::tablesOf(installed).at(1).rows);
    }
};

QTEST_GUILESS_MAIN(TestInstalledBase)
#include "tst_installedbase.moc"
