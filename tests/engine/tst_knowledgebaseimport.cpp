#include "AppSettings.h"
#include "DatabaseError.h"
#include "ImportFiles.h"
#include "ImportHelper.h"
#include "JetWriter.h"
#include "KnowledgeBaseImport.h"
#include "TestSupport.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using Outcome = KnowledgeBaseImport::Outcome;

Q_DECLARE_METATYPE(KnowledgeBaseImport::Outcome)
Q_DECLARE_METATYPE(DatabaseError::Kind)

namespace {

// An Access file of the bundled base; `cutBytes` off its end make it one the import refuses.
bool writeJet(const QString &path, qint64 cutBytes = 0)
{
    return JetWriter::writeFile(path, JetWriter::Format::Jet3, JetWriter::tablesOf(TestSupport::bundledDatabase())) &&
           (cutBytes == 0 || QFile::resize(path, QFileInfo(path).size() - cutBytes));
}

JetImport::Converter helper()
{
    return ImportHelper::converter(TestSupport::importHelper());
}

// The file operations, with one file that cannot be read (the machines that run the
// tests run as root, for whom every file can be).
struct Files : ImportFiles {
    QString unreadable;
    bool readStart(const QString &path, qint64 size, QByteArray &bytes, QString &error) override
    {
        if (path != unreadable)
            return ImportFiles::readStart(path, size, bytes, error);
        error = u"Permission denied"_s;
        return false;
    }
};

// The windows as a log of what they were asked to do, in order.
struct Windows {
    QStringList log;
    QList<KnowledgeBaseImport::Question> questions;
    bool answer = true;
    bool visitHasSigns = false;
    std::optional<JetImport::Summary> summary;
    std::function<void()> whileAsking;

    KnowledgeBaseImport::Hooks hooks()
    {
        KnowledgeBaseImport::Hooks h;
        h.ask = [this](const KnowledgeBaseImport::Question &q) {
            log << u"ask"_s;
            questions << q;
            if (whileAsking)
                whileAsking();
            return answer;
        };
        h.run = [this](bool showProgress, const KnowledgeBaseImport::Work &work) {
            log << (showProgress ? u"run with progress"_s : u"run"_s);
            work({});
        };
        h.closeConnections = [this] { log << u"close"_s; };
        h.visitHasSigns = [this] { return visitHasSigns; };
        h.emptyVisit = [this] { log << u"empty visit"_s; };
        h.imported = [this](const JetImport::Summary &s) {
            log << u"summary"_s;
            summary = s;
        };
        h.refused = [this](const DatabaseError &e) { log << u"refused %1"_s.arg(int(e.kind())); };
        return h;
    }
};

} // namespace

// What the import asks, in which order it lets go of the connections, empties the visit
// and tells; when it does not ask at all. The files themselves are the data layer's
// tests, the windows the program's.
class TestKnowledgeBaseImport : public QObject
{
    Q_OBJECT

    const QDate m_date{2026, 12, 7};

private slots:
    void init()
    {
        if (!KnowledgeBaseImport::isAvailable() && QLatin1String(QTest::currentTestFunction()) != "withoutLibmdb")
            QSKIP("built without libmdb");
    }

    void withoutLibmdb()
    {
        if (KnowledgeBaseImport::isAvailable())
            QSKIP("built with libmdb");
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Signes.mdb"_s);
        QVERIFY(writeJet(path));
        Windows windows;
        QCOMPARE(KnowledgeBaseImport(path, windows.hooks(), helper()).offerConversion(path), Outcome::NotOffered);
        QVERIFY(windows.log.isEmpty());
    }

