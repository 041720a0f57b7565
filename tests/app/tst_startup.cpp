#include "AppSettings.h"
#include "Application.h"
#include "BusyPointer.h"
#include "ItemList.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "Shared.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QTest>

// Start-up as the program runs it, on a fixture knowledge base and a settings file of
// the test's own.
class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;

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
        app.start(m_db);
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

        // Activation ranks: a return to the main window after recording a sign.
        w->signes()->addEntry({QStringLiteral("Signe de poids neuf (9)"), 12});
        w->classerSyndromes();
        QCOMPARE(w->syndromes()->count(), 3);

        // "Quitter" closes the window as its frame does.
        QPointer<MainWindow> guard(w);
        w->menuAction(QStringLiteral("mnuFileExit"))->trigger();
        QTRY_VERIFY(guard.isNull());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
