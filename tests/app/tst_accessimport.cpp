#include "AppSettings.h"
#include "Application.h"
#include "DataSource.h"
#include "DatabaseError.h"
#include "ImportCommand.h"
#include "ImportFiles.h"
#include "ImportHelper.h"
#include "ItemList.h"
#include "JetImport.h"
#include "JetWriter.h"
#include "KnowledgeBaseImport.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ProgressWindow.h"
#include "Ranking.h"
#include "Recordset.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;
using Answer = MessageBox::Answer;
using Kind = DatabaseError::Kind;
using Outcome = KnowledgeBaseImport::Outcome;

Q_DECLARE_METATYPE(std::optional<JetWriter::Damage>)
Q_DECLARE_METATYPE(KnowledgeBaseImport::Outcome)

namespace {

// An Access file of the bundled base; `cutBytes` off its end, or damage to its sign table,
// make it one the import refuses, `padRows` rows of an extra table one large enough for
// the progress window. Returns the bytes written.
QByteArray writeAccessBase(const QString &path, qint64 cutBytes = 0, int padRows = 0,
                           std::optional<JetWriter::Damage> damage = {})
{
    QList<JetWriter::Table> tables = JetWriter::tablesOf(TestSupport::bundledDatabase());
    if (padRows > 0) {
        tables.append({u"Consultations"_s, {{u"Notes"_s, JetWriter::Type::Text}}, {}});
        for (int i = 0; i < padRows; ++i)
            tables.last().rows.append({QString(200, QLatin1Char('a' + i % 26))});
    }
    JetWriter::Image image = JetWriter::write(JetWriter::Format::Jet3, tables);
    if (damage)
        JetWriter::damage(image, u"Modalités"_s, *damage);
    return TestSupport::readFile(TestSupport::writeFile(path, image.bytes.chopped(cutBytes)));
}

// The file operations, with one file that cannot be read (the machines that run the
// tests run as root, for whom every file can be).
struct Files : ImportFiles {
    QString unreadable;
    bool readStart(const QString &path, qint64 size, QByteArray &bytes, QString &error) override
    {
        if (path == unreadable)
            error = u"Permission denied"_s;
        return path != unreadable && ImportFiles::readStart(path, size, bytes, error);
    }
};

// The windows of the import as a log of what they were asked to do, in order.
struct Windows {
    QStringList log;
    bool answer = true, visitHasSigns = false;
    std::function<void()> whileAsking;
    std::optional<DatabaseError> error;

    KnowledgeBaseImport::Hooks hooks()
    {
        KnowledgeBaseImport::Hooks h;
        h.ask = [this](const KnowledgeBaseImport::Question &) {
            log << u"ask"_s;
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
        h.imported = [this](const JetImport::Summary &) { log << u"summary"_s; };
        h.refused = [this](const DatabaseError &e) {
            log << u"refused %1"_s.arg(int(e.kind()));
            error.emplace(e);
        };
        return h;
    }
};

} // namespace

// The import as the program offers it: at start-up when the knowledge base is an Access
// file, when a command meets one, and by the menu command; through the message-box seam.
// Then the import's own decisions, through a log of what it asks of the windows: the cases
// that the program meets more rarely. The files themselves are the data layer's tests.
class TestAccessImport : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base, m_helper;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<Application> m_app;
    const QString m_today = QDate::currentDate().toString(u"yyyy-MM-dd"_s);
    QStringList m_progress; // the titles of the progress windows shown

    QStringList basesBeside() const { return QDir(m_dir->path()).entryList({u"*.mdb"_s}, QDir::Files, QDir::Name); }

    MainWindow *start()
    {
        m_app = std::make_unique<Application>(*m_settings);
        m_app->start({m_base, m_dir->path(), m_base, {}, m_helper});
        return m_app->mainWindow();
    }

    // Every connection reads the file now at the knowledge base's name: the program ranks
    // and lists from it exactly as from the bundled base.
    static void readsTheBundledBase(MainWindow *w)
    {
        const QList<JetWriter::Table> tables = JetWriter::tablesOf(TestSupport::bundledDatabase());
        QList<ListEntry> signs; // twelve signs that weigh
        for (const QVariantList &weight : tables[4].rows.first(12))
            signs.append({u"signe"_s, weight[0].toInt()});
        DataSource bundled;
        bundled.setDatabaseName(TestSupport::bundledDatabase());
        const QList<ListEntry> expected = Ranking::classerSyndromes(bundled, signs, w->methods());
        QVERIFY(!expected.isEmpty());
        w->signes()->setEntries(signs);
        w->classerSyndromes();
        QCOMPARE(w->syndromes()->entries(), expected);
        w->listeValeurs().setRecordSource(u"SELECT COUNT(*) AS n FROM Modalités"_s);
        w->listeValeurs().refresh();
        QCOMPARE(w->listeValeurs().recordset()->field(u"n"_s).toInt(), tables[1].rows.size());
    }

