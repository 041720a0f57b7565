#include "../ui/UiTest.h"
#include "AppSettings.h"
#include "Application.h"
#include "BusyPointer.h"
#include "Database.h"
#include "EditionOffer.h"
#include "HelpBrowser.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "PrintDialogs.h"
#include "TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>

#include <csignal>
#include <cstdio>

using namespace Qt::StringLiterals;

// Start-up as the program runs it, on a fixture knowledge base and a settings file of the
// test's own, and the ways the program ends.
class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db = TestSupport::makeDatabase(m_dir, QStringLiteral("ranking.sql"));
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<Application> m_app;

    QPointer<MainWindow> start(const AppPaths::KnowledgeBase &kb)
    {
        m_app = std::make_unique<Application>(*m_settings);
        m_app->start(kb);
        return m_app->mainWindow();
    }
    AppPaths::KnowledgeBase fixture(AppPaths::CopyFailure failure = {}) const
    {
        return {m_db, m_dir.path(), m_db, failure, TestSupport::importHelper()};
    }

    // What start-up tells and asks of a newer bundled edition; a file's stamp is read from
    // its words, "edition:checksum".
    std::optional<AppPaths::CopyRecord> m_memory;
    const AppPaths::CopyMemory m_remembered{[this] { return m_memory; },
                                            [this](const AppPaths::CopyRecord &r) { m_memory = r; }};

    // The user's changed copy of edition 2 offered edition 3.
    AppPaths::KnowledgeBase offer()
    {
        AppPaths::KnowledgeBase kb(TestSupport::writeFile(m_dir.filePath(u"user/Signes.mdb"_s), "2:mine"), {},
                                   TestSupport::writeFile(m_dir.filePath(u"shared/Signes.mdb"_s), "3:new"));
        kb.newEdition = 3;
        kb.keptName = m_dir.filePath(u"user/Signes-2026-12-07.mdb"_s);
        m_memory = AppPaths::CopyRecord{{2, "old"}, 0};
        return kb;
    }
    static AppPaths::FileOperations files()
    {
        AppPaths::FileOperations ops = AppPaths::FileOperations::system();
        ops.edition = [](const QString &f) { return std::optional(TestSupport::readFile(f).split(':')[0].toInt()); };
        ops.checksum = [](const QString &f) { return TestSupport::readFile(f).split(':').value(1); };
        return ops;
    }

