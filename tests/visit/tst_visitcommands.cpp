#include "DataSource.h"
#include "ItemList.h"
#include "MessageBox.h"
#include "PrintDialogs.h"
#include "Ranking.h"
#include "TestSupport.h"
#include "VisitCommands.h"
#include "VisitToolBar.h"

#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>

using Entries = QList<ListEntry>;

// The commands on the current visit, driven as the main window drives them, on lists of its
// own kind and the ranking on the small fixture.
class TestVisitCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

    std::unique_ptr<QWidget> m_window;
    ItemList *m_signes = nullptr;
    ItemList *m_syndromes = nullptr;
    QWidget *m_toolBar = nullptr;
    QWidget *m_statusBar = nullptr;
    QAction *m_viewToolbar = nullptr;
    QAction *m_viewStatusBar = nullptr;
    std::unique_ptr<DataSource> m_classement;
    int m_rankings = 0;
    std::unique_ptr<VisitCommands> m_commands;

    void rank()
    {
        ++m_rankings;
        m_syndromes->setEntries(Ranking::classerSyndromes(*m_classement, m_signes->entries(), {0, 1, 1, 1, 1, 1}));
    }

    static QAction *viewItem(QWidget *window, const QString &name)
    {
        auto *action = new QAction(name, window);
        action->setCheckable(true);
        action->setChecked(true);
        return action;
    }

    static const Entries &threeSigns()
    {
        static const Entries signs{{QStringLiteral("abcès (9)"), 203},
                                   {QStringLiteral("Zona (9)"), 201},
                                   {QStringLiteral("écoulement (9)"), 202}};
        return signs;
    }

    void record(const Entries &signs)
    {
        m_signes->setEntries(signs);
        rank();
        m_rankings = 0;
    }

