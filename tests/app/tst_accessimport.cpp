#include "AppSettings.h"
#include "Application.h"
#include "DataSource.h"
#include "Database.h"
#include "ImportCommand.h"
#include "ItemList.h"
#include "JetImport.h"
#include "JetWriter.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ProgressWindow.h"
#include "Ranking.h"
#include "Recordset.h"
#include "Shared.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using Answer = MessageBox::Answer;

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// An Access file of the bundled base; `cutBytes` off its end makes it one the import refuses,
// `padRows` rows of an extra table make it large enough for the progress window.
void writeAccessBase(const QString &path, qint64 cutBytes = 0, int padRows = 0)
{
    QList<JetWriter::Table> tables = JetWriter::tablesOf(TestSupport::bundledDatabase());
    if (padRows > 0) {
        JetWriter::Table notes{u"Consultations"_s, {{u"Notes"_s, JetWriter::Type::Text}}, {}};
        for (int i = 0; i < padRows; ++i)
            notes.rows.append({QString(200, QLatin1Char('a' + i % 26))});
        tables.append(notes);
    }
    QVERIFY(JetWriter::writeFile(path, JetWriter::Format::Jet3, tables));
    if (cutBytes > 0)
        QVERIFY(QFile::resize(path, QFileInfo(path).size() - cutBytes));
}

// Some signs of the bundled base, and the syndromes the bundled base ranks for them.
struct Ranked {
    QList<ListEntry> signs;
    QList<ListEntry> syndromes;
};

Ranked bundledRanking()
{
    Ranked r;
    auto rs = Database::open(TestSupport::bundledDatabase())
                  ->openNative(u"SELECT \"NumModalité\" FROM \"Valorisation\" ORDER BY 1 LIMIT 12"_s);
    for (; !rs->isEof(); rs->moveNext())
        r.signs.append({u"signe"_s, qint32(rs->field(u"NumModalité"_s).toInt())});
    DataSource classement;
    classement.setDatabaseName(TestSupport::bundledDatabase());
    r.syndromes = Ranking::classerSyndromes(classement, r.signs, Shared::methodeActive);
    return r;
}

// Watches, from inside the import's own event processing, which progress windows show.
class ProgressWatch : public QObject
{
public:
    QStringList seen;
    ProgressWatch()
    {
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *p = qobject_cast<ProgressWindow *>(top); p && p->isVisible())
                    if (const QString text = p->findChild<QLabel *>(u"Titre"_s)->text(); !seen.contains(text))
                        seen << text;
        });
        timer->start(0);
    }
};

} // namespace

// The import as the program offers it: at start-up when the knowledge base is an Access
// file, when a command meets one, and by the menu command; through the message-box seam.
class TestAccessImport : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    const QString m_today = QDate::currentDate().toString(u"yyyy-MM-dd"_s);

    AppPaths::KnowledgeBase knowledgeBase() const { return {m_base, m_dir->path(), m_base, {}}; }
    QString settingsFile() const { return m_dir->filePath(u"tessavor.ini"_s); }

    static QList<MessageBox::Shown> shown() { return MessageBox::takeShown(); }

    // The program ranks from the file now at the knowledge base's name exactly as the
    // bundled base does, and its listing reads that file too.
    void readsTheBundledBase(MainWindow *w)
    {
        const Ranked expected = bundledRanking();
        QVERIFY(!expected.syndromes.isEmpty());
        w->signes()->setEntries(expected.signs);
        w->classerSyndromes();
        QCOMPARE(w->syndromes()->entries(), expected.syndromes);
        w->listeValeurs().setRecordSource(u"SELECT COUNT(*) AS n FROM Modalités"_s);
        w->listeValeurs().refresh();
        const auto bundled = Database::open(TestSupport::bundledDatabase())
                                 ->openNative(u"SELECT COUNT(*) AS n FROM \"Modalités\""_s)
                                 ->field(u"n"_s);
        QCOMPARE(w->listeValeurs().recordset()->field(u"n"_s), bundled);
    }