    // The first use of a base not converted tells today's message, without asking.
    static void toldAtFirstUse(MainWindow *w)
    {
        w->signes()->setEntries({{u"signe"_s, 12}});
        w->classerSyndromes();
        const QList<MessageBox::Shown> boxes = MessageBox::takeShown();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].text.contains(u"doit d'abord être converti"_s), qPrintable(boxes[0].text));
    }

    // Sees, from inside the import's own event processing, which progress windows show.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (auto *p = qobject_cast<ProgressWindow *>(watched); p && event->type() == QEvent::Show)
            m_progress << p->findChild<QLabel *>(u"Titre"_s)->text();
        return false;
    }

private slots:
    void initTestCase()
    {
        MessageBox::setTesting(true);
        qApp->installEventFilter(this);
    }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(u"Signes.mdb"_s);
        m_helper = TestSupport::importHelper();
        m_settings = std::make_unique<AppSettings>(m_dir->filePath(u"tessavor.ini"_s));
        MessageBox::takeShown();
        // Only the offer at start-up is there in a build without the import.
        if (!JetImport::isAvailable() && !QByteArray(QTest::currentDataTag()).startsWith("start-up"))
            QSKIP("built without libmdb");
    }
    // A failed case leaves no window behind to be activated in the next.
    void cleanup()
    {
        QApplication::closeAllWindows();
        m_app.reset();
    }

    // The offer when the knowledge base is an Access file: found at start-up, or met by a
    // command when it was put there while the program ran. The ranking sends a query only
    // for a recorded sign, which the base met no longer knows: the visit is emptied. The
    // rebuild opens the base without one. A file that crashed the import helper is not
    // offered again at the next start.
    void offer_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<QString>("refused"); // why the file is refused: "" (it is not), "cut", "crash"
        QTest::newRow("start-up, OK") << u"start"_s << QString();
        QTest::newRow("start-up, refused file") << u"start"_s << u"cut"_s;
        QTest::newRow("start-up, the helper crashes") << u"start"_s << u"crash"_s;
        QTest::newRow("the ranking meets one") << u"ranking"_s << QString();
        QTest::newRow("Régénérer la base meets one") << u"rebuild"_s << QString();
    }
    void offer()
    {
        QFETCH(QString, when);
        QFETCH(QString, refused);
        const bool atStart = when == u"start"_s, offered = JetImport::isAvailable(), damaged = !refused.isEmpty();
        const QString kept = m_dir->filePath(u"Signes-access-%1.mdb"_s.arg(m_today));
        if (refused == u"crash"_s) {
            m_helper = TestSupport::writeFile(m_dir->filePath(u"crashing-helper"_s), "#!/bin/sh\nkill -SEGV $$\n");
            QVERIFY(QFile::setPermissions(m_helper, QFile::ReadOwner | QFile::ExeOwner));
        }
        QByteArray original = atStart ? writeAccessBase(m_base, refused == u"cut"_s ? 1024 : 0) : QByteArray();
        if (!atStart)
            QVERIFY(QFile::copy(TestSupport::bundledDatabase(), m_base));
        MainWindow *w = start();
        if (!atStart) {
            // Written beside, then put in place: another file, as a copy from a key would be.
            original = writeAccessBase(m_base + u".new"_s);
            QVERIFY(QFile::remove(m_base) && QFile::rename(m_base + u".new"_s, m_base));
            if (when == u"ranking"_s) {
                w->signes()->setEntries({{u"signe"_s, 12}});
                w->classerSyndromes();
            } else {
                w->actions().fileRegenerer->trigger();
            }
        }
        QList<MessageBox::Shown> boxes = MessageBox::takeShown();

        // A build without the import has no offer and no menu command.
        QCOMPARE(bool(w->actions().fileImporter), offered);
        QCOMPARE(boxes.size(), offered ? 2 : 0);
        if (offered) {
            QCOMPARE(std::pair(boxes[0].buttons, boxes[0].title),
                     std::pair(MessageBox::Buttons::OkCancel, u"Importation d'une base Access"_s));
            for (const QString &path : {m_base, kept})
                QVERIFY2(boxes[0].text.contains(QDir::toNativeSeparators(path)), qPrintable(boxes[0].text));
            QCOMPARE(boxes[0].text.contains(u"visite en cours sera vidée"_s), when == u"ranking"_s);
        }
        if (offered && !damaged) {
            QVERIFY2(boxes[1].text.contains(u"a été convertie"_s), qPrintable(boxes[1].text));
            QCOMPARE(basesBeside(), QStringList({QFileInfo(kept).fileName(), u"Signes.mdb"_s}));
            QCOMPARE(TestSupport::readFile(kept), original);
            QCOMPARE(w->signes()->count(), 0);
            readsTheBundledBase(w);
            QVERIFY(MessageBox::takeShown().isEmpty());
        } else {
            // Why, in French; either way the file stays as it was, and the first use of the
            // base tells today's message without asking again.
            if (damaged && offered)
                QVERIFY2(
                    boxes[1].text.contains(refused == u"cut"_s ? u"est incomplet"_s : u"est endommagé ou illisible"_s),
                    qPrintable(boxes[1].text));
            QCOMPARE(TestSupport::readFile(m_base), original);
            QCOMPARE(basesBeside(), QStringList({u"Signes.mdb"_s}));
            toldAtFirstUse(w);
        }
        if (refused == u"crash"_s && offered) {
            // The next start: no offer, the plain message at the first use of the base.
            cleanup();
            MessageBox::takeShown(); // the question before the visit is lost
            m_helper = TestSupport::importHelper();
            w = start();
            QCOMPARE(MessageBox::takeShown().size(), 0);
            toldAtFirstUse(w);
        }
    }

    // The menu command; the damaged files are the shapes that once crashed the program with
    // the visit in progress.
    void menuCommand_data()
    {
        QTest::addColumn<int>("padRows");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<std::optional<JetWriter::Damage>>("damage");
        QTest::addColumn<QString>("why"); // said when the file is refused
        const auto row = [](const char *name, int padRows, Answer answer, std::optional<JetWriter::Damage> damage = {},
                            const QString &why = {}) { QTest::newRow(name) << padRows << answer << damage << why; };
        const QString definition = u"la définition de la table « Modalités »"_s;
        row("OK", 0, Answer::Ok);
        row("OK, a large file", 6000, Answer::Ok);
        row("Annuler", 0, Answer::Cancel);
        row("0xFFFF columns", 0, Answer::Ok, JetWriter::Damage::ColumnCount, definition + u" ne peut pas être lue"_s);
        row("definition page zeroed", 0, Answer::Ok, JetWriter::Damage::ZeroedDefinition, definition);
        row("usage map flipped", 0, Answer::Ok, JetWriter::Damage::FlippedUsageMap,
            u"la liste des pages de la table « Modalités »"_s);
    }
    void menuCommand()
    {
        QFETCH(int, padRows);
        QFETCH(Answer, answer);
        QFETCH(std::optional<JetWriter::Damage>, damage);
        QFETCH(QString, why);
        // The base in use is not the bundled one: which file the program reads shows.
        const QTemporaryDir elsewhere;
        m_base = TestSupport::makeDatabase(*m_dir, u"ranking.sql"_s);
        const QByteArray former = TestSupport::readFile(m_base);
        const QString chosen = elsewhere.filePath(u"Cabinet.mdb"_s);
        const QByteArray chosenBytes = writeAccessBase(chosen, 0, padRows, damage);
        const QString kept = m_dir->filePath(u"Signes-%1.mdb"_s.arg(m_today));

        MainWindow *w = start();
        // Both bound data sources hold the file open: the ranking and a listing.
        w->signes()->setEntries({{u"Signe de poids neuf (9)"_s, 12}});
        w->classerSyndromes();
        QCOMPARE(w->syndromes()->count(), 3);
        w->listeValeurs().setRecordSource(u"SELECT COUNT(*) AS n FROM Modalités"_s);
        w->listeValeurs().refresh();

        m_app->importCommand()->setFileChooser([&](QWidget *) { return chosen; });
        MessageBox::setNextAnswer(answer);
        m_progress.clear();
        w->actions().fileImporter->trigger();
        const QList<MessageBox::Shown> boxes = MessageBox::takeShown();
        QCOMPARE(boxes.size(), answer == Answer::Cancel ? 1 : 2);
        QCOMPARE(boxes[0].buttons, MessageBox::Buttons::OkCancel);
        for (const QString &told : {QDir::toNativeSeparators(chosen), QDir::toNativeSeparators(m_base),
                                    QDir::toNativeSeparators(kept), u"visite en cours sera vidée"_s})
            QVERIFY2(boxes[0].text.contains(told), qPrintable(boxes[0].text));
        QCOMPARE(TestSupport::readFile(chosen), chosenBytes);
        QCOMPARE(m_progress, padRows > 0 ? QStringList{u"Conversion de la base Access en cours, un peu de patience"_s}
                                         : QStringList());
        if (answer == Answer::Ok && why.isEmpty()) {
            QVERIFY2(boxes[1].text.contains(u"remplace désormais"_s), qPrintable(boxes[1].text));
            QCOMPARE(w->signes()->count() + w->syndromes()->count(), 0);
            QCOMPARE(TestSupport::readFile(kept), former);
            readsTheBundledBase(w);
        } else {
            if (!why.isEmpty())
                for (const QString &told : {why, u"Aucun fichier n'a été modifié."_s})
                    QVERIFY2(boxes[1].text.contains(told), qPrintable(boxes[1].text));
            // No temporary file, nor its lock, left beside the base.
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).filter(u"import"_s), QStringList());
            // The former base still in use, and intact; the visit as it was.
            QCOMPARE(basesBeside(), QStringList({u"Signes.mdb"_s}));
            QCOMPARE(TestSupport::readFile(m_base), former);
            w->classerSyndromes();
            QCOMPARE(w->syndromes()->count(), 3);
        }
    }

    // The cases the program's own test does not meet: an Access file met elsewhere than at
    // the knowledge base's name, and what the menu command is given that it cannot import.
    // The order of the steps on an import that empties the visit.
    void decides_data()
    {
        QTest::addColumn<bool>("menu");     // the menu command, else the offer
        QTest::addColumn<QString>("other"); // the file chosen or met: "access", "sqlite",
                                            // "unreadable" (an Access file), or "" (the base itself)
        QTest::addColumn<bool>("signs");    // the visit holds signs
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("log");
        QTest::newRow("offer, OK, signs recorded")
            << false << u""_s << true << Outcome::Imported << u"ask,close,run,close,empty visit,summary"_s;
        QTest::newRow("an Access file that is not the base")
            << false << u"access"_s << false << Outcome::NotOffered << u""_s;
        QTest::newRow("menu, no Access file: refused unasked")
            << true << u"sqlite"_s << false << Outcome::Refused << u"refused %1"_s.arg(int(Kind::NotAccessFile));
        QTest::newRow("menu, a file that cannot be read: refused unasked")
            << true << u"unreadable"_s << false << Outcome::Refused << u"refused %1"_s.arg(int(Kind::CannotRead));
        QTest::newRow("menu, no file chosen") << true << u""_s << false << Outcome::NotOffered << u""_s;
    }

    void decides()
    {
        QFETCH(bool, menu);
        QFETCH(QString, other);
        QFETCH(bool, signs);
        QFETCH(Outcome, outcome);
        QTemporaryDir elsewhere;
        // The base is an Access file when the offer is asked about itself, else a SQLite one.
        if (menu || !other.isEmpty())
            TestSupport::makeDatabase(*m_dir, u"small.sql"_s);
        else
            writeAccessBase(m_base);
        QString otherPath;
        if (other == u"sqlite"_s)
            otherPath = TestSupport::makeDatabase(elsewhere, u"small.sql"_s, u"Cabinet.mdb"_s);
        else if (!other.isEmpty())
            writeAccessBase(otherPath = elsewhere.filePath(u"Cabinet.mdb"_s));
        Files files;
        files.unreadable = other == u"unreadable"_s ? otherPath : QString();
        const QByteArray original = TestSupport::readFile(m_base);

        Windows windows;
        windows.visitHasSigns = signs;
        KnowledgeBaseImport import(m_base, windows.hooks(), ImportHelper::converter(m_helper), files);
        QCOMPARE(menu ? import.replaceBy(otherPath) : import.offerConversion(other.isEmpty() ? m_base : otherPath),
                 outcome);
        QTEST(windows.log.join(u','), "log");
        if (outcome != Outcome::Imported)
            QCOMPARE(TestSupport::readFile(m_base), original);
    }

    // A failure of the import helper (run as a stand-in): whatever it left is removed, and
    // the files are as they were. A knowledge base whose reading crashed the helper, ran
    // past its time or got no answer is not offered again at the next start, which would
    // fail again, until the file changes; the menu command still tries it. A refusal, or a
    // helper that could not be started, is offered again.
    void helperFailures_data()
    {
        QTest::addColumn<QStringList>("program"); // the stand-in and its first arguments; empty: the helper
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("remembered");
        const auto shell = [](const char *script) { return QStringList{u"/bin/sh"_s, u"-c"_s, script, u"sh"_s}; };
        QTest::newRow("crash") << shell("printf 'progress 1 2\\n'; printf x > \"$2\"; kill -SEGV $$") << u"crash"_s
                               << QString() << true;
        QTest::newRow("past its time") << shell("printf x > \"$2\"; exec sleep 30") << u"time-out"_s << u"1"_s << true;
        QTest::newRow("no answer") << shell("printf x > \"$2\"; printf 'summary {'") << u"no answer"_s << QString()
                                   << true;
        QTest::newRow("not installed") << QStringList{u"/nonexistent/tessavor-import"_s} << u"start"_s
                                       << u"/nonexistent/tessavor-import"_s << false;
        QTest::newRow("file refused") << QStringList() << QString() << QString() << false; // a file cut short
    }
    void helperFailures()
    {
        QFETCH(QStringList, program);
        const Kind kind = program.isEmpty() ? Kind::Truncated : Kind::ReaderFailed;
        QFETCH(bool, remembered);
        const QByteArray original = writeAccessBase(m_base, program.isEmpty() ? 1024 : 0);
        const JetImport::Converter helper = ImportHelper::converter(m_helper);
        const auto shortTime = [](qint64) { return std::chrono::milliseconds(300); };
        const JetImport::Converter failing =
            program.isEmpty() ? helper : ImportHelper::converter({program.first(), program.mid(1), shortTime});
        Windows windows;
        QCOMPARE(KnowledgeBaseImport(m_base, windows.hooks(), failing, m_settings.get()).offerConversion(m_base),
                 Outcome::Refused);
        QCOMPARE(std::pair(windows.error->kind(), windows.error->path()), std::pair(kind, m_base));
        if (kind == Kind::ReaderFailed) {
            QTEST(windows.error->details().value(0).value, "how");
            QTEST(windows.error->details().value(0).expected, "expected");
        }
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).filter(u"Signes"_s),
                 QStringList{u"Signes.mdb"_s});
        QCOMPARE(TestSupport::readFile(m_base), original);

        // The next start.
        KnowledgeBaseImport next(m_base, windows.hooks(), helper, m_settings.get());
        QCOMPARE(next.offerConversion(m_base), remembered          ? Outcome::NotOffered
                                               : program.isEmpty() ? Outcome::Refused
                                                                   : Outcome::Imported);
        if (!remembered)
            return;
        QCOMPARE(windows.log.count(u"ask"_s), 1);
        QVERIFY(QFile::resize(m_base, QFileInfo(m_base).size() + 2048)); // another file now
        windows.answer = false;
        QCOMPARE(KnowledgeBaseImport(m_base, windows.hooks(), helper, m_settings.get()).offerConversion(m_base),
                 Outcome::Declined);
        windows.answer = true;
        QCOMPARE(next.replaceBy(m_base), Outcome::Imported);
    }

    // Asked once per file: after a refusal or Annuler, each use tells the plain message
    // until the file changes; and never again while the question is on screen.
    void asksOncePerFile()
    {
        writeAccessBase(m_base, 1024);
        Windows windows;
        KnowledgeBaseImport import(m_base, windows.hooks(), ImportHelper::converter(m_helper));
        std::optional<Outcome> nested;
        windows.whileAsking = [&] { nested = import.offerConversion(m_base); };

        QCOMPARE(import.offerConversion(m_base), Outcome::Refused);
        QCOMPARE(nested, Outcome::NotOffered);
        windows.whileAsking = {};
        QCOMPARE(import.offerConversion(m_base), Outcome::NotOffered);

        writeAccessBase(m_base); // mended: another file under the same name
        windows.answer = false;
        QCOMPARE(import.offerConversion(m_base), Outcome::Declined);
        QCOMPARE(import.offerConversion(m_base), Outcome::NotOffered);
        QCOMPARE(windows.log.count(u"ask"_s), 2);
        QCOMPARE(TestSupport::readFile(m_base).left(19), QByteArray("\0\1\0\0Standard Jet DB", 19));
    }
};

QTEST_MAIN(TestAccessImport)
#include "tst_accessimport.moc"