private slots:
    void initTestCase()
    {
        QApplication::setApplicationName(QStringLiteral("Tessavor"));
        MessageBox::setTesting(true);
        m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"));
    }

    void init()
    {
        PrintDialogs::setTesting(true);
        MessageBox::takeShown();
        m_window = std::make_unique<QWidget>();
        m_signes = new ItemList(m_window.get());
        m_syndromes = new ItemList(m_window.get());
        m_toolBar = new QWidget(m_window.get());
        m_statusBar = new QWidget(m_window.get());
        m_viewToolbar = viewItem(m_window.get(), QStringLiteral("Barre d'&outils"));
        m_viewStatusBar = viewItem(m_window.get(), QStringLiteral("Barre d'&état"));
        m_classement = std::make_unique<DataSource>();
        m_classement->setDatabaseName(m_path);
        m_rankings = 0;
        m_commands =
            std::make_unique<VisitCommands>(VisitTarget{m_window.get(), m_signes, m_syndromes, [this] { rank(); },
                                                        m_toolBar, m_statusBar, m_viewToolbar, m_viewStatusBar, m_path},
                                            false);
    }

    void cleanup()
    {
        m_commands.reset();
        m_window.reset();
    }

    void save_data()
    {
        QTest::addColumn<Entries>("signs");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing recorded") << Entries{} << QStringLiteral("Il n'y a rien à sauvegarder !");
        QTest::newRow("one sign") << Entries{threeSigns().first()} << QStringLiteral("Pas de visite en cours !");
        QTest::newRow("three signs") << threeSigns() << QStringLiteral("Pas de visite en cours !");
    }

    void save()
    {
        QFETCH(Entries, signs);
        QFETCH(QString, message);
        record(signs);
        const Entries ranked = m_syndromes->entries();
        const int beeps = Beep::count();
        m_commands->save();
        QCOMPARE(Beep::count(), beeps + 1);
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).text, message);
        QCOMPARE(shown.at(0).title, QStringLiteral("Erreur de manipulation"));
        QCOMPARE(shown.at(0).buttons, MessageBox::Buttons::Ok);
        QCOMPARE(shown.at(0).icon, MessageBox::Icon::Critical);
        QCOMPARE(m_signes->entries(), signs);
        QCOMPARE(m_syndromes->entries(), ranked);
    }

    void cut_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<Entries>("remaining");
        QTest::addColumn<int>("rankings");
        QTest::newRow("no selection") << -1 << threeSigns() << 0;
        QTest::newRow("first") << 0 << Entries{threeSigns().at(1), threeSigns().at(2)} << 1;
        QTest::newRow("middle") << 1 << Entries{threeSigns().at(0), threeSigns().at(2)} << 1;
        QTest::newRow("last") << 2 << Entries{threeSigns().at(0), threeSigns().at(1)} << 1;
    }

    // Exactly the selected sign goes, the syndromes are ranked again from the others, and
    // nothing stays selected, so a second Cut does nothing.
    void cut()
    {
        QFETCH(int, selected);
        QFETCH(Entries, remaining);
        QFETCH(int, rankings);
        record(threeSigns());
        if (selected >= 0)
            m_signes->setCurrentRow(selected);
        QCOMPARE(m_signes->selectedIndex(), selected);

        m_commands->cut();
        QCOMPARE(m_signes->entries(), remaining);
        QCOMPARE(m_rankings, rankings);
        QCOMPARE(m_signes->selectedIndex(), -1);
        QCOMPARE(m_syndromes->entries(), Ranking::classerSyndromes(*m_classement, remaining, {0, 1, 1, 1, 1, 1}));

        m_commands->cut();
        QCOMPARE(m_signes->entries(), remaining);
        QCOMPARE(m_rankings, rankings);
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    void cutOfTheLastSign()
    {
        record({threeSigns().first()});
        QVERIFY(m_syndromes->count() > 0);
        // A fresh source: any query would leave its statement there.
        m_classement = std::make_unique<DataSource>();
        m_classement->setDatabaseName(m_path);
        m_signes->setCurrentRow(0);
        m_commands->cut();
        QCOMPARE(m_signes->count(), 0);
        QCOMPARE(m_syndromes->count(), 0);
        QCOMPARE(m_rankings, 1);
        QVERIFY(m_classement->recordSource().isEmpty());
    }

    void newVisit_data()
    {
        QTest::addColumn<MessageBox::Answer>("answer");
        QTest::addColumn<bool>("emptied");
        QTest::newRow("OK") << MessageBox::Answer::Ok << true;
        QTest::newRow("Cancel") << MessageBox::Answer::Cancel << false;
    }

    void newVisit()
    {
        QFETCH(MessageBox::Answer, answer);
        QFETCH(bool, emptied);
        record(threeSigns());
        const Entries ranked = m_syndromes->entries();
        QVERIFY(!ranked.isEmpty());
        MessageBox::setNextAnswer(answer);
        m_commands->newVisit();

        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).text, QStringLiteral("Nouvelle Visite?"));
        QCOMPARE(shown.at(0).title, QStringLiteral("Tessavor"));
        QCOMPARE(shown.at(0).buttons, MessageBox::Buttons::OkCancel);
        QCOMPARE(shown.at(0).icon, MessageBox::Icon::Question);
        QCOMPARE(m_signes->entries(), emptied ? Entries{} : threeSigns());
        QCOMPARE(m_syndromes->entries(), emptied ? Entries{} : ranked);
        // Emptied, not ranked again.
        QCOMPARE(m_rankings, 0);
    }

    void toolbarKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("message"); // the box shown, if any
        QTest::addColumn<int>("beeps");
        QTest::addColumn<int>("signsLeft");
        QTest::newRow("New") << "New"
                             << "Nouvelle Visite?" << 0 << 0;
        QTest::newRow("Open") << "Open"
                              << "" << 1 << 3;
        QTest::newRow("Save") << "Save"
                              << "Pas de visite en cours !" << 1 << 3;
        QTest::newRow("Print") << "Print"
                               << "Impression de la visite en cours?" << 0 << 3;
        QTest::newRow("Cut") << "Cut"
                             << "" << 0 << 2;
        QTest::newRow("Carnet") << "Carnet"
                                << "" << 0 << 3;
        QTest::newRow("Visites") << "Visites"
                                 << "" << 0 << 3;
        QTest::newRow("wrong case") << "new"
                                    << "" << 0 << 3;
        QTest::newRow("upper case") << "SAVE"
                                    << "" << 0 << 3;
        QTest::newRow("trailing blank") << "Cut "
                                        << "" << 0 << 3;
        QTest::newRow("tooltip") << "Nouveau"
                                 << "" << 0 << 3;
        QTest::newRow("empty") << ""
                               << "" << 0 << 3;
    }

    void toolbarKeys()
    {
        QFETCH(QString, key);
        QFETCH(QString, message);
        QFETCH(int, beeps);
        QFETCH(int, signsLeft);
        record(threeSigns());
        m_signes->setCurrentRow(0);
        // New goes on (unqueued boxes answer OK); Print stops at its confirmation.
        if (key == QLatin1String("Print"))
            MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
        const int before = Beep::count();
        m_commands->toolbarClicked(key);
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(shown.at(0).text, message);
        QCOMPARE(Beep::count(), before + beeps);
        QCOMPARE(m_signes->count(), signsLeft);
        QVERIFY(PrintDialogs::takeShown().isEmpty());
    }

    void toggles_data()
    {
        QTest::addColumn<bool>("statusBar");
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("toolbar, called") << false << false;
        QTest::newRow("toolbar, from its menu item") << false << true;
        QTest::newRow("status bar, called") << true << false;
        QTest::newRow("status bar, from its menu item") << true << true;
    }

    // Twice returns the bar and its tick to the start. From the menu, Qt flips the tick
    // before the command runs; the command must still hide first.
    void toggles()
    {
        QFETCH(bool, statusBar);
        QFETCH(bool, fromMenu);
        QWidget *bar = statusBar ? m_statusBar : m_toolBar;
        QWidget *other = statusBar ? m_toolBar : m_statusBar;
        QAction *item = statusBar ? m_viewStatusBar : m_viewToolbar;
        QAction *otherItem = statusBar ? m_viewToolbar : m_viewStatusBar;
        auto command = statusBar ? &VisitCommands::toggleStatusBar : &VisitCommands::toggleToolbar;
        if (fromMenu)
            connect(item, &QAction::triggered, m_commands.get(), command);
        auto toggle = [&] {
            if (fromMenu)
                item->trigger();
            else
                (m_commands.get()->*command)();
        };
        m_window->show();

        toggle();
        QVERIFY(bar->isHidden());
        QVERIFY(!item->isChecked());
        toggle();
        QVERIFY(!bar->isHidden());
        QVERIFY(item->isChecked());
        QVERIFY(!other->isHidden());
        QVERIFY(otherItem->isChecked());
    }

    void printCancelledDoesNothing()
    {
        record(threeSigns());
        const Entries ranked = m_syndromes->entries();
        MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
        m_commands->print();
        QCOMPARE(MessageBox::takeShown().size(), 1);
        QVERIFY(PrintDialogs::takeShown().isEmpty());
        QCOMPARE(m_signes->entries(), threeSigns());
        QCOMPARE(m_syndromes->entries(), ranked);
        QVERIFY(!BusyPointer::isBusy());
    }

    void printWithoutPrinterOffersPdf()
    {
        record(threeSigns());
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        m_commands->print(); // the file picker is cancelled
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown.at(1).text.startsWith(QStringLiteral("Aucune imprimante n'est installée")));
        QVERIFY(shown.at(1).text.contains(QStringLiteral("PDF")));
        const QList<PrintDialogs::Shown> dialogs = PrintDialogs::takeShown();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs.at(0).kind, PrintDialogs::Kind::SaveFile);
        QVERIFY(dialogs.at(0).proposedPath.endsWith(QLatin1String(".pdf")));
    }

    void pageSetupOnTheSessionPrinter()
    {
        m_commands->pageSetup();
        const QList<PrintDialogs::Shown> dialogs = PrintDialogs::takeShown();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs.at(0).kind, PrintDialogs::Kind::PageSetup);
        QCOMPARE(dialogs.at(0).printer, &m_commands->sessionPrinter().printer());
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    void toolBarButtons()
    {
        VisitToolBar toolBar;
        QCOMPARE(toolBar.objectName(), QStringLiteral("tbToolBar"));
        const QList<QAction *> actions = toolBar.actions();
        const QStringList keys{"New", "Open", "Save", "", "Print", "", "Cut", "", "Carnet", "Visites"};
        const QStringList tips{"Nouveau",
                               "Ouvrir",
                               "Enregistrer",
                               "",
                               "Imprimer",
                               "",
                               "Supprimer le symptome sélectionné",
                               "",
                               "Ouvrir le carnet des clients",
                               "Ouvrir la gestion des visites"};
        QCOMPARE(actions.size(), keys.size());
        for (qsizetype i = 0; i < actions.size(); ++i) {
            QAction *action = actions.at(i);
            QCOMPARE(action->isSeparator(), keys.at(i).isEmpty());
            if (action->isSeparator())
                continue;
            QCOMPARE(action->data().toString(), keys.at(i));
            QCOMPARE(action->objectName(), keys.at(i));
            QCOMPARE(action->toolTip(), tips.at(i));
            QVERIFY(action->isEnabled());
            // Ctrl+N, Ctrl+O, Ctrl+S belong to the disabled menu items.
            QVERIFY(action->shortcut().isEmpty());
            QVERIFY2(!action->icon().pixmap(24, 24).isNull(), qPrintable(keys.at(i)));
            QCOMPARE(toolBar.button(keys.at(i)), action);
        }
    }

    // A click passes the key on; a shortcut of a disabled menu item reaches nothing.
    void toolBarClicksAndDisabledShortcuts()
    {
        auto *toolBar = new VisitToolBar(m_window.get());
        auto *menuNew = new QAction(QStringLiteral("&Nouveau"), m_window.get());
        menuNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
        menuNew->setEnabled(false);
        m_window->addAction(menuNew);
        connect(menuNew, &QAction::triggered, m_commands.get(), &VisitCommands::newVisit);
        connect(toolBar, &VisitToolBar::buttonClicked, m_commands.get(), &VisitCommands::toolbarClicked);
        QSignalSpy clicks(toolBar, &VisitToolBar::buttonClicked);
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));

        QTest::keyClick(m_window.get(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(MessageBox::takeShown().isEmpty());

        MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
        QWidget *button = toolBar->widgetForAction(toolBar->button(QStringLiteral("New")));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.at(0).at(0).toString(), QStringLiteral("New"));
        QCOMPARE(MessageBox::takeShown().size(), 1);
    }
};

QTEST_MAIN(TestVisitCommands)
#include "tst_visitcommands.moc"
