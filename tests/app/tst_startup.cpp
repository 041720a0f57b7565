#include "AppSettings.h"
#include "Application.h"
#include "BusyPointer.h"
#include "CategoryMap.h"
#include "HelpBrowser.h"
#include "ItemList.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "Shared.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <csignal>

// Start-up as the program runs it, on a fixture knowledge base and a settings file of
// the test's own.
class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;

    AppPaths::KnowledgeBase knowledgeBase(AppPaths::CopyFailure failure = {}) const
    {
        return {m_db, m_dir.path(), m_db, failure};
    }

private slots:
    void initTestCase()
    {
        MessageBox::setTesting(true);
        m_db = TestSupport::makeDatabase(m_dir, QStringLiteral("ranking.sql"));
    }

    void startsShownWithStoredMethodsAndDefaultPointer()
    {
        AppSettings settings(m_dir.filePath(QStringLiteral("start.ini")));
        settings.setRawValue(AppSettings::methodKey(3), QStringLiteral("0"));
        Application app(settings);
        app.start(knowledgeBase());
        MainWindow *w = app.mainWindow();
        QVERIFY(w && w->isVisible());
        QVERIFY(!BusyPointer::isBusy());
        QVERIFY(!QApplication::overrideCursor());
        for (QWidget *top : QApplication::topLevelWidgets())
            QVERIFY2(top->objectName() != QStringLiteral("frmSplash") || !top->isVisible(), "splash still shown");
        QCOMPARE(Shared::methodeActive[3], 0);
        QVERIFY(!w->methodBox(3)->isChecked());
        QVERIFY(w->methodBox(1)->isChecked());
        QCOMPARE(w->classement().databaseName(), m_db);
        QCOMPARE(w->listeValeurs().databaseName(), m_db);

        // Activation ranks: a sign recorded through the dialog is ranked once the main
        // window is active again, and by nothing else.
        QTimer::singleShot(0, this, [] {
            auto *dialog = qobject_cast<ModalityDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto *liste = dialog->findChild<ItemList *>(QStringLiteral("ListeModalités"));
            for (int i = 0; i < liste->count(); ++i)
                if (liste->text(i) == QStringLiteral("Signe de poids neuf (9)"))
                    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->entryRect(i).center());
            dialog->findChild<QPushButton *>(QStringLiteral("Choix_0"))->click();
        });
        QTest::mouseClick(w->categoryMap()->label(43), Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(w->signes()->entries(), QList<ListEntry>({{QStringLiteral("Signe de poids neuf (9)"), 12}}));
        QTRY_COMPARE(w->syndromes()->count(), 3);

        // "Quitter" closes the window as its frame does.
        QPointer<MainWindow> guard(w);
        w->menuAction(QStringLiteral("mnuFileExit"))->trigger();
        QTRY_VERIFY(guard.isNull());
    }

    void failedPersonalCopyIsToldAndTheBundledBaseUsed()
    {
        AppSettings settings(m_dir.filePath(QStringLiteral("copy.ini")));
        Application app(settings);
        const QString target = m_dir.filePath(QStringLiteral("home/Tessavor/Signes.mdb"));
        app.start(
            knowledgeBase({AppPaths::CopyFailure::Step::Copy, target, QStringLiteral("No space left on device")}));
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(target)), qPrintable(shown[0].text));
        QVERIFY(shown[0].text.contains(QDir::toNativeSeparators(m_db)));
        QVERIFY(!shown[0].text.contains(QStringLiteral("space"))); // French only
        QCOMPARE(shown[0].title, QStringLiteral("Base de connaissances"));
        QCOMPARE(app.mainWindow()->classement().databaseName(), m_db);
        app.mainWindow()->close();
    }

    // The session ending the program (or Ctrl+C) closes its windows, help included, as
    // "Quitter" closes the main window; the process is not killed.
    void terminationRequestClosesEveryWindow()
    {
        AppSettings settings(m_dir.filePath(QStringLiteral("term.ini")));
        Application app(settings);
        app.start(knowledgeBase());
        QPointer<MainWindow> guard(app.mainWindow());
        guard->menuAction(QStringLiteral("mnuHelpContents"))->trigger();
        QVERIFY(HelpBrowser::instance());
        std::raise(SIGTERM);
        QTRY_VERIFY(guard.isNull());
        QTRY_VERIFY(!HelpBrowser::instance());
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    // F1, Ctrl+Q and Ctrl+F pressed on the main window reach the help, "Quitter" and the
    // search.
    void shortcutsReachTheirCommands()
    {
        AppSettings settings(m_dir.filePath(QStringLiteral("keys.ini")));
        Application app(settings);
        app.start(knowledgeBase());
        QPointer<MainWindow> w = app.mainWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));

        QVERIFY(!HelpBrowser::instance());
        QTest::keyClick(w, Qt::Key_F1);
        QVERIFY(HelpBrowser::instance() && HelpBrowser::instance()->isVisible());
        HelpBrowser::instance()->close();
        QTRY_VERIFY(!HelpBrowser::instance());
        w->activateWindow(); // what the window manager does once the help window is gone
        QVERIFY(QTest::qWaitForWindowActive(w));

        QString title;
        QTimer::singleShot(0, w, [&title] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                title = dialog->findChild<QLabel *>(QStringLiteral("Titre"))->text();
                dialog->reject();
            }
        });
        QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(title, QStringLiteral("Recherche de symptômes"));

        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(w.isNull());
    }

    // A visit of eight signs from four categories recorded with the keyboard alone, on the
    // bundled base: Ctrl+F, the words, Tab, Space, Tab, Space, eight times; the ranking
    // follows and explains itself.
    void aVisitByKeyboardAlone()
    {
        AppSettings settings(m_dir.filePath(QStringLiteral("visit.ini")));
        Application app(settings);
        const QString bundled = TestSupport::bundledDatabase();
        app.start({bundled, QFileInfo(bundled).path(), bundled, {}});
        MainWindow *w = app.mainWindow();
        const QStringList words{"pouls rap",  "pouls fin",    "langue fiss",  "langue pale",
                                "sueurs noc", "transpi spon", "soif intense", "soif froides"};
        for (const QString &typed : words) {
            QVERIFY(QTest::qWaitForWindowActive(w));
            QTimer::singleShot(0, w, [&typed] {
                auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                const auto close = qScopeGuard([dialog] {
                    if (dialog->isVisible())
                        dialog->reject();
                });
                QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Recherche"));
                QTest::keyClicks(QApplication::focusWidget(), typed);
                for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Tab, Qt::Key_Space})
                    QTest::keyClick(QApplication::focusWidget(), key);
            });
            QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
        }
        QStringList recorded;
        for (const ListEntry &sign : w->signes()->entries())
            recorded.append(sign.text.section(QStringLiteral(" ("), 0, 0));
        QCOMPARE(recorded,
                 QStringList({"Pouls rapide", "Pouls fin", "Langue fissurée", "Langue pâle", "Sueurs nocturnes",
                              "Transpiration spontanée", "Soif intense", "Soif de boissons froides"}));
        QTRY_VERIFY(w->syndromes()->count() > 0);
        const QString best = w->syndromes()->text(0);
        QVERIFY(w->syndromes()->tipText(0).contains(QStringLiteral("— somme ") + best.section(u'(', -1).chopped(1)));
        w->close();
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