    void decides_data()
    {
        QTest::addColumn<bool>("menu");     // the menu command, else the offer
        QTest::addColumn<QString>("base");  // Signes.mdb: "access", "damaged" or "sqlite"
        QTest::addColumn<QString>("other"); // the file chosen or met elsewhere: "access", "sqlite",
                                            // "unreadable" (an Access file) or ""
        QTest::addColumn<bool>("signs");    // the visit holds signs
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("log");

        const QString refused = u"ask,close,run,close,refused %1"_s.arg(int(DatabaseError::Kind::Truncated));
        QTest::newRow("offer, OK") << false << u"access"_s << u""_s << false << Outcome::Imported
                                   << u"ask,close,run,close,summary"_s;
        QTest::newRow("offer, OK, signs recorded") << false << u"access"_s << u""_s << true << Outcome::Imported
                                                   << u"ask,close,run,close,empty visit,summary"_s;
        QTest::newRow("offer, refused") << false << u"damaged"_s << u""_s << false << Outcome::Refused << refused;
        QTest::newRow("a SQLite base") << false << u"sqlite"_s << u""_s << false << Outcome::NotOffered << u""_s;
        QTest::newRow("an Access file that is not the base")
            << false << u"sqlite"_s << u"access"_s << false << Outcome::NotOffered << u""_s;
        QTest::newRow("menu, OK") << true << u"sqlite"_s << u"access"_s << false << Outcome::Imported
                                  << u"ask,close,run,close,empty visit,summary"_s;
        QTest::newRow("menu, no Access file: refused unasked")
            << true << u"sqlite"_s << u"sqlite"_s << false << Outcome::Refused
            << u"refused %1"_s.arg(int(DatabaseError::Kind::NotAccessFile));
        QTest::newRow("menu, a file that cannot be read: refused unasked")
            << true << u"sqlite"_s << u"unreadable"_s << false << Outcome::Refused
            << u"refused %1"_s.arg(int(DatabaseError::Kind::CannotRead));
        QTest::newRow("menu, no file chosen") << true << u"sqlite"_s << u""_s << false << Outcome::NotOffered << u""_s;
    }

    void decides()
    {
        QFETCH(bool, menu);
        QFETCH(QString, base);
        QFETCH(QString, other);
        QFETCH(bool, signs);
        QFETCH(Outcome, outcome);
        QFETCH(QString, log);

        QTemporaryDir dir, elsewhere;
        const QString path = dir.filePath(u"Signes.mdb"_s);
        if (base == u"sqlite"_s)
            TestSupport::makeDatabase(dir, u"small.sql"_s);
        else
            QVERIFY(writeJet(path, base == u"damaged"_s ? 1024 : 0));
        QString otherPath;
        if (other == u"sqlite"_s)
            otherPath = TestSupport::makeDatabase(elsewhere, u"small.sql"_s, u"Cabinet.mdb"_s);
        else if (other == u"access"_s || other == u"unreadable"_s)
            QVERIFY(writeJet(otherPath = elsewhere.filePath(u"Cabinet.mdb"_s)));
        Files files;
        if (other == u"unreadable"_s)
            files.unreadable = otherPath;
        // The date's name is taken: what the question tells and what the work does agree.
        TestSupport::writeFile(dir.filePath(menu ? u"Signes-2026-12-07.mdb"_s : u"Signes-access-2026-12-07.mdb"_s),
                               "taken");
        const QByteArray original = TestSupport::readFile(path);

        Windows windows;
        windows.visitHasSigns = signs;
        KnowledgeBaseImport import(path, windows.hooks(), helper(), files);
        import.setDate(m_date);
        QCOMPARE(menu ? import.replaceBy(otherPath) : import.offerConversion(other.isEmpty() ? path : otherPath),
                 outcome);
        QCOMPARE(windows.log.join(u','), log);

        if (!windows.questions.isEmpty()) {
            const KnowledgeBaseImport::Question &q = windows.questions.first();
            QCOMPARE(q.inPlace(), !menu);
            QCOMPARE(q.source, menu ? otherPath : path);
            QCOMPARE(q.knowledgeBase, path);
            QCOMPARE(q.keptCopy,
                     dir.filePath(menu ? u"Signes-2026-12-07-2.mdb"_s : u"Signes-access-2026-12-07-2.mdb"_s));
            QCOMPARE(q.emptiesVisit, menu || signs);
        }
        if (outcome == Outcome::Imported) {
            QCOMPARE(windows.summary->keptCopy, windows.questions.first().keptCopy);
            QCOMPARE(TestSupport::readFile(windows.summary->keptCopy), original);
        } else {
            QCOMPARE(TestSupport::readFile(path), original);
        }
    }