private slots:
    void initTestCase()
    {
        MessageBox::setTesting(true);
        PrintDialogs::setTesting(true);
    }
    void init()
    {
        static int n = 0;
        m_settings = std::make_unique<AppSettings>(m_dir.filePath(QStringLiteral("settings%1.ini").arg(++n)));
        MessageBox::takeShown();
    }
    void cleanup()
    {
        QApplication::closeAllWindows();
        m_app.reset();
        // A test that ended the program leaves every event loop asked to end: the next test
        // needs them again.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
    // The program's own main loop, which must end at once; true when it did.
    bool mainLoopEnds()
    {
        QObject stuck; // dies with this call, and its timer with it
        QTimer::singleShot(5000, &stuck, [] { QCoreApplication::exit(1); });
        return m_app->exec() == 0;
    }

    // The window shown with the stored methods, splash gone, pointer back, on the base given.
    void startsThenRebuilds()
    {
        QVERIFY(m_settings->setRawValue(AppSettings::methodKey(3), QStringLiteral("0")));
        MainWindow *w = start(fixture());
        QVERIFY(w && w->isVisible() && !BusyPointer::isBusy());
        for (QWidget *top : QApplication::topLevelWidgets())
            QVERIFY2(top->objectName() != QStringLiteral("frmSplash") || !top->isVisible(), "splash still shown");
        QVERIFY(!w->methodBox(3)->isChecked() && w->methodBox(1)->isChecked());
        QCOMPARE(w->listeValeurs().databaseName(), m_db);

        // "Régénérer la base" reads the recorded signs again: each shows its new weight (the
        // same sign, by its number), one left without a link leaves the visit, told, and the
        // ranking follows at once.
        Database::open(m_db)->executeNative(u"DELETE FROM \"Modalité-Syndrome\" WHERE NumModalité = 11;"_s);
        w->setRecordedSigns({{"Signe de poids neuf (9)", 12}, {"Signe de poids un (1)", 11}});
        QCOMPARE(w->syndromes()->count(), 3);
        MessageBox::takeShown();
        w->actions().fileRegenerer->trigger();
        QCOMPARE(w->signes()->entries(), QList<ListEntry>({{QStringLiteral("Signe de poids neuf (7)"), 12}}));
        // After the rebuild's own closing message.
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[1].text.contains(QStringLiteral("« Signe de poids un (1) »")), qPrintable(shown[1].text));
        QCOMPARE(w->syndromes()->text(0).endsWith(QStringLiteral("(7)")), true);
    }

    // Another program puts another file in place of the base while Tessavor runs. Before a
    // print, an export, a dialog of signs or a rebuild, and when the window is active again,
    // that is noticed: the visit, whose signs came from the former file, is emptied and the
    // change told, and the command goes no further (no question, no dialog, no rebuild of
    // the new file). The window then works on the new file, without telling it again.
    void aBaseReplacedWhileRunning_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *command : {"print", "export", "signs", "rebuild", "active again"})
            QTest::newRow(command) << QString::fromLatin1(command);
    }
    void aBaseReplacedWhileRunning()
    {
        QFETCH(QString, command);
        const QString base = TestSupport::makeDatabase(m_dir, QStringLiteral("ranking.sql"), command + ".mdb");
        const QString other = TestSupport::makeDatabase(m_dir, QStringLiteral("ranking.sql"), command + "-new.mdb");
        Database::open(other)->executeNative(u"UPDATE Valorisation SET Valeur = 5 WHERE NumModalité = 12;"_s);
        QPointer<MainWindow> w = start({base, m_dir.path(), base, {}});
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->setRecordedSigns({{QStringLiteral("Signe de poids neuf (9)"), 12}});
        QVERIFY(w->syndromes()->count() > 0);
        const quint64 generation = w->baseWatch().generation();
        MessageBox::takeShown();
        PrintDialogs::takeShown();
        QVERIFY(std::rename(QFile::encodeName(other).constData(), QFile::encodeName(base).constData()) == 0);

        const MainWindow::Actions &a = w->actions();
        bool dialog = false;
        if (command == "signs")
            dialog = UiTest::whileModal([&] { a.editRechercher->trigger(); }, [](QDialog *) {});
        else if (command == "active again") {
            QWidget elsewhere;
            elsewhere.show();
            QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
        } else
            (command == "print" ? a.filePrint : command == "export" ? a.fileExportPdf : a.fileRegenerer)->trigger();
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        const QString told = shown[0].text;
        QVERIFY2(told.startsWith(u"La base de connaissances « %1 » a été remplacée par un autre fichier"_s.arg(
                     QDir::toNativeSeparators(base))),
                 qPrintable(told));
        QVERIFY(told.endsWith(u"La visite en cours a été vidée, car ses signes venaient de l'ancienne base."_s));
        QVERIFY(!dialog && PrintDialogs::takeShown().isEmpty());
        QVERIFY(w->signes()->count() == 0 && w->syndromes()->count() == 0);
        QVERIFY(w->baseWatch().generation() > generation);

        // The new file is the one in use now: nothing more to tell.
        QVERIFY(UiTest::whileModal([&] { a.editRechercher->trigger(); }, [](QDialog *) {}));
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    // F1 opens the help; the session ending the program (or Ctrl+C) then closes its
    // windows, help included, as "Quitter" closes the main window, but without asking
    // whether the visit may be lost.
    void helpThenTermination()
    {
        QPointer<MainWindow> w = start(fixture());
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->setRecordedSigns({{QStringLiteral("Signe de poids neuf (9)"), 12}});
        MessageBox::takeShown();
        QTest::keyClick(w, Qt::Key_F1);
        QVERIFY(HelpBrowser::instance() && HelpBrowser::instance()->isVisible());
        std::raise(SIGTERM);
        QTRY_VERIFY(w.isNull());
        QTRY_VERIFY(!HelpBrowser::instance());
        QVERIFY(MessageBox::takeShown().isEmpty());
        QVERIFY(mainLoopEnds());
    }

    // The session ends the program while a box waits for an answer at start-up, here the
    // copy failure, told in French with the base used instead and the hostile file name it
    // names as it is, tags and all: the box closes, the window too, and the main loop ends
    // as soon as it would start.
    void endedWhileABoxWaitsAtStartUp()
    {
        const QString target = m_dir.filePath(QStringLiteral("<u><i><font size=7 color=red>GROS.mdb"));
        QTimer open; // acts once the box is up
        connect(&open, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                open.stop();
                std::raise(SIGTERM); // handled once the box's loop runs again
                const QString text = box->text();
                QVERIFY2(text.contains(QDir::toNativeSeparators(target)) &&
                             text.contains(QDir::toNativeSeparators(m_db)) && !text.contains(QStringLiteral("space")),
                         qPrintable(text));
                QCOMPARE(box->textFormat(), Qt::PlainText);
            }
        });
        open.start(10);
        bool rescued = false; // a box the end did not close is closed after a while
        QObject rescue;
        QTimer::singleShot(10000, &rescue, [&] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                rescued = true;
                box->close();
            }
        });
        MessageBox::setTesting(false);
        QPointer<MainWindow> w = start(fixture({AppPaths::CopyFailure::Step::Copy, target, "No space left on device"}));
        MessageBox::setTesting(true);
        QVERIFY(!rescued);
        QTRY_VERIFY(w.isNull());
        QVERIFY(mainLoopEnds());
    }

    // A consultation with the keyboard alone, on the bundled base: three signs by Ctrl+F,
    // the words, Tab, Space, Tab, Space; Delete twice in the recorded signs, Ctrl+Z; a new
    // visit by Ctrl+N and Ctrl+Z; Ctrl+Q asks, Annuler keeps the visit, OK ends it.
    void aVisitByKeyboardAlone()
    {
        const QString bundled = TestSupport::bundledDatabase();
        QPointer<MainWindow> w = start({bundled, QFileInfo(bundled).path(), bundled, {}});
        const auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(QApplication::focusWidget(), k, modifiers);
        };
        const auto recorded = [&w] {
            QStringList texts;
            for (const ListEntry &sign : w->signes()->entries())
                texts.append(sign.text.section(QStringLiteral(" ("), 0, 0));
            return texts;
        };
        for (const char *typed : {"pouls rap", "sueurs noc", "langue fiss"}) {
            QVERIFY(QTest::qWaitForWindowActive(w));
            const auto search = [&](QDialog *dialog) {
                QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Recherche"));
                QCOMPARE(dialog->findChild<QLabel *>("Titre")->text(), QStringLiteral("Recherche de symptômes"));
                QTest::keyClicks(QApplication::focusWidget(), typed);
                for (Qt::Key k : {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Tab, Qt::Key_Space})
                    key(k);
            };
            QVERIFY(UiTest::whileModal([&] { QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier); }, search));
        }
        const QStringList three{"Pouls rapide", "Sueurs nocturnes", "Langue fissurée"};
        QCOMPARE(recorded(), three);
        QTRY_VERIFY(w->syndromes()->count() > 0);

        // Delete twice removes the first two; Ctrl+Z brings back the second, at its place.
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->signes()->setFocus();
        for (Qt::Key k : {Qt::Key_End, Qt::Key_Home, Qt::Key_Delete, Qt::Key_Delete})
            key(k);
        QCOMPARE(recorded(), three.mid(2));
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(recorded(), three.mid(1));

        // A new visit by Ctrl+N, then taken back.
        MessageBox::takeShown();
        key(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(std::pair(w->signes()->count(), w->syndromes()->count()), std::pair(0, 0));
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(recorded(), three.mid(1));
        QVERIFY(w->syndromes()->count() > 0);

        MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
        QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(w && w->isVisible());
        QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(w.isNull());
        QStringList asked;
        for (const MessageBox::Shown &box : MessageBox::takeShown())
            asked.append(box.text);
        const QString quit = QStringLiteral("La visite en cours (2 signes) sera perdue. Quitter Tessavor ?");
        QCOMPARE(asked, QStringList({"Nouvelle Visite?", quit, quit}));
    }

    // The user's changed copy is offered a newer edition, the answer kept; an unchanged copy
    // replaced by it is told where the former one went.
    void aNewerEditionIsOffered()
    {
        const AppPaths::KnowledgeBase kb = offer();
        MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
        EditionOffer::atStart(kb, m_remembered, files());
        const MessageBox::Shown asked = MessageBox::takeShown().value(0);
        QCOMPARE(std::pair(asked.buttons, asked.icon),
                 std::pair(MessageBox::Buttons::OkCancel, MessageBox::Icon::Question));
        QVERIFY2(asked.text.startsWith(
                     u"Une nouvelle édition (3) de la base de connaissances est livrée avec Tessavor, "
                     "mais votre copie « %1 » a été modifiée"_s.arg(QDir::toNativeSeparators(kb.database))),
                 qPrintable(asked.text));
        QVERIFY(asked.text.contains(u"sous « %1 »"_s.arg(QDir::toNativeSeparators(kb.keptName))));
        // Annuler keeps the user's base, and this edition is not offered again.
        QCOMPARE(TestSupport::readFile(kb.database), "2:mine"_ba);
        QCOMPARE(m_memory->keptAgainst, 3);

        // OK takes it: the user's base kept beside it under the dated name.
        EditionOffer::atStart(offer(), m_remembered, files());
        QCOMPARE(MessageBox::takeShown().size(), 1);
        QCOMPARE(TestSupport::readFile(kb.database), "3:new"_ba);
        QCOMPARE(TestSupport::readFile(kb.keptName), "2:mine"_ba);
        QCOMPARE(m_memory->madeFrom.checksum, "new"_ba);

        // An unchanged copy, replaced.
        AppPaths::KnowledgeBase unchanged(m_dir.filePath(u"user/Signes.mdb"_s), {}, {});
        unchanged.previousCopy = m_dir.filePath(u"user/Signes-2026-12-07.mdb"_s);
        EditionOffer::atStart(unchanged, m_remembered, files());
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.endsWith(
                     u"L'ancienne est gardée sous « %1 »."_s.arg(QDir::toNativeSeparators(unchanged.previousCopy))),
                 qPrintable(shown[0].text));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
