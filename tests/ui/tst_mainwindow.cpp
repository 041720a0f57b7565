#include "ActivationTracker.h"
#include "AppSettings.h"
#include "Beep.h"
#include "CategoryMap.h"
#include "Contrast.h"
#include "JetImport.h"
#include "MainLayout.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "TestSupport.h"
#include "UiTest.h"
#include "WindowPlacement.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMoveEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QToolBar>

// The main window as start-up leaves it: menus, method boxes, the body map, the ranking
// with its tips and look-ups, and its place and layout on real sizes.
class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db = TestSupport::makeDatabase(m_dir, QStringLiteral("ranking.sql"));
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<MainWindow> m_w;

    // A window on the stored methods, read as start-up reads them.
    void open(const QString &db)
    {
        // A toolbar with a button, so that it takes its height.
        const auto toolBar = [](QWidget *parent) {
            auto *bar = new QToolBar(parent);
            bar->addAction(QStringLiteral("Nouveau"));
            return bar;
        };
        m_w.reset();
        m_w = std::make_unique<MainWindow>(toolBar, *m_settings, m_settings->readMethods());
        m_w->setDatabaseName(db);
    }
    bool shown()
    {
        m_w->show();
        return QTest::qWaitForWindowActive(m_w.get());
    }
    static QString title(QDialog *dialog) { return dialog->findChild<QLabel *>(QStringLiteral("Titre"))->text(); }
    // The title of the dialog that a label of the map opens, or a picture.
    static QString listOf(bool label)
    {
        return QStringLiteral("Liste des %1 pour la catégorie sélectionnée").arg(label ? "modalités" : "symptômes");
    }
    static QString twips(const QRectF &r)
    {
        return QString::asprintf("%.1f %.1f %.1f %.1f", r.x(), r.y(), r.width(), r.height());
    }

