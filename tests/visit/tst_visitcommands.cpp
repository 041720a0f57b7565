#include "Beep.h"
#include "BusyPointer.h"
#include "DataSource.h"
#include "core/FakePrinting.h"
#include "ItemList.h"
#include "MessageBox.h"
#include "PrintDialogs.h"
#include "Ranking.h"
#include "TestSupport.h"
#include "VisitCommands.h"

#include <QAction>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <memory>

using Entries = QList<ListEntry>;
using Answers = QList<MessageBox::Answer>;

static const Entries three{{"abcès (9)", 203}, {"Zona (9)", 201}, {"écoulement (9)", 202}};

// The commands on the current visit, driven as the main window drives them, with the
// ranking on the small fixture.
class TestVisitCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<QWidget> m_window;
    ItemList *m_signes = nullptr;
    ItemList *m_syndromes = nullptr;
    QWidget *m_bars[2] = {};  // the toolbar, the status bar
    QAction *m_items[2] = {}; // their menu items
    std::unique_ptr<DataSource> m_classement;
    int m_rankings = 0;
    FakePrinters m_printers; // none installed unless a test installs some
    FakeSpooler m_spooler;
    std::unique_ptr<VisitCommands> m_commands;

    void rank()
    {
        ++m_rankings;
        m_syndromes->setEntries(Ranking::classerSyndromes(*m_classement, m_signes->entries(), {0, 1, 1, 1, 1, 1}));
    }

    void record(const Entries &signs)
    {
        m_signes->setEntries(signs);
        rank();
        m_rankings = 0;
    }

    // The texts of the message boxes shown since the last call.
    static QStringList boxes()
    {
        QStringList texts;
        for (const MessageBox::Shown &box : MessageBox::takeShown())
            texts.append(box.text);
        return texts;
    }

    VisitTarget target(const QString &database)
    {
        return {m_window.get(), m_signes,   m_syndromes, [this] { rank(); }, m_bars[0], m_bars[1],
                m_items[0],     m_items[1], database};
    }

