#include "AppSettings.h"
#include "Beep.h"
#include "BusyPointer.h"
#include "ItemList.h"
#include "JetImport.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "Shared.h"
#include "TestSupport.h"
#include "WindowPlacement.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMoveEvent>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSvgWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

Q_DECLARE_METATYPE(QMargins)

// The main window as start-up leaves it: menus, method boxes, the ranking and its
// failures, and the layout on real sizes.
class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;

    struct Window {
        AppSettings settings;
        std::unique_ptr<MainWindow> w;
        explicit Window(const QString &ini, const QString &db) : settings(ini)
        {
            for (int m = 1; m <= 5; ++m)
                Shared::methodeActive[m] = settings.readMethod(m);
            // A toolbar with a button, so that it takes its height.
            w = std::make_unique<MainWindow>(
                [](QWidget *parent) {
                    auto *bar = new QToolBar(parent);
                    bar->addAction(QStringLiteral("Nouveau"));
                    return bar;
                },
                settings);
            w->setDatabaseName(db);
            BusyPointer::setDefault();
        }
    };

    QString freshIni()
    {
        static int n = 0;
        return m_dir.filePath(QStringLiteral("settings%1.ini").arg(++n));
    }

private slots:
    void initTestCase()
    {
        MessageBox::setTesting(true);
        m_db = TestSupport::makeDatabase(m_dir, QStringLiteral("ranking.sql"));
    }
    void init() { MessageBox::takeShown(); }

    void menusAsDesigned()
    {
        Window win(freshIni(), m_db);
        MainWindow &w = *win.w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Tessavor chinois"));
        // name, caption, shortcut, enabled
        const std::tuple<const char *, const char *, const char *, bool> items[] = {
            {"mnuFileNew", "&Nouveau", "Ctrl+N", false},
            {"mnuFileOpen", "&Ouvrir", "Ctrl+O", false},
            {"mnuFileSave", "&Enregistrer", "Ctrl+S", false},
            {"mnuFileRégénérer", "&Régénérer la base", "", true},
            {"mnuFilePageSetup", "&Mise en page...", "", true},
            {"mnuFilePrint", "&Imprimer...", "Ctrl+P", true},
            {"mnuFileExportPdf", "E&xporter en PDF...", "Ctrl+Shift+P", true},
            {"mnuFileExit", "&Quitter", "Ctrl+Q", true},
            {"mnuEditRechercher", "&Rechercher un signe...", "Ctrl+F", true},
            {"mnuEditCut", "&Couper", "Ctrl+X", true},
            {"mnuViewToolbar", "Barre d'&outils", "", true},
            {"mnuViewStatusBar", "Barre d'&état", "", true},
            {"mnuHelpContents", "&Sommaire", "F1", true},
            {"mnuHelpAbout", "À &propos de Tessavor...", "", true},
        };
        for (auto [name, caption, shortcut, enabled] : items) {
            QAction *a = w.menuAction(QString::fromUtf8(name));
            QVERIFY2(a, name);
            QCOMPARE(a->text(), QString::fromUtf8(caption));
            QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(shortcut)));
            QCOMPARE(a->isEnabled(), enabled);
        }
        // The import follows "Régénérer la base", in a build that reads Access files.
        QStringList fileItems;
        for (QAction *a : w.findChild<QMenu *>(QStringLiteral("mnuFile"))->actions())
            fileItems << a->objectName();
        QCOMPARE(fileItems.value(fileItems.indexOf(QStringLiteral("mnuFileRégénérer")) + 1),
                 JetImport::isAvailable() ? QStringLiteral("mnuFileImporter") : QStringLiteral("mnuFileBar3"));
        if (QAction *importer = w.menuAction(QStringLiteral("mnuFileImporter"))) {
            QCOMPARE(importer->text(), QStringLiteral("Impor&ter une base Access..."));
            QVERIFY(importer->shortcut().isEmpty());
            QVERIFY(importer->isEnabled());
        }
        QVERIFY(w.menuAction(QStringLiteral("mnuViewToolbar"))->isChecked());
        QStringList titles;
        for (QAction *menu : w.menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, QStringList({"&Fichier", "Editi&on", "Aff&ichage", "&Gestion", "&?"}));
        QVERIFY(!w.menuBar()->actions().at(3)->isEnabled());
        QCOMPARE(w.menuBar()->actions().at(1)->menu()->actions().first()->objectName(),
                 QStringLiteral("mnuEditRechercher"));
        QCOMPARE(w.statusBarWidget()->findChildren<QLabel *>().first()->text(),
                 QStringLiteral("Pas de visite en cours"));

        // A disabled item's shortcut does nothing.
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QSignalSpy spy(w.menuAction(QStringLiteral("mnuFileNew")), &QAction::triggered);
        QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(spy.count(), 0);
    }

    void methodBoxesFromSettings_data()
    {
        QTest::addColumn<QStringList>("stored"); // "Méthode 1" … "Méthode 5", empty = missing
        QTest::addColumn<QList<bool>>("ticked");
        QTest::addColumn<int>("messages");
        QTest::newRow("first run") << QStringList{"", "", "", "", ""} << QList<bool>{true, true, true, true, true} << 0;
        QTest::newRow("method 3 off") << QStringList{"", "", "0", "", ""} << QList<bool>{true, true, false, true, true}
                                      << 0;
        QTest::newRow("all five off") << QStringList{"0", "0", "0", "0", "0"}
                                      << QList<bool>{true, false, false, false, false} << 1;
        QTest::newRow("a stored 2 stays ticked")
            << QStringList{"2", "", "", "", ""} << QList<bool>{true, true, true, true, true} << 0;
        QTest::newRow("a stored abc reads as chosen")
            << QStringList{"abc", "0", "", "", ""} << QList<bool>{true, false, true, true, true} << 0;
    }
    void methodBoxesFromSettings()
    {
        QFETCH(QStringList, stored);
        QFETCH(QList<bool>, ticked);
        QFETCH(int, messages);
        const QString ini = freshIni();
        {
            AppSettings settings(ini);
            for (int m = 1; m <= 5; ++m)
                if (!stored[m - 1].isEmpty())
                    settings.setRawValue(AppSettings::methodKey(m), stored[m - 1]);
        }
        const int beeps = Beep::count();
        Window win(ini, m_db);
        for (int m = 1; m <= 5; ++m)
            QCOMPARE(win.w->methodBox(m)->isChecked(), ticked[m - 1]);
        QCOMPARE(Beep::count() - beeps, messages);
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), messages);
        if (messages) {
            QCOMPARE(shown.first().title, QStringLiteral("Erreur de manipulation"));
            QCOMPARE(shown.first().icon, MessageBox::Icon::Exclamation);
            QCOMPARE(win.settings.rawValue(AppSettings::methodKey(1)), QStringLiteral("1"));
        }
        QCOMPARE(win.w->methodBox(3)->text(), QStringLiteral(" Energie-Sang-LO"));
    }

    void rankingThroughTheWindow()
    {
        Window win(freshIni(), m_db);
        MainWindow &w = *win.w;
        w.signes()->addEntry({QStringLiteral("Signe de poids neuf (9)"), 12});
        w.signes()->addEntry({QStringLiteral("Signe de poids sept (7)"), 13});
        w.methodBox(2)->setChecked(false); // a change re-ranks
        QCOMPARE(w.syndromes()->count(), 2);
        QCOMPARE(w.syndromes()->text(0), QStringLiteral("Vide de Qi  (9)"));
        QVERIFY(w.classement().recordSource().contains(
            QStringLiteral("HAVING Syndromes.NumMéthode= 1 OR Syndromes.NumMéthode=3 OR Syndromes.NumMéthode=4 OR "
                           "Syndromes.NumMéthode=5 ORDER BY")));
        QCOMPARE(win.settings.rawValue(AppSettings::methodKey(2)), QStringLiteral("0"));
    }

    // A double-click on either list opens the modality dialog on the other side of the
    // link. With signs 12 and 13 recorded, "Chaleur" ranks first (16).
    void crossLookUps_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("syndromes of a sign") << "Signes"
                                             << "Liste des syndromes pour le symptôme sélectionné"
                                             << QStringList{"Chaleur", "Vide de Qi", "Vide de Yin du Rein"};
        QTest::newRow("signs of a syndrome") << "Syndromes"
                                             << "Liste des symptômes pour le syndrome sélectionné"
                                             << QStringList{"Signe de poids neuf (9)", "Signe de poids sept (7)"};
    }

    void crossLookUps()
    {
        QFETCH(QString, list);
        Window win(freshIni(), m_db);
        MainWindow &w = *win.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.signes()->setEntries(
            {{QStringLiteral("Signe de poids neuf (9)"), 12}, {QStringLiteral("Signe de poids sept (7)"), 13}});
        w.classerSyndromes();
        QString title;
        QStringList rows;
        QTimer::singleShot(0, this, [&] {
            if (auto *dialog = qobject_cast<ModalityDialog *>(QApplication::activeModalWidget())) {
                title = dialog->findChild<QLabel *>(QStringLiteral("Titre"))->text();
                const ItemList *shown = dialog->findChild<ItemList *>(QStringLiteral("ListeModalités"));
                for (int i = 0; i < shown->count(); ++i)
                    rows.append(shown->text(i));
                dialog->reject();
            }
        });
        ItemList *clicked = w.findChild<ItemList *>(list);
        const QPoint first = clicked->entryRect(0).center();
        // What the window system sends for a double-click: a click, then the second press.
        QTest::mouseClick(clicked->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(clicked->viewport(), Qt::LeftButton, {}, first);
        QTEST(title, "title");
        rows.sort(); // the syndromes of a sign come in the engine's order
        QTEST(rows, "rows");
    }

    void missingDatabaseIsToldAndTheWindowGoesOn()
    {
        Window win(freshIni(), m_dir.filePath(QStringLiteral("absent/Signes.mdb")));
        MainWindow &w = *win.w;
        w.classerSyndromes(); // nothing recorded: no query, no message
        QVERIFY(MessageBox::takeShown().isEmpty());
        w.signes()->addEntry({QStringLiteral("x (9)"), 12});
        w.classerSyndromes();
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().text.contains(QStringLiteral("Signes.mdb")));
        QVERIFY(shown.first().text.contains(QStringLiteral("introuvable")));
        QCOMPARE(w.syndromes()->count(), 0);
    }

    // The outer size, frame included, is 12000 × 9000 twips (800 × 600 pixels) centred on
    // the screen's available area; a screen too small gets the window inside it, never at
    // a negative place, and a window never below the size it accepts.
    void placement_data()
    {
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QPoint>("corner"); // the frame's top-left corner
        QTest::addColumn<QSize>("client");
        const QMargins frame(4, 24, 4, 4);
        const QSize minimum(360, 250);
        QTest::newRow("ordinary screen") << frame << QRect(0, 0, 1280, 1024) << minimum << QPoint(240, 212)
                                         << QSize(792, 572);
        QTest::newRow("frame not told yet")
            << QMargins() << QRect(0, 0, 1280, 1024) << minimum << QPoint(240, 212) << QSize(800, 600);
        QTest::newRow("a panel along the top")
            << frame << QRect(0, 32, 1280, 992) << minimum << QPoint(240, 228) << QSize(792, 572);
        QTest::newRow("second screen") << frame << QRect(1280, 0, 1920, 1080) << minimum << QPoint(1840, 240)
                                       << QSize(792, 572);
        QTest::newRow("1280 × 1024 at 200 %, panel below")
            << frame << QRect(0, 0, 640, 488) << minimum << QPoint(0, 0) << QSize(632, 460);
        QTest::newRow("too small in one direction")
            << frame << QRect(0, 0, 1024, 560) << minimum << QPoint(112, 0) << QSize(792, 532);
        QTest::newRow("smaller than the window accepts")
            << frame << QRect(100, 50, 300, 200) << minimum << QPoint(100, 50) << QSize(360, 250);
    }
    void placement()
    {
        QFETCH(QMargins, frame);
        QFETCH(QRect, available);
        QFETCH(QSize, minimum);
        QFETCH(QPoint, corner);
        QFETCH(QSize, client);
        const WindowPlacement::Placement p = WindowPlacement::place(QSize(800, 600), frame, available, minimum);
        QCOMPARE(p.framePosition, corner);
        QCOMPARE(p.clientSize, client);
    }

    // The main window as the window system places it: first with no frame known, then from
    // its real frame once the shown window has one, and only that once.
    void windowPlacedFromItsFrame_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("corner");
        QTest::addColumn<QSize>("client");
        QTest::newRow("ordinary screen") << QRect(0, 0, 1280, 1024) << QPoint(240, 212) << QSize(792, 572);
        QTest::newRow("small screen") << QRect(0, 0, 640, 488) << QPoint(0, 0) << QSize(632, 460);
    }
    void windowPlacedFromItsFrame()
    {
        QFETCH(QRect, available);
        QFETCH(QPoint, corner);
        QFETCH(QSize, client);
        WindowPlacement::setAvailableAreaForTesting(available);
        WindowPlacement::setFrameMarginsForTesting(QMargins());
        auto restore = qScopeGuard([] {
            WindowPlacement::setAvailableAreaForTesting(std::nullopt);
            WindowPlacement::setFrameMarginsForTesting(std::nullopt);
        });
        Window win(freshIni(), m_db);
        MainWindow &w = *win.w;
        QCOMPARE(w.size(), QSize(800, 600).boundedTo(available.size()));
        QCOMPARE(w.pos(), available.size().width() < 800 ? available.topLeft() : QPoint(240, 212));

        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        WindowPlacement::setFrameMarginsForTesting(QMargins(4, 24, 4, 4));
        QMoveEvent framed(w.pos(), w.pos());
        QCoreApplication::sendEvent(&w, &framed);
        QCOMPARE(w.pos(), corner);
        QCOMPARE(w.size(), client);

        WindowPlacement::setFrameMarginsForTesting(QMargins(8, 30, 8, 8));
        QCoreApplication::sendEvent(&w, &framed);
        QCOMPARE(w.size(), client);
    }

    void layoutFollowsTheWindow()
    {
        Window win(freshIni(), m_db);
        MainWindow &w = *win.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *carte = w.findChild<QGroupBox *>(QStringLiteral("Carte"));
        auto *liste = w.findChild<QGroupBox *>(QStringLiteral("Liste"));
        QWidget *client = w.centralWidget();
        QVERIFY(w.toolBar()->height() > 0);
        QCOMPARE(carte->y(), w.toolBar()->height());
        QVERIFY(qAbs(carte->width() - client->width() / 2.3) <= 1);
        QVERIFY(qAbs(liste->geometry().right() + 1 - client->width()) <= 2); // 10 twips past the edge
        // Hiding the toolbar leaves its band: the next layout pass, on a new size, keeps
        // the frames below it.
        const int top = carte->y();
        const int width = carte->width();
        w.toolBar()->hide();
        w.resize(w.width() - 150, w.height());
        QTRY_VERIFY(carte->width() < width);
        QVERIFY(qAbs(carte->width() - client->width() / 2.3) <= 1);
        QCOMPARE(carte->y(), top);
    }

    // Tab goes through the ranked syndromes, the recorded signs and the five methods, and
    // round again.
    void tabGoesThroughListsAndMethods()
    {
        Window win(freshIni(), m_db);
        MainWindow &w = *win.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.syndromes()->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(visited, QStringList({"Syndromes", "Signes", "OptionsMéthodes_1", "OptionsMéthodes_2",
                                       "OptionsMéthodes_3", "OptionsMéthodes_4", "OptionsMéthodes_5", "Syndromes"}));
    }

    // Every control a screen reader meets has a name of its own: the map's labels and
    // pictures, the drawing, the lists, the method boxes.
    void accessibleNames()
    {
        Window win(freshIni(), m_db);
        MainWindow &w = *win.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        int controls = 0;
        QSet<QString> names;
        for (QWidget *control : w.centralWidget()->findChildren<QWidget *>()) {
            const bool read = qobject_cast<QAbstractItemView *>(control) || qobject_cast<QAbstractButton *>(control) ||
                              qobject_cast<QLabel *>(control) || qobject_cast<QSvgWidget *>(control);
            if (!read || !control->isVisible() || qobject_cast<QStatusBar *>(control->parentWidget()))
                continue;
            ++controls;
            // A control without a name of its own reads its frame's title: a name that tells
            // nothing apart.
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
            const QString name = accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
            QVERIFY2(!name.isEmpty() && !names.contains(name), qPrintable(control->objectName()));
            names.insert(name);
        }
        QVERIFY(controls >= 39 + 5 + 1 + 2 + 5);
        QCOMPARE(w.methodBox(3)->accessibleName(), QStringLiteral("Méthode Energie-Sang-LO"));
    }

    // Hovering a ranked syndrome, or reaching it with the keyboard, tells the recorded signs
    // that support it and their sum: the sum the ranking shows.
    void rankedSyndromesExplainThemselves()
    {
        Window win(freshIni(), m_db);
        MainWindow &w = *win.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.signes()->addEntry({QStringLiteral("Signe de poids neuf (9)"), 12});
        w.signes()->addEntry({QStringLiteral("Signe de poids sept (7)"), 13});
        w.classerSyndromes();
        ItemList *syndromes = w.syndromes();
        QCOMPARE(syndromes->count(), 3);
        const QRegularExpression sum(QStringLiteral("\\((\\d+)\\)$")), told(QStringLiteral("— somme (\\d+)\\."));
        for (int i = 0; i < syndromes->count(); ++i) {
            const QPoint at = syndromes->entryRect(i).center();
            QHelpEvent hover(QEvent::ToolTip, at, syndromes->viewport()->mapToGlobal(at));
            QApplication::sendEvent(syndromes->viewport(), &hover);
            QTRY_VERIFY(QToolTip::isVisible());
            const QString tip = QToolTip::text();
            QVERIFY2(tip.contains(QStringLiteral("<b>") + syndromes->text(i).toHtmlEscaped() + QStringLiteral("</b>")),
                     qPrintable(tip));
            QCOMPARE(told.match(tip).captured(1), sum.match(syndromes->text(i)).captured(1));
            QVERIFY(tip.contains(QStringLiteral("Signe de poids neuf (9)")));
        }
        for (int i = 0; i < syndromes->count(); ++i)
            if (syndromes->text(i).startsWith(QStringLiteral("Vide de Qi")))
                QVERIFY(syndromes->tipText(i).contains(QStringLiteral(
                    "1 signe retrouvé sur 3 : Signe de poids neuf (9) — somme 9. Autres signes : Signe de "
                    "poids six (6), Signe de poids un (1).")));

        syndromes->setFocus();
        syndromes->setCurrentRow(0);
        QToolTip::hideText();
        QTest::keyClick(syndromes, Qt::Key_Down);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), syndromes->tipText(1));
        QVERIFY(QToolTip::text().contains(QStringLiteral("— somme ")));

        const QPoint at = w.signes()->entryRect(0).center();
        QHelpEvent hover(QEvent::ToolTip, at, w.signes()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(w.signes()->viewport(), &hover);
        QTRY_VERIFY(QToolTip::text().contains(QStringLiteral("Catégorie : Pouls — indique 3 syndromes.")));
        QToolTip::hideText();
    }

    // A tip asks the base each time; when it cannot answer, the tip says so and no window
    // opens.
    void tipsOfAFailingBaseRaiseNoWindow()
    {
        Window win(freshIni(), m_dir.filePath(QStringLiteral("absent/Signes.mdb")));
        MainWindow &w = *win.w;
        w.syndromes()->setEntries({{QStringLiteral("Chaleur  (16)"), 2}});
        w.signes()->setEntries({{QStringLiteral("Signe de poids neuf (9)"), 12}});
        QVERIFY(w.syndromes()->tipText(0).contains(QStringLiteral("Explication indisponible")));
        QVERIFY(w.signes()->tipText(0).contains(QStringLiteral("Explication indisponible")));
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    // The whole road by the keyboard alone: Ctrl+F, the words, Tab to the list, Space,
    // back to the field for other words, Tab, Space, Tab to "Valider", Space; both signs
    // are recorded and the ranking follows.
    void recordingByKeyboardAlone()
    {
        Window win(freshIni(), m_db);
        MainWindow &w = *win.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        bool opened = false;
        QTimer::singleShot(0, &w, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            // A failed check must not leave the dialog waiting.
            const auto close = qScopeGuard([dialog] {
                if (dialog->isVisible())
                    dialog->reject();
            });
            opened = true;
            QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Recherche"));
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("poids neu"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            // A second search in the same opening: back to the field, new words.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("sept"));
            for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Tab, Qt::Key_Space})
                QTest::keyClick(QApplication::focusWidget(), key);
        });
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(opened);
        QCOMPARE(w.signes()->entries(), (QList<ListEntry>{{QStringLiteral("Signe de poids neuf (9)"), 12},
                                                          {QStringLiteral("Signe de poids sept (7)"), 13}}));
        QTRY_COMPARE(w.syndromes()->text(0), QStringLiteral("Chaleur  (16)"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
