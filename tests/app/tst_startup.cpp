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
#include <QDir>
#include <QLabel>
#include <QPushButton>
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
            const auto found = liste->findItems(QStringLiteral("Signe de poids neuf (9)"), Qt::MatchExactly);
            if (!found.isEmpty())
                QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualItemRect(found.first()).center());
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
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