    // A knowledge base whose reading crashed the helper or ran past its time is not offered
    // again at the next start, which would crash it again, until the file changes; the menu
    // command still tries it. A refusal, or a helper that could not be started, is offered
    // again.
    void helperFailureRemembered_data()
    {
        QTest::addColumn<DatabaseError::Kind>("kind");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("remembered");
        QTest::newRow("crash") << DatabaseError::Kind::ReaderFailed << u"crash"_s << true;
        QTest::newRow("past its time") << DatabaseError::Kind::ReaderFailed << u"time-out"_s << true;
        QTest::newRow("helper not installed") << DatabaseError::Kind::ReaderFailed << u"start"_s << false;
        QTest::newRow("file refused") << DatabaseError::Kind::Truncated << QString() << false;
    }
    void helperFailureRemembered()
    {
        QFETCH(DatabaseError::Kind, kind);
        QFETCH(QString, how);
        QFETCH(bool, remembered);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Signes.mdb"_s);
        QVERIFY(writeJet(path));
        AppSettings settings(dir.filePath(u"tessavor.ini"_s));
        Windows windows;
        const JetImport::Converter failing = [&](const QString &jet, const QString &, const JetImport::Progress &) {
            throw DatabaseError(kind, jet, u"failed"_s, {{{}, {}, how, {}, {}}});
            return JetImport::Summary();
        };
        QCOMPARE(KnowledgeBaseImport(path, windows.hooks(), failing, &settings).offerConversion(path),
                 Outcome::Refused);

        // The next start.
        KnowledgeBaseImport next(path, windows.hooks(), helper(), &settings);
        if (!remembered) {
            QCOMPARE(next.offerConversion(path), Outcome::Imported);
            return;
        }
        QCOMPARE(next.offerConversion(path), Outcome::NotOffered);
        QCOMPARE(windows.log.count(u"ask"_s), 1);
        QVERIFY(QFile::resize(path, QFileInfo(path).size() + 2048)); // another file now
        windows.answer = false;
        QCOMPARE(KnowledgeBaseImport(path, windows.hooks(), helper(), &settings).offerConversion(path),
                 Outcome::Declined);
        windows.answer = true;
        QCOMPARE(next.replaceBy(path), Outcome::Imported);
    }

    // Asked once per file: after a refusal or Annuler, each use tells the plain message
    // until the file changes; and never again while the question is on screen.
    void asksOncePerFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Signes.mdb"_s);
        QVERIFY(writeJet(path, 1024));
        Windows windows;
        KnowledgeBaseImport import(path, windows.hooks(), helper());
        std::optional<Outcome> nested;
        windows.whileAsking = [&] { nested = import.offerConversion(path); };

        QCOMPARE(import.offerConversion(path), Outcome::Refused);
        QCOMPARE(nested, Outcome::NotOffered);
        windows.whileAsking = {};
        QCOMPARE(import.offerConversion(path), Outcome::NotOffered);

        QVERIFY(writeJet(path)); // mended: another file under the same name
        windows.answer = false;
        QCOMPARE(import.offerConversion(path), Outcome::Declined);
        QCOMPARE(import.offerConversion(path), Outcome::NotOffered);
        QCOMPARE(windows.log.count(u"ask"_s), 2);
        QCOMPARE(TestSupport::readFile(path).left(19), QByteArray("\0\1\0\0Standard Jet DB", 19));
    }
};

QTEST_GUILESS_MAIN(TestKnowledgeBaseImport)
#include "tst_knowledgebaseimport.moc"
