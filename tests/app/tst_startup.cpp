#include "../ui/UiTest.h"
#include "AppSettings.h"
#include "Application.h"
#include "BusyPointer.h"
#include "CategoryMap.h"
#include "Database.h"
#include "HelpBrowser.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <csignal>

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

private slots:
    void initTestCase() { MessageBox::setTesting(true); }
    void init()
    {
        static int n = 0;
        m_settings = std::make_unique<AppSettings>(m_dir.filePath(QStringLiteral("settings%1.ini").arg(++n)));
    }
    void cleanup()
    {
        QApplication::closeAllWindows();
        m_app.reset();
    }

    // The window shown with the stored methods, splash gone, pointer back; then a sign
    // recorded through the dialog is ranked once the main window is active again, and by
    // nothing else.
    void startsThenRanksOnActivation()
    {
        m_settings->setRawValue(AppSettings::methodKey(3), QStringLiteral("0"));
        MainWindow *w = start(fixture());
        QVERIFY(w && w->isVisible());
        QVERIFY(!BusyPointer::isBusy());
        for (QWidget *top : QApplication::topLevelWidgets())
            QVERIFY2(top->objectName() != QStringLiteral("frmSplash") || !top->isVisible(), "splash still shown");
        QVERIFY(!w->methodBox(3)->isChecked() && w->methodBox(1)->isChecked());
        QCOMPARE(w->listeValeurs().databaseName(), m_db);

        QVERIFY(UiTest::whileModal(
            [&] { QTest::mouseClick(w->categoryMap()->label(43), Qt::LeftButton, {}, QPoint(4, 4)); },
            [](QDialog *dialog) {
                auto *liste = dialog->findChild<ItemList *>(QStringLiteral("ListeModalités"));
                for (int i = 0; i < liste->count(); ++i)
                    if (liste->text(i) == QStringLiteral("Signe de poids neuf (9)"))
                        UiTest::click(liste, i);
                dialog->findChild<QPushButton *>(QStringLiteral("Choix_0"))->click();
            }));
        QCOMPARE(w->signes()->entries(), QList<ListEntry>({{QStringLiteral("Signe de poids neuf (9)"), 12}}));
        QTRY_COMPARE(w->syndromes()->count(), 3);
    }

    // "Régénérer la base" reads the recorded signs again: each shows its new weight (the
    // same sign, by its number), one left without a link leaves the visit, told, and the
    // ranking follows at once.
    void aRebuildRefreshesTheVisit()
    {
        MainWindow *w = start(fixture());
        Database::open(m_db)->executeNative(
            QStringLiteral("DELETE FROM \"Modalité-Syndrome\" WHERE NumModalité = 11;"));
        w->setRecordedSigns(
            {{QStringLiteral("Signe de poids neuf (9)"), 12}, {QStringLiteral("Signe de poids un (1)"), 11}});
        QCOMPARE(w->syndromes()->count(), 3);
        MessageBox::takeShown();
        w->actions().fileRegenerer->trigger();
        QCOMPARE(w->signes()->entries(), QList<ListEntry>({{QStringLiteral("Signe de poids neuf (7)"), 12}}));
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(QStringLiteral("« Signe de poids un (1) »")), qPrintable(shown[0].text));
        QCOMPARE(w->syndromes()->text(0).endsWith(QStringLiteral("(7)")), true);
    }

    void failedPersonalCopyIsToldAndTheBundledBaseUsed()
    {
        const QString target = m_dir.filePath(QStringLiteral("home/Tessavor/Signes.mdb"));
        MainWindow *w = start(fixture({AppPaths::CopyFailure::Step::Copy, target, "No space left on device"}));
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        for (const QString &path : {target, m_db})
            QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(path)), qPrintable(shown[0].text));
        QVERIFY(!shown[0].text.contains(QStringLiteral("space"))); // French only
        QCOMPARE(w->classement().databaseName(), m_db);
    }

    // F1 opens the help; the session ending the program (or Ctrl+C) then closes its
    // windows, help included, as "Quitter" closes the main window.
    void helpThenTermination()
    {
        QPointer<MainWindow> w = start(fixture());
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_F1);
        QVERIFY(HelpBrowser::instance() && HelpBrowser::instance()->isVisible());
        std::raise(SIGTERM);
        QTRY_VERIFY(w.isNull());
        QTRY_VERIFY(!HelpBrowser::instance());
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    // A visit of eight signs from four categories recorded with the keyboard alone, on the
    // bundled base: Ctrl+F, the words, Tab, Space, Tab, Space, eight times; the ranking
    // follows and explains itself; Ctrl+Q ends it.
    void aVisitByKeyboardAlone()
    {
        const QString bundled = TestSupport::bundledDatabase();
        QPointer<MainWindow> w = start({bundled, QFileInfo(bundled).path(), bundled, {}, TestSupport::importHelper()});
        for (const char *typed : {"pouls rap", "pouls fin", "langue fiss", "langue pale", "sueurs noc", "transpi spon",
                                  "soif intense", "soif froides"}) {
            QVERIFY(QTest::qWaitForWindowActive(w));
            QVERIFY(UiTest::whileModal([&] { QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier); },
                                       [&](QDialog *dialog) {
                                           QTRY_COMPARE(QApplication::focusWidget()->objectName(),
                                                        QStringLiteral("Recherche"));
                                           QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("Titre"))->text(),
                                                    QStringLiteral("Recherche de symptômes"));
                                           QTest::keyClicks(QApplication::focusWidget(), typed);
                                           for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Tab, Qt::Key_Space})
                                               QTest::keyClick(QApplication::focusWidget(), key);
                                       }));
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

        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(w.isNull());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