private slots:
    void initTestCase() { MessageBox::setTesting(true); }
    void init()
    {
        static int n = 0;
        m_settings = std::make_unique<AppSettings>(m_dir.filePath(QStringLiteral("settings%1.ini").arg(++n)));
        open(m_db);
        MessageBox::takeShown();
    }
    void cleanup() { m_w.reset(); }

    // The window as it opens, never shown: its menus, its first signs, its method boxes.
    void menusSignsAndMethods()
    {
        // Every menu with its items in order, their shortcuts, "off" when disabled.
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Tessavor chinois"));
        QStringList menus;
        for (QAction *menu : m_w->menuBar()->actions()) {
            QStringList items;
            for (QAction *a : menu->menu()->actions())
                items << (a->isSeparator() ? "-" : a->text()) +
                             (a->shortcut().isEmpty() ? "" : " " + a->shortcut().toString()) +
                             (a->isEnabled() ? "" : " off");
            menus << menu->text() + (menu->isEnabled() ? ": " : " off: ") + items.join(" | ");
        }
        QStringList expected{
            "&Fichier: &Nouveau Ctrl+N | &Ouvrir Ctrl+O off | &Enregistrer Ctrl+S off | - | &Régénérer la base | - "
            "| &Mise en page... | &Imprimer... Ctrl+P | E&xporter en PDF... Ctrl+Shift+P | - | &Quitter Ctrl+Q",
            "Editi&on: &Rechercher un signe... Ctrl+F | &Couper Ctrl+X | &Annuler la suppression Ctrl+Z off | Signes "
            "à &vérifier... Ctrl+D",
            "Aff&ichage: Barre d'&outils | Barre d'&état", "&Gestion off: &Carnet | &Visites",
            "&?: &Sommaire F1 | À &propos de Tessavor..."};
        if (JetImport::isAvailable()) // the import reads Access files, which a build may not
            expected[0].replace("la base |", "la base | Impor&ter une base Access... |");
        QCOMPARE(menus, expected);

        // Valider ranks at once, without waiting for the window to become active again (this
        // one is never shown); Annuler changes nothing.
        for (int button : {1, 0})
            QVERIFY(UiTest::whileModal(
                [&] { m_w->openModalities(QStringLiteral("Pouls"), ModalityChoice::forCategory(43)); },
                [&](QDialog *dialog) {
                    UiTest::click(dialog->findChild<ItemList *>("ListeModalités"), 0); // Signe de poids neuf
                    dialog->findChild<QPushButton *>(QStringLiteral("Choix_%1").arg(button))->click();
                }));
        QCOMPARE(m_w->signes()->entries(), (QList<ListEntry>{{"Signe de poids neuf (9)", 12}}));
        QCOMPARE(m_w->syndromes()->count(), 3);

        // A stored method other than "0" reads as chosen, a missing one too: box and ranking
        // alike, a stored 2 written back as 1 once its box changes. All five off: box 1 comes
        // back, stored, and that is told with a beep.
        const auto read = [this](const QStringList &stored) {
            for (int m = 1; m <= 5; ++m)
                if (!stored[m - 1].isEmpty() && !m_settings->setRawValue(AppSettings::methodKey(m), stored[m - 1]))
                    return QStringLiteral("not stored");
            open(m_db);
            QString ticked; // box and method, for each method
            for (int m = 1; m <= 5; ++m)
                ticked += QString::number(int(m_w->methodBox(m)->isChecked())) + QString::number(m_w->methods()[m]);
            return ticked;
        };
        const int beeps = Beep::count();
        QCOMPARE(read({"abc", "0", "", "", ""}), QStringLiteral("1100111111"));
        QCOMPARE(read({"0", "2", "0", "0", "0"}), QStringLiteral("0011000000"));
        m_w->setRecordedSigns({{"Signe de poids neuf (9)", 12}});
        QCOMPARE(m_w->syndromes()->entries(), (QList<ListEntry>{{"Chaleur  (9)", 2}}));
        QCOMPARE(m_settings->rawValue(AppSettings::methodKey(2)), QStringLiteral("2"));
        m_w->methodBox(1)->setChecked(true);
        m_w->methodBox(2)->setChecked(false);
        m_w->methodBox(2)->setChecked(true);
        QCOMPARE(m_settings->rawValue(AppSettings::methodKey(2)), QStringLiteral("1"));
        QVERIFY(MessageBox::takeShown().isEmpty() && Beep::count() == beeps);

        QCOMPARE(read({"0", "0", "0", "0", "0"}), QStringLiteral("1100000000"));
        QCOMPARE(Beep::count() - beeps, 1);
        const auto shown = MessageBox::takeShown();
        QCOMPARE(std::tuple(shown.size(), shown.value(0).title, shown.value(0).icon),
                 std::tuple(qsizetype(1), QStringLiteral("Erreur de manipulation"), MessageBox::Icon::Exclamation));
        QCOMPARE(m_settings->rawValue(AppSettings::methodKey(1)), QStringLiteral("1"));
    }

    // Hovering a ranked syndrome, or reaching it with the keyboard, tells the recorded signs
    // that support it and their sum: the sum the ranking shows; a screen reader reads the
    // same as the entry's description; a recorded sign tells its category and weight. A
    // double-click or Enter on either list opens the dialog on the other side of the link.
    // A method box unticked ranks again and is stored.
    void rankingTipsAndLookUps()
    {
        QVERIFY(shown());
        m_w->setRecordedSigns({{"Signe de poids neuf (9)", 12}, {"Signe de poids sept (7)", 13}});
        ItemList *syndromes = m_w->syndromes();
        QCOMPARE(syndromes->count(), 3);
        const QRegularExpression sum(QStringLiteral("\\((\\d+)\\)$")), told(QStringLiteral("— somme (\\d+)\\."));
        for (int i = 0; i < syndromes->count(); ++i) {
            const QString tip = UiTest::hover(syndromes, i);
            QVERIFY2(tip.contains("<b>" + syndromes->text(i).toHtmlEscaped() + "</b>"), qPrintable(tip));
            QCOMPARE(told.match(tip).captured(1), sum.match(syndromes->text(i)).captured(1));
            const QString read =
                QAccessible::queryAccessibleInterface(syndromes)->child(i)->text(QAccessible::Description);
            QVERIFY2(!read.isEmpty() && tip.contains(read.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"))),
                     qPrintable(read));
        }
        syndromes->setFocus();
        syndromes->setCurrentRow(0);
        QToolTip::hideText();
        QTest::keyClick(syndromes, Qt::Key_Down);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), syndromes->tipText(1));
        QVERIFY(UiTest::hover(m_w->signes(), 0).contains(QStringLiteral("Catégorie : Pouls — poids 9")));
        QToolTip::hideText();

        // "Chaleur" ranks first (16); the syndromes of a sign come in the engine's order.
        const QStringList expected[] = {
            {"Liste des syndromes pour le symptôme sélectionné", "Chaleur", "Vide de Qi", "Vide de Yin du Rein"},
            {"Liste des symptômes pour le syndrome sélectionné", "Signe de poids neuf (9)", "Signe de poids sept (7)"}};
        for (const bool byKey : {false, true})
            for (ItemList *clicked : {m_w->signes(), syndromes}) {
                QStringList seen;
                const QPoint first = clicked->entryRect(0).center();
                QVERIFY(UiTest::whileModal<ModalityDialog>(
                    [&] {
                        if (byKey) {
                            clicked->setFocus();
                            clicked->setCurrentRow(0);
                            return QTest::keyClick(clicked, Qt::Key_Return);
                        }
                        // What the window system sends for a double-click: a click, then the second press.
                        QTest::mouseClick(clicked->viewport(), Qt::LeftButton, {}, first);
                        QTest::mouseDClick(clicked->viewport(), Qt::LeftButton, {}, first);
                    },
                    [&](ModalityDialog *dialog) {
                        for (const ListEntry &row : dialog->findChild<ItemList *>("ListeModalités")->entries())
                            seen.append(row.text);
                        seen.sort();
                        seen.prepend(title(dialog));
                    }));
                if (!byKey)
                    QTest::mouseRelease(clicked->viewport(), Qt::LeftButton, {}, first); // the hand lets go
                QCOMPARE(seen, expected[clicked == syndromes]);
            }

        m_w->methodBox(2)->setChecked(false);
        QCOMPARE(syndromes->count(), 2);
        QCOMPARE(syndromes->text(0), QStringLiteral("Vide de Qi  (9)"));
        QCOMPARE(m_settings->rawValue(AppSettings::methodKey(2)), QStringLiteral("0"));

        // A tip asks the base each time; when it cannot answer, the tip says so and no window
        // opens.
        open(m_dir.filePath(QStringLiteral("absent/Signes.mdb")));
        m_w->syndromes()->setEntries({{QStringLiteral("Chaleur  (16)"), 2}});
        m_w->signes()->setEntries({{QStringLiteral("Signe de poids neuf (9)"), 12}});
        for (ItemList *list : {m_w->syndromes(), m_w->signes()})
            QVERIFY(list->tipText(0).contains(QStringLiteral("Explication indisponible")));
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    // "Signes à vérifier" by keyboard alone: Ctrl+D opens it, Space marks, Tab goes from
    // list to list to the buttons, Enter presses only the focused button; Valider records
    // the marked signs and ranks, Annuler records nothing. The tip of a leading syndrome
    // names its first signs to check.
    void signsToCheck()
    {
        QVERIFY(shown());
        const auto openByKey = [this] { QTest::keyClick(m_w.get(), Qt::Key_D, Qt::ControlModifier); };
        QVERIFY(UiTest::whileModal(openByKey, [&](QDialog *dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("frmAVerifier"));
            QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("Groupes"))->text(),
                     QStringLiteral("Aucun syndrome n'est classé : relevez d'abord des signes."));
            QVERIFY(!dialog->findChild<QPushButton *>(QStringLiteral("Choix_0"))->isEnabled());
        }));

        // Vide de Qi 10, then Chaleur and Vide de Yin du Rein 9: all three lead. Sign 10
        // is Vide de Qi's alone, 13 Chaleur's; Vide de Yin du Rein has nothing left.
        const QList<ListEntry> signes{{"Signe de poids un (1)", 11}, {"Signe de poids neuf (9)", 12}};
        m_w->setRecordedSigns(signes);
        ItemList *syndromes = m_w->syndromes();
        QCOMPARE(syndromes->text(0), QStringLiteral("Vide de Qi  (10)"));
        QVERIFY(UiTest::hover(syndromes, 0).endsWith(QStringLiteral("<br>À vérifier : Signe de poids six (6).</p>")));
        for (int i : {1, 2})
            QCOMPARE(UiTest::hover(syndromes, i).contains(QStringLiteral("À vérifier")), syndromes->itemData(i) == 2);
        QToolTip::hideText();

        for (bool valider : {false, true}) {
            // The shortcut reaches only the active window, which it is again once a window closed.
            QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
            QVERIFY(UiTest::whileModal(openByKey, [&](QDialog *dialog) {
                const QList<ItemList *> lists = dialog->findChildren<ItemList *>();
                QCOMPARE(lists.size(), 2);
                QCOMPARE(QAccessible::queryAccessibleInterface(lists[1])->child(0)->text(QAccessible::Name),
                         QStringLiteral("Signe de poids sept (7), pour Chaleur"));
                // Keys go where the focus is once the dialog has it.
                QTRY_COMPARE(QApplication::activeWindow(), dialog);
                for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Tab, Qt::Key_Space}) // Return: not yet
                    QTest::keyClick(QApplication::focusWidget(), key);
                QVERIFY(lists[0]->isMarked(0) && lists[1]->isMarked(0) && dialog->isVisible());
                for (int tabs = valider ? 1 : 2; tabs > 0; --tabs)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Choix_%1").arg(int(!valider)));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QVERIFY(!dialog->isVisible());
            }));
            if (!valider)
                QCOMPARE(m_w->signes()->entries(), signes);
        }
        QCOMPARE(m_w->signes()->entries(),
                 signes + QList<ListEntry>({{"Signe de poids six (6)", 10}, {"Signe de poids sept (7)", 13}}));
        QVERIFY(syndromes->text(0).endsWith(QStringLiteral("(16)"))); // ranked again
    }

    // The outer size, frame included, is 12000 × 9000 twips (800 × 600 pixels) centred on
    // the screen's available area; a screen too small gets the window inside it, never at
    // a negative place, and a window never below the size it accepts. The window as the
    // window system places it on a small screen: first with no frame known, then from its
    // real frame once the shown window has one, and only that once.
    void placementLayoutAndActivation()
    {
        // The screen's available area, then the frame's top-left corner and the client size.
        for (auto [available, corner, client] :
             {std::tuple{QRect(1280, 32, 1920, 1048), QPoint(1840, 256), QSize(792, 572)}, // a second screen, a panel
              {QRect(0, 0, 1024, 560), QPoint(112, 0), QSize(792, 532)},                   // too small one way
              {QRect(100, 50, 300, 200), QPoint(100, 50), QSize(360, 250)}}) {             // below the size it accepts
            const auto p = WindowPlacement::place(QSize(800, 600), QMargins(4, 24, 4, 4), available, QSize(360, 250));
            QCOMPARE(std::pair(p.framePosition, p.clientSize), std::pair(corner, client));
        }

        WindowPlacement::setAvailableAreaForTesting(QRect(0, 0, 640, 488));
        WindowPlacement::setFrameMarginsForTesting(QMargins());
        auto restore = qScopeGuard([] {
            WindowPlacement::setAvailableAreaForTesting(std::nullopt);
            WindowPlacement::setFrameMarginsForTesting(std::nullopt);
        });
        MainWindow w({}, *m_settings, m_settings->readMethods());
        QCOMPARE(w.geometry(), QRect(0, 0, 640, 488));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        WindowPlacement::setFrameMarginsForTesting(QMargins(4, 24, 4, 4));
        QMoveEvent framed(w.pos(), w.pos());
        QCoreApplication::sendEvent(&w, &framed);
        QCOMPARE(w.size(), QSize(632, 460));
        WindowPlacement::setFrameMarginsForTesting(QMargins(8, 30, 8, 8));
        QCoreApplication::sendEvent(&w, &framed);
        QCOMPARE(w.size(), QSize(632, 460));

        // The layout pass's arithmetic, with and without the toolkit's rounding to pixels.
        // W = 11880, H = 8310, T = 420, S = 360: each list 200 in from its frame's sides and
        // 300 below its top, Liste ending 10 beyond the inner width, Méthodes 2540 wide whatever
        // the width and ending 20 before the right edge.
        const MainLayout l = MainLayout::compute(11880, 8310, 420, 360);
        QCOMPARE(twips(l.carte), QStringLiteral("0.0 420.0 5165.2 7530.0"));
        QCOMPARE(twips(l.imageCarte), QStringLiteral("200.0 300.0 4765.2 7030.0"));
        QCOMPARE(twips(l.liste), QStringLiteral("5185.2 420.0 6704.8 3765.0"));
        QCOMPARE(twips(l.symptomes), QStringLiteral("5185.2 4185.0 4114.8 3765.0"));
        QCOMPARE(twips(l.signes), QStringLiteral("200.0 300.0 3714.8 3265.0"));
        QCOMPARE(twips(l.methodes), QStringLiteral("9320.0 4185.0 2540.0 3765.0"));
        for (double width : {6000.0, 28800.0})
            QCOMPARE(MainLayout::compute(width, 9000, 420, 360).methodes.width(), 2540.0);

        // Rounded to whole pixels, each value read back within the pass is the rounded one.
        const MainLayout rounded = MainLayout::compute(11880, 8310, 420, 360, 15);
        QCOMPARE(twips(rounded.carte), QStringLiteral("0.0 420.0 5160.0 7530.0"));
        QCOMPARE(twips(rounded.imageCarte), QStringLiteral("195.0 300.0 4770.0 7035.0"));

        // Tiny windows never give negative sizes.
        for (auto [width, height] : {std::pair{3000.0, 9000.0}, {12000.0, 900.0}, {0.0, 0.0}}) {
            const MainLayout t = MainLayout::compute(width, height, 420, 360, 15);
            for (const QRectF &r : {t.carte, t.imageCarte, t.liste, t.syndromes, t.symptomes, t.signes, t.methodes})
                QVERIFY(r.width() >= 0 && r.height() >= 0);
        }
        // The window's minimum size needs no clamping at all.
        const MainLayout smallest =
            MainLayout::compute(MainLayout::minimumInnerWidth(), MainLayout::minimumMapHeight() + 780, 420, 360);
        QVERIFY(smallest.signes.width() > 0 && smallest.signes.height() > 0 && smallest.imageCarte.height() > 0);

        // The window is active again on its first display and on a return from a window of
        // ours only: not from another application, nor from a message box (an answer, not a
        // window worked in).
        using W = ActivationTracker::Window;
        ActivationTracker t;
        QString activated;
        for (W to : {W::Main, W::None, W::Main, W::Other, W::Main, W::MessageBox, W::Main})
            activated += t.focusChanged(to) ? '1' : '0';
        QCOMPARE(activated, QStringLiteral("1000100"));
    }

    // Tab goes through the map, the ranked syndromes, the recorded signs and the five
    // methods, and round again; every control a screen reader meets has a name of its own
    // (the map's labels and pictures, the drawing, the lists, the method boxes).
    void keyboardScreenReaderAndMap()
    {
        QVERIFY(shown());
        m_w->syndromes()->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(visited,
                 QStringList({"Syndromes", "Signes", "OptionsMéthodes_1", "OptionsMéthodes_2", "OptionsMéthodes_3",
                              "OptionsMéthodes_4", "OptionsMéthodes_5", "ImageCarte", "Syndromes"}));

        QSet<QString> names;
        for (QWidget *control : m_w->centralWidget()->findChildren<QWidget *>()) {
            const bool read = qobject_cast<QAbstractItemView *>(control) || qobject_cast<QAbstractButton *>(control) ||
                              qobject_cast<QLabel *>(control) || control->inherits("QSvgWidget");
            if (!read || !control->isVisible() || control->parentWidget()->inherits("QStatusBar"))
                continue;
            // Without a name of its own a control reads its frame's title: a name that tells
            // nothing apart.
            const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).trimmed();
            QVERIFY2(!name.isEmpty() && !names.contains(name), qPrintable(control->objectName()));
            names.insert(name);
        }
        QVERIFY(names.size() >= 39 + 5 + 1 + 2 + 5);

        // Text reads at 4.5:1 at least: the ranked syndromes' red stays red, and dimmed text
        // (a category beside a sign, a hint) fades no further than that.
        const QPalette ranked = m_w->syndromes()->palette();
        const QColor red = ranked.color(QPalette::Text), base = ranked.color(QPalette::Base);
        QVERIFY(Contrast::ratio(red, base) >= 4.5 && red.red() > 4 * std::max(red.green(), red.blue()));
        const QColor dimmed = Contrast::dimmed(ranked.color(QPalette::WindowText), base);
        QVERIFY(Contrast::ratio(dimmed, base) >= 4.5 && Contrast::ratio(dimmed, base) < 4.7);

        // The map is one stop: the arrows walk its 44 regions in reading order (by the top of
        // each, then its left), Home and End reach the ends, a frame shows the region reached,
        // and Enter or Space opens it as a click does. A screen reader meets each region as a
        // button named by its caption, with a press that opens it. What opens is the region's
        // category, titled by the kind of region.
        CategoryMap *map = m_w->categoryMap();
        const QList<QWidget *> order = map->readingOrder();
        QCOMPARE(order.size(), 44);
        for (qsizetype k = 1; k < order.size(); ++k) {
            const QPoint a = order[k - 1]->pos(), b = order[k]->pos();
            QVERIFY2(a.y() < b.y() || (a.y() == b.y() && a.x() <= b.x()), qPrintable(order[k]->objectName()));
        }
        map->keyboardStop()->setFocus(Qt::TabFocusReason);
        QCOMPARE(map->currentRegion(), order.first());
        QVERIFY(map->focusFrame()->isVisible());
        QStringList walked;
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_End, Qt::Key_Down, Qt::Key_Left,
                            Qt::Key_Home, Qt::Key_Up}) {
            QTest::keyClick(map->keyboardStop(), key);
            QVERIFY(map->focusFrame()->geometry().contains(map->currentRegion()->geometry()));
            walked.append(QString::number(order.indexOf(map->currentRegion())));
        }
        QCOMPARE(walked.join(' '), QStringLiteral("1 2 1 43 43 42 0 0"));

        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
            QTest::keyClick(map->keyboardStop(), Qt::Key_Right);
            const bool label = map->currentRegion()->inherits("QLabel");
            QVERIFY(UiTest::whileModal([&] { QTest::keyClick(map->keyboardStop(), key); },
                                       [&](QDialog *dialog) { QCOMPARE(title(dialog), listOf(label)); }));
        }
        QTest::keyClick(map->keyboardStop(), Qt::Key_Tab);
        QVERIFY(!map->focusFrame()->isVisible());

        const QString press = QAccessibleActionInterface::pressAction();
        for (QWidget *region : order) {
            QAccessibleInterface *read = QAccessible::queryAccessibleInterface(region);
            QCOMPARE(read->role(), QAccessible::Button);
            const auto *label = qobject_cast<QLabel *>(region);
            QCOMPARE(read->text(QAccessible::Name), label ? label->text() : region->toolTip());
            QCOMPARE(read->actionInterface()->actionNames(), QStringList{press});
        }
        // A click on a label or a picture, or a screen reader's press, opens its category.
        const auto opens = [&](int categorie, const std::function<void()> &act) {
            ModalityChoice listed = ModalityChoice::forCategory(categorie);
            listed.load(m_w->listeValeurs());
            QVERIFY(UiTest::whileModal(act, [&](QDialog *dialog) {
                QCOMPARE(title(dialog), listOf(categorie != 62));
                QCOMPARE(dialog->findChild<ItemList *>("ListeModalités")->entries(), listed.entries());
            }));
        };
        opens(43, [&] { QTest::mouseClick(map->label(43), Qt::LeftButton, {}, QPoint(4, 4)); });
        opens(62, [&] { QTest::mouseClick(map->picture(62), Qt::LeftButton, {}, QPoint(4, 4)); });
        opens(62, [&] {
            QAccessible::queryAccessibleInterface(map->picture(62))->actionInterface()->doAction(press);
            QCoreApplication::sendPostedEvents();
        });

        // One label of the map at a time is red; a picture leaves it red, the bare drawing (the
        // middle of the belly) clears it. (A label set to the colour it has is not repainted:
        // the toolkit drops a palette equal to the one in place.) Doubling the drawing's width
        // doubles every label's and picture's distance from the frame's corner, and each leader
        // still joins its label to a region of the drawing. The map takes 1/2.3 of the width
        // below the toolbar; hiding the toolbar leaves its band, and the next layout pass, on a
        // new size, keeps the frames below it.
        const auto lit = [map] {
            QList<int> reds;
            for (int index : CategoryMap::labelIndexes())
                if (map->label(index)->palette().color(map->label(index)->foregroundRole()) == QColor(255, 0, 0))
                    reds.append(index);
            return reds;
        };
        const QRectF image = map->imageGeometry(), picture = map->pictureGeometry(3);
        QMap<int, QRectF> before;
        for (int index : CategoryMap::labelIndexes()) {
            const QLabel *label = map->label(index); // every caption shows whole
            QVERIFY2(QFontMetricsF(label->font()).horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
            before[index] = map->labelGeometry(index);
        }
        QTest::mouseMove(map->label(18), QPoint(5, 5));
        QTest::mouseMove(map->label(19), QPoint(5, 5));
        QCOMPARE(lit(), QList<int>{19});
        QTest::mouseMove(map->picture(62), QPoint(5, 5));
        QCOMPARE(lit(), QList<int>{19});
        const QPoint belly(int(map->imageCarte()->width() * 0.46), int(map->imageCarte()->height() * 0.55));
        QCOMPARE(map->imageCarte()->parentWidget()->childAt(map->imageCarte()->mapToParent(belly)), map->imageCarte());
        QTest::mouseMove(map->imageCarte(), belly);
        QCOMPARE(lit(), QList<int>{});

        // The drawing is the frame's width less 400 twips, the frame 1/2.3 of the window.
        const double carteWidth = 2 * image.width() + 400;
        m_w->resize(int(carteWidth * 2.3 / 15) + 1 + (m_w->width() - m_w->centralWidget()->width()), m_w->height());
        QTRY_VERIFY(map->imageGeometry().width() > 1.9 * image.width());
        const double factor = map->imageGeometry().width() / int(image.width());
        QVERIFY(qAbs(factor - 2) < 0.01);
        for (int index : CategoryMap::labelIndexes())
            QVERIFY2(qAbs(map->labelGeometry(index).x() - before[index].x() * factor) < 0.01,
                     qPrintable(QString::number(index)));
        const QSizeF off = map->pictureGeometry(3).size() - picture.size() * factor;
        QVERIFY(qAbs(off.width()) + qAbs(off.height()) < 0.01);
        QVERIFY(map->leaders().size() >= 20);
        for (const CategoryMap::Leader &leader : map->leaders()) {
            for (int k = 0; k < leader.labels.size(); ++k)
                QVERIFY(QRectF(map->label(leader.labels[k])->geometry()).contains(leader.strokes[k].first()));
            QVERIFY(QRectF(map->imageCarte()->geometry()).contains(leader.region));
            QCOMPARE(leader.strokes.last().last(), leader.region);
        }

        auto *carte = m_w->findChild<QGroupBox *>(QStringLiteral("Carte"));
        const int top = m_w->toolBar()->height(), width = carte->width();
        QVERIFY(top > 0);
        QCOMPARE(carte->y(), top);
        const QRect liste = m_w->findChild<QGroupBox *>(QStringLiteral("Liste"))->geometry();
        QVERIFY(qAbs(liste.right() + 1 - m_w->centralWidget()->width()) <= 2); // 10 twips past the edge
        m_w->toolBar()->hide();
        m_w->resize(m_w->width() - 150, m_w->height());
        QTRY_VERIFY(carte->width() < width);
        QVERIFY(qAbs(carte->width() - m_w->centralWidget()->width() / 2.3) <= 1);
        QCOMPARE(carte->y(), top);
    }

    // An empty list says where to start, drawn over it and read as its description: the
    // recorded signs while there are none, the ranked syndromes when signs reach none.
    void emptyListsUndoAndClosing()
    {
        const QString start = QStringLiteral("Cliquez une région du corps, ou Ctrl+F pour chercher un signe."),
                      none = QStringLiteral("Aucun syndrome ne dépasse 6 avec les signes relevés.");
        ItemList *signes = m_w->signes(), *syndromes = m_w->syndromes();
        const QString usual = syndromes->accessibleDescription();
        const auto state = [&] {
            QStringList seen;
            for (ItemList *list : {signes, syndromes})
                seen.append(list->isHintShown()
                                ? QAccessible::queryAccessibleInterface(list)->text(QAccessible::Description)
                                : QString());
            return seen;
        };
        QCOMPARE(state(), (QStringList{start, QString()}));
        m_w->setRecordedSigns({{QStringLiteral("Signe de poids un (1)"), 11}});
        QCOMPARE(state(), (QStringList{QString(), none})); // the hint shows on an empty list only
        m_w->setRecordedSigns({{QStringLiteral("Signe de poids neuf (9)"), 12}});
        QVERIFY(syndromes->count() > 0);
        QCOMPARE(state(), (QStringList{QString(), QString()}));
        QCOMPARE(syndromes->accessibleDescription(), usual);
        m_w->setRecordedSigns({});
        QCOMPARE(state(), (QStringList{start, QString()}));
        // An empty visit closes without a question.
        QVERIFY(shown());
        m_w->actions().fileExit->trigger();
        QVERIFY(MessageBox::takeShown().isEmpty() && !m_w->isVisible());

        // What a removal took comes back with Ctrl+Z, each sign at its place (a sign recorded
        // since is kept), once; "Annuler la suppression" is disabled while there is nothing to
        // bring back, and after the base changed.
        const ListEntry un{"Signe de poids un (1)", 11}, six{"Signe de poids six (6)", 10},
            neuf{"Signe de poids neuf (9)", 12}, sept{"Signe de poids sept (7)", 13};
        QAction *annuler = m_w->actions().editAnnuler;
        m_w->setRecordedSigns({un, six, neuf});
        QVERIFY(!annuler->isEnabled());
        m_w->removeRecordedSigns({un});
        QVERIFY(annuler->isEnabled());
        m_w->setRecordedSigns({un, sept, neuf});
        QVERIFY(annuler->isEnabled());
        annuler->trigger();
        QCOMPARE(m_w->signes()->entries(), (QList<ListEntry>{un, six, sept, neuf}));
        QCOMPARE(m_w->syndromes()->count(), 3); // ranked again
        QVERIFY(!annuler->isEnabled());
        annuler->trigger();
        QCOMPARE(m_w->signes()->count(), 4);

        m_w->removeRecordedSigns({});
        QVERIFY(annuler->isEnabled());
        m_w->setRecordedSigns({un, six, sept, neuf}); // all of them recorded again
        QVERIFY(!annuler->isEnabled());
        m_w->removeRecordedSigns({un});
        m_w->knowledgeBaseChanged();
        QVERIFY(!annuler->isEnabled());
        annuler->trigger();
        QCOMPARE(m_w->signes()->entries(), QList<ListEntry>{un});

        // Closing with signs recorded asks first, "1 signe" in the singular.
        QVERIFY(shown());
        MessageBox::takeShown();
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        m_w->actions().fileExit->trigger();
        const QList<MessageBox::Shown> asked = MessageBox::takeShown();
        QCOMPARE(std::tuple(asked.size(), asked.value(0).buttons, asked.value(0).icon),
                 std::tuple(qsizetype(1), MessageBox::Buttons::OkCancel, MessageBox::Icon::Question));
        QCOMPARE(asked[0].text, QStringLiteral("La visite en cours (1 signe) sera perdue. Quitter Tessavor ?"));
        QVERIFY(!m_w->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