private slots:
    void initTestCase() { MessageBox::setTesting(true); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(u"Signes.mdb"_s);
        shown();
        Shared::methodeActive = {0, 1, 1, 1, 1, 1};
    }

    // A failed case leaves no window behind to be activated in the next.
    void cleanup() { QApplication::closeAllWindows(); }

    void startUpOffer_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("OK") << false << Answer::Ok;
        QTest::newRow("Annuler") << false << Answer::Cancel;
        QTest::newRow("refused file") << true << Answer::Ok;
    }

    void startUpOffer()
    {
        QFETCH(bool, damaged);
        QFETCH(Answer, answer);
        if (!JetImport::isAvailable())
            QSKIP("built without libmdb");
        writeAccessBase(m_base, damaged ? 1024 : 0);
        const QByteArray original = contentOf(m_base);
        const QString kept = m_dir->filePath(u"Signes-access-%1.mdb"_s.arg(m_today));

        AppSettings s(settingsFile());
        Application app(s);
        MessageBox::setNextAnswer(answer);
        app.start(knowledgeBase());
        MainWindow *w = app.mainWindow();
        QList<MessageBox::Shown> boxes = shown();

        QVERIFY(!boxes.isEmpty());
        QCOMPARE(boxes[0].buttons, MessageBox::Buttons::OkCancel);
        QCOMPARE(boxes[0].title, u"Importation d'une base Access"_s);
        QVERIFY2(boxes[0].text.contains(QDir::toNativeSeparators(m_base)), qPrintable(boxes[0].text));
        QVERIFY2(boxes[0].text.contains(QDir::toNativeSeparators(kept)), qPrintable(boxes[0].text));
        if (answer == Answer::Ok && !damaged) {
            QCOMPARE(boxes.size(), 2);
            QVERIFY2(boxes[1].text.contains(u"a été convertie"_s), qPrintable(boxes[1].text));
            QCOMPARE(filesIn(m_dir->path()).filter(u".mdb"_s),
                     QStringList({QFileInfo(kept).fileName(), u"Signes.mdb"_s}));
            QCOMPARE(contentOf(kept), original);
            readsTheBundledBase(w);
            QVERIFY(shown().isEmpty());
        } else {
            // Refused: why, in French; either way the file stays as it was, and the first
            // use of the base tells today's message without asking again.
            QCOMPARE(boxes.size(), damaged ? 2 : 1);
            if (damaged)
                QVERIFY2(boxes[1].text.contains(u"est incomplet"_s), qPrintable(boxes[1].text));
            QCOMPARE(contentOf(m_base), original);
            QCOMPARE(filesIn(m_dir->path()).filter(u".mdb"_s), QStringList({u"Signes.mdb"_s}));
            w->signes()->setEntries({{u"signe"_s, 12}});
            w->classerSyndromes();
            boxes = shown();
            QCOMPARE(boxes.size(), 1);
            QVERIFY2(boxes[0].text.contains(u"doit d'abord être converti"_s), qPrintable(boxes[0].text));
        }
        w->close();
    }

    // A command that opens the base meets an Access file put there while the program ran.
    void offerWhenACommandFindsAnAccessFile_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("ranking") << u"ranking"_s;
        QTest::newRow("Régénérer la base") << u"mnuFileRégénérer"_s;
    }

    void offerWhenACommandFindsAnAccessFile()
    {
        QFETCH(QString, command);
        if (!JetImport::isAvailable())
            QSKIP("built without libmdb");
        QVERIFY(QFile::copy(TestSupport::bundledDatabase(), m_base));
        AppSettings s(settingsFile());
        Application app(s);
        app.start(knowledgeBase());
        MainWindow *w = app.mainWindow();
        QVERIFY(shown().isEmpty());

        QVERIFY(QFile::remove(m_base));
        writeAccessBase(m_base);
        // The ranking sends a query only for a recorded sign, which the base met no
        // longer knows: the visit is emptied. The rebuild opens the base without one.
        const bool ranking = command == u"ranking"_s;
        if (ranking) {
            w->signes()->setEntries({{u"signe"_s, 12}});
            w->classerSyndromes();
        } else {
            w->menuAction(command)->trigger();
        }
        const QList<MessageBox::Shown> boxes = shown();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0].buttons, MessageBox::Buttons::OkCancel);
        QCOMPARE(boxes[0].text.contains(u"visite en cours sera vidée"_s), ranking);
        QVERIFY2(boxes[1].text.contains(u"a été convertie"_s), qPrintable(boxes[1].text));
        QCOMPARE(w->signes()->count(), 0);
        readsTheBundledBase(w);
        w->close();
    }

    void withoutImportAnAccessBaseIsToldAsBefore()
    {
        if (JetImport::isAvailable())
            QSKIP("built with libmdb");
        writeAccessBase(m_base);
        AppSettings s(settingsFile());
        Application app(s);
        app.start(knowledgeBase());
        QVERIFY(shown().isEmpty());
        QVERIFY(!app.mainWindow()->menuAction(u"mnuFileImporter"_s));
        app.mainWindow()->signes()->setEntries({{u"signe"_s, 12}});
        app.mainWindow()->classerSyndromes();
        const QList<MessageBox::Shown> boxes = shown();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].text.contains(u"doit d'abord être converti"_s), qPrintable(boxes[0].text));
        app.mainWindow()->close();
    }

    void menuCommand_data()
    {
        QTest::addColumn<qint64>("cutBytes");
        QTest::addColumn<int>("padRows");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("OK") << qint64(0) << 0 << Answer::Ok;
        QTest::newRow("OK, a large file") << qint64(0) << 6000 << Answer::Ok;
        QTest::newRow("Annuler") << qint64(0) << 0 << Answer::Cancel;
        QTest::newRow("refused file") << qint64(1024) << 0 << Answer::Ok;
    }

    void menuCommand()
    {
        QFETCH(qint64, cutBytes);
        QFETCH(int, padRows);
        QFETCH(Answer, answer);
        if (!JetImport::isAvailable())
            QSKIP("built without libmdb");
        // The base in use is not the bundled one: which file the program reads shows.
        const QTemporaryDir elsewhere;
        m_base = TestSupport::makeDatabase(*m_dir, u"ranking.sql"_s);
        const QByteArray former = contentOf(m_base);
        const QString chosen = elsewhere.filePath(u"Cabinet.mdb"_s);
        writeAccessBase(chosen, cutBytes, padRows);
        const QByteArray chosenBytes = contentOf(chosen);
        const QString kept = m_dir->filePath(u"Signes-%1.mdb"_s.arg(m_today));

        AppSettings s(settingsFile());
        Application app(s);
        app.start(knowledgeBase());
        MainWindow *w = app.mainWindow();
        // Both bound data sources hold the file open: the ranking and a listing.
        w->signes()->setEntries({{u"Signe de poids neuf (9)"_s, 12}});
        w->classerSyndromes();
        QCOMPARE(w->syndromes()->count(), 3);
        w->listeValeurs().setRecordSource(u"SELECT COUNT(*) AS n FROM Modalités"_s);
        w->listeValeurs().refresh();
        QVERIFY(shown().isEmpty());

        QAction *importer = w->menuAction(u"mnuFileImporter"_s);
        QVERIFY(importer);
        app.importCommand()->setFileChooser([&](QWidget *) { return chosen; });
        MessageBox::setNextAnswer(answer);
        ProgressWatch progress;
        importer->trigger();
        const QList<MessageBox::Shown> boxes = shown();

        QVERIFY(!boxes.isEmpty());
        QCOMPARE(boxes[0].buttons, MessageBox::Buttons::OkCancel);
        for (const QString &told : {QDir::toNativeSeparators(chosen), QDir::toNativeSeparators(m_base),
                                    QDir::toNativeSeparators(kept), u"visite en cours sera vidée"_s})
            QVERIFY2(boxes[0].text.contains(told), qPrintable(boxes[0].text));
        QCOMPARE(contentOf(chosen), chosenBytes);
        QCOMPARE(progress.seen, padRows > 0
                                    ? QStringList({u"Conversion de la base Access en cours, un peu de patience"_s})
                                    : QStringList());
        if (answer == Answer::Ok && cutBytes == 0) {
            QCOMPARE(boxes.size(), 2);
            QVERIFY2(boxes[1].text.contains(u"remplace désormais"_s), qPrintable(boxes[1].text));
            QCOMPARE(w->signes()->count(), 0);
            QCOMPARE(w->syndromes()->count(), 0);
            QCOMPARE(contentOf(kept), former);
            readsTheBundledBase(w);
        } else {
            QCOMPARE(boxes.size(), cutBytes > 0 ? 2 : 1);
            if (cutBytes > 0)
                QVERIFY2(boxes[1].text.contains(u"est incomplet"_s), qPrintable(boxes[1].text));
            // The former base still in use, and intact; the visit as it was.
            QCOMPARE(filesIn(m_dir->path()).filter(u".mdb"_s), QStringList({u"Signes.mdb"_s}));
            QCOMPARE(contentOf(m_base), former);
            QCOMPARE(w->signes()->count(), 1);
            w->classerSyndromes();
            QCOMPARE(w->syndromes()->count(), 3);
        }
        w->close();
    }
};

QTEST_MAIN(TestAccessImport)
#include "tst_accessimport.moc"
