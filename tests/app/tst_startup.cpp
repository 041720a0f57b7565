#include "AppSettings.h"
#include "Application.h"
#include "BusyPointer.h"
#include "CategoryMap.h"
#include "ItemList.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "Shared.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