private slots:
    void initTestCase() { m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql")); }

    void init()
    {
        MessageBox::setTesting(true);
        PrintDialogs::setTesting(true);
        boxes();
        m_window = std::make_unique<QWidget>();
        m_signes = new ItemList(m_window.get());
        m_syndromes = new ItemList(m_window.get());
        for (int i : {0, 1}) {
            m_bars[i] = new QWidget(m_window.get());
            m_items[i] = new QAction(m_window.get());
            m_items[i]->setCheckable(true);
            m_items[i]->setChecked(true);
        }
        m_classement = std::make_unique<DataSource>();
        m_classement->setDatabaseName(m_path);
        m_printers = FakePrinters();
        m_spooler = FakeSpooler();
        m_commands = std::make_unique<VisitCommands>(target(m_path), m_printers, &m_spooler);
    }

    // The commands that store or open nothing: a beep, and for Save one of two messages.
    void nothingToStore_data()
    {
        QTest::addColumn<QString>("key"); // the toolbar's
        QTest::addColumn<Entries>("signs");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("Save, nothing recorded") << "Save" << Entries{} << QStringList{"Il n'y a rien à sauvegarder !"};
        QTest::newRow("Save, one sign recorded")
            << "Save" << Entries{three.first()} << QStringList{"Pas de visite en cours !"};
        QTest::newRow("Open") << "Open" << three << QStringList{};
    }

    void nothingToStore()
    {
        QFETCH(QString, key);
        QFETCH(Entries, signs);
        QFETCH(QStringList, messages);
        record(signs);
        const int beeps = Beep::count();
        m_commands->toolbarClicked(key);
        QCOMPARE(boxes(), messages);
        QCOMPARE(Beep::count() - beeps, 1);
        QCOMPARE(m_signes->entries(), signs);
    }

    void cut_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<Entries>("remaining");
        QTest::newRow("no selection") << -1 << three;
        QTest::newRow("middle selected") << 1 << Entries{three.at(0), three.at(2)};
    }

    // Nothing stays selected after a cut, so a second Cut removes nothing.
    void cut()
    {
        QFETCH(int, selected);
        QFETCH(Entries, remaining);
        record(three);
        if (selected >= 0)
            m_signes->setCurrentRow(selected);
        const int beeps = Beep::count();
        for (int i = 0; i < 2; ++i) {
            m_commands->cut();
            QCOMPARE(m_signes->entries(), remaining);
            QCOMPARE(m_signes->selectedIndex(), -1);
            QCOMPARE(m_rankings, selected >= 0 ? 1 : 0);
        }
        QCOMPARE(Beep::count(), beeps); // no selection is no error
        QVERIFY(boxes().isEmpty());
    }

    void cutOfTheLastSign()
    {
        record({three.first()});
        // A fresh source: any query would leave its statement there.
        m_classement = std::make_unique<DataSource>();
        m_classement->setDatabaseName(m_path);
        m_signes->setCurrentRow(0);
        m_commands->cut();
        QCOMPARE(m_signes->count(), 0);
        QCOMPARE(m_syndromes->count(), 0);
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
        record(three);
        MessageBox::setNextAnswer(answer);
        m_commands->toolbarClicked(QStringLiteral("New"));
        QCOMPARE(boxes(), QStringList{"Nouvelle Visite?"});
        QCOMPARE(m_signes->entries(), emptied ? Entries{} : three);
        QCOMPARE(m_syndromes->count() == 0, emptied);
    }

    void toggleTwice_data()
    {
        QTest::addColumn<int>("bar");
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("toolbar") << 0 << false;
        // Qt flips the tick before the command runs; the command must still hide first.
        QTest::newRow("status bar, from its menu item") << 1 << true;
    }

    void toggleTwice()
    {
        QFETCH(int, bar);
        QFETCH(bool, fromMenu);
        const auto command = bar ? &VisitCommands::toggleStatusBar : &VisitCommands::toggleToolbar;
        connect(m_items[bar], &QAction::triggered, m_commands.get(), command);
        m_window->show();
        for (bool shown : {false, true}) {
            if (fromMenu)
                m_items[bar]->trigger();
            else
                (m_commands.get()->*command)();
            QCOMPARE(m_bars[bar]->isHidden(), !shown);
            QCOMPARE(m_items[bar]->isChecked(), shown);
        }
        QVERIFY(!m_bars[1 - bar]->isHidden() && m_items[1 - bar]->isChecked()); // the other bar untouched
    }

    void printStopped_data()
    {
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("lastBox");
        QTest::newRow("cancel at confirmation") << Answers{MessageBox::Answer::Cancel} << "Signes.mdb"
                                                << "Impression de la visite en cours?";
        QTest::newRow("no printer: PDF offered, refused")
            << Answers{MessageBox::Answer::Ok, MessageBox::Answer::Cancel} << "Signes.mdb"
            << "Aucune imprimante n'est installée";
        QTest::newRow("database failure") << Answers{MessageBox::Answer::Ok, MessageBox::Answer::Ok} << "Absent.mdb"
                                          << "La base de connaissances « ";
    }

    // No file, the lists as they were, the default pointer.
    void printStopped()
    {
        QFETCH(Answers, answers);
        QFETCH(QString, database);
        QFETCH(QString, lastBox);
        QFile::remove(m_dir.filePath(QStringLiteral("v.pdf")));
        record(three);
        const Entries ranked = m_syndromes->entries();
        for (MessageBox::Answer a : answers)
            MessageBox::setNextAnswer(a);
        PrintDialogs::setNextFileName(m_dir.filePath(QStringLiteral("v.pdf")));
        VisitCommands(target(m_dir.filePath(database)), m_printers, &m_spooler).print();
        const QString last = boxes().last();
        QVERIFY2(last.startsWith(lastBox), qPrintable(last));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("v.pdf"))));
        QCOMPARE(m_signes->entries(), three);
        QCOMPARE(m_syndromes->entries(), ranked);
        QVERIFY(!BusyPointer::isBusy());
    }
    // "Mise en page..." lists the printers with the current one selected; picking another
    // sends the next prints there, on the chosen page; Annuler changes nothing.
    void pageSetupChoosesThePrinter()
    {
        m_printers.names = {"Bureau", "Cabinet"};
        m_printers.fallback = "Bureau";
        record(three);
        PageChoice cabinet{"Cabinet", QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape,
                                                  QMarginsF(5, 6, 7, 8), QPageLayout::Millimeter)};
        PrintDialogs::setNextPageChoice(std::nullopt); // Annuler
        PrintDialogs::setNextPageChoice(cabinet);
        m_commands->pageSetup();
        m_commands->print();
        m_commands->pageSetup();
        m_commands->print();
        m_printers.fallback = "Cabinet"; // the default moves; the choice holds
        m_commands->pageSetup();         // answered Annuler (empty queue)

        const QList<PrintDialogs::Shown> shown = PrintDialogs::takeShown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.at(0).printers, QStringList({"Bureau", "Cabinet"}));
        QCOMPARE(shown.at(0).initial.printer, QStringLiteral("Bureau"));
        QCOMPARE(shown.at(1).initial.printer, QStringLiteral("Bureau"));
        QCOMPARE(shown.at(2).initial.printer, QStringLiteral("Cabinet"));
        QVERIFY(shown.at(2).initial.layout.isEquivalentTo(cabinet.layout));
        QCOMPARE(m_spooler.jobs.size(), 2);
        QCOMPARE(m_spooler.jobs.at(0).printer, QStringLiteral("Bureau"));
        QCOMPARE(m_spooler.jobs.at(0).options.first().second, QStringLiteral("A4"));
        QCOMPARE(m_spooler.jobs.at(1).printer, QStringLiteral("Cabinet"));
        QCOMPARE(m_spooler.jobs.at(1).options.first().second, QStringLiteral("A5"));
        // Nothing but the confirmations: a job taken is not announced.
        QCOMPARE(boxes(), QStringList({"Impression de la visite en cours?", "Impression de la visite en cours?"}));
    }

    // Printers are asked for at every print: one added after a print without printer is
    // used, and a new default takes over.
    void printersAskedAtEveryPrint()
    {
        record(three);
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        MessageBox::setNextAnswer(MessageBox::Answer::Cancel); // no PDF
        m_commands->print();
        QCOMPARE(boxes().last().left(52), QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur"));
        m_printers.names = {"Bureau", "Cabinet"};
        m_printers.fallback = "Bureau";
        m_commands->print();
        m_printers.fallback = "Cabinet";
        m_commands->print();
        QCOMPARE(m_spooler.jobs.size(), 2);
        QCOMPARE(m_spooler.jobs.at(0).printer, QStringLiteral("Bureau"));
        QCOMPARE(m_spooler.jobs.at(1).printer, QStringLiteral("Cabinet"));
    }

    // A chosen printer that went away is named, then the default prints; a paper the
    // printer lacks is told before anything is sent.
    void printerGoneAndPaperMissing()
    {
        m_printers.names = {"Bureau", "Cabinet"};
        m_printers.fallback = "Bureau";
        record(three);
        PrintDialogs::setNextPageChoice(PageChoice{
            "Cabinet", QPageLayout(QPageSize(QPageSize::A3), QPageLayout::Portrait, {}, QPageLayout::Millimeter)});
        m_commands->pageSetup();
        m_printers.names = {"Bureau"};
        m_commands->print();
        QStringList shown = boxes();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.at(1), QStringLiteral("L'imprimante « Cabinet » choisie dans la mise en page n'est plus "
                                             "installée.\n\nLa visite sera imprimée sur l'imprimante par défaut "
                                             "« Bureau »."));
        QVERIFY2(shown.at(2).startsWith("L'imprimante « Bureau » n'a pas de papier « A3 »"), qPrintable(shown.at(2)));
        QVERIFY(m_spooler.jobs.isEmpty());
    }

    // Refused by the spooler: the printer and the spooler's answer are told, and the report
    // can go to a PDF file instead.
    void refusedJobOffersThePdf_data()
    {
        QTest::addColumn<MessageBox::Answer>("answer");
        QTest::addColumn<bool>("saved");
        QTest::newRow("saved as PDF") << MessageBox::Answer::Ok << true;
        QTest::newRow("not saved") << MessageBox::Answer::Cancel << false;
    }

    void refusedJobOffersThePdf()
    {
        QFETCH(MessageBox::Answer, answer);
        QFETCH(bool, saved);
        m_printers.names = {"Bureau"};
        m_printers.fallback = "Bureau";
        m_spooler.refusal = 0x0506;
        m_spooler.refusalText = "Destination \"Bureau\" is not accepting jobs.";
        record(three);
        const QString file = m_dir.filePath(QStringLiteral("refus.pdf"));
        QFile::remove(file);
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        MessageBox::setNextAnswer(answer);
        PrintDialogs::setNextFileName(file);
        m_commands->print();
        const QStringList shown = boxes();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown.at(1).startsWith("L'imprimante « Bureau » n'accepte pas de travaux pour le moment"),
                 qPrintable(shown.at(1)));
        QVERIFY(shown.at(1).contains("« Destination \"Bureau\" is not accepting jobs. »"));
        QCOMPARE(m_spooler.jobs.size(), 1);
        QVERIFY(m_spooler.jobs.first().content.startsWith("%PDF"));
        QCOMPARE(QFile::exists(file), saved);
    }

    // Export asks nothing but the file, proposed in the documents folder.
    void exportPdf()
    {
        m_printers.names = {"Bureau"};
        m_printers.fallback = "Bureau";
        record(three);
        const QString file = m_dir.filePath(QStringLiteral("export.pdf"));
        QFile::remove(file);
        PrintDialogs::setNextFileName(file);
        m_commands->exportPdf();
        QVERIFY(boxes().isEmpty());
        QVERIFY(m_spooler.jobs.isEmpty());
        const QList<PrintDialogs::Shown> shown = PrintDialogs::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(QRegularExpression("/Visite \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d\\.pdf$")
                     .match(shown.first().proposedPath)
                     .hasMatch(),
                 qPrintable(shown.first().proposedPath));
        QVERIFY(QFileInfo(file).size() > 0);
    }
};

QTEST_MAIN(TestVisitCommands)
#include "tst_visitcommands.moc"
