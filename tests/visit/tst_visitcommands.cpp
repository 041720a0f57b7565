#include "Beep.h"
#include "BusyPointer.h"
#include "ItemList.h"
#include "MessageBox.h"
#include "PrintDialogs.h"
#include "TestSupport.h"
#include "VisitCommands.h"
#include "core/FakePrinting.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <memory>
#include <tuple>

using Entries = QList<ListEntry>;
using Answer = MessageBox::Answer;
using Answers = QList<Answer>;

static const Entries three{{"abcès (9)", 203}, {"Zona (9)", 201}, {"écoulement (9)", 202}};

// The commands on the current visit, driven as the main window drives them, with printers
// and a spooler of the test's own.
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
    int m_rankings = 0;
    FakePrinters m_printers; // none installed unless a test installs some
    FakeSpooler m_spooler;
    std::unique_ptr<VisitCommands> m_commands;

    // A ranking that lists one syndrome while any sign is recorded.
    void rank()
    {
        ++m_rankings;
        m_syndromes->setEntries(m_signes->count() ? Entries{{"Syndrome 2  (19)", 2}} : Entries());
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
        const auto removeSigns = [this](const Entries &remaining) {
            m_signes->setEntries(remaining);
            rank();
        };
        return {m_window.get(), m_signes,   m_syndromes, removeSigns, m_bars[0], m_bars[1],
                m_items[0],     m_items[1], database,    {},          {}};
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
        m_printers = FakePrinters();
        m_spooler = FakeSpooler();
        m_commands = std::make_unique<VisitCommands>(target(m_path), m_printers, &m_spooler);
    }

    // New empties both lists on OK (the ranking, given no sign, lists nothing) and nothing on
    // Cancel; Open and Save store or open nothing: a beep, and for Save one of two messages.
    // Cut removes the selected sign and ranks again, and selects the entry now at its place
    // (or the last), so that a second Cut removes the next; no selection is no error. Keys
    // compare exactly. Each row: the key (Cut clicked twice), the recorded signs, the one
    // selected, the answer to a box; the boxes shown, the beeps, the signs left, the rankings
    // and the entry selected after.
    void toolbarCommands()
    {
        const QStringList none, newVisit{"Nouvelle Visite?"};
        const Entries one{three.first()};
        for (const auto &[key, signs, selected, answer, messages, beeps, remaining, rankings, selectedAfter] :
             std::initializer_list<std::tuple<QString, Entries, int, Answer, QStringList, int, Entries, int, int>>{
                 {"New", three, -1, Answer::Ok, newVisit, 0, {}, 1, -1},
                 {"New", three, -1, Answer::Cancel, newVisit, 0, three, 0, -1},
                 {"new", three, -1, Answer::Ok, none, 0, three, 0, -1},
                 {"Save", {}, -1, Answer::Ok, {"Il n'y a rien à sauvegarder !"}, 1, {}, 0, -1},
                 {"Save", one, -1, Answer::Ok, {"Pas de visite en cours !"}, 1, one, 0, -1},
                 {"Open", three, -1, Answer::Ok, none, 1, three, 0, -1},
                 {"Cut", three, -1, Answer::Ok, none, 0, three, 0, -1}, // no selection
                 {"Cut", three, 1, Answer::Ok, none, 0, one, 2, 0},     // middle selected: the next goes
                 {"Cut", three, 2, Answer::Ok, none, 0, one, 2, 0}}) {  // last selected: the one before goes
            record(signs);
            m_signes->setCurrentRow(selected);
            const int beepsBefore = Beep::count();
            if (answer == Answer::Cancel) // OK otherwise
                MessageBox::setNextAnswer(answer);
            for (int times = key == "Cut" ? 2 : 1; times > 0; --times)
                m_commands->toolbarClicked(key);
            QCOMPARE(boxes(), messages);
            QCOMPARE(Beep::count() - beepsBefore, beeps);
            QCOMPARE(m_signes->entries(), remaining);
            QCOMPARE(m_signes->selectedIndex(), selectedAfter);
            QCOMPARE(m_syndromes->count() == 0, remaining.isEmpty());
            QCOMPARE(m_rankings, rankings);
        }
    }

    // Twice returns a bar and its tick to where they were, the other bar untouched. From its
    // menu item, Qt flips the tick before the command runs; the command must still hide first.
    void toggleTwice()
    {
        connect(m_items[1], &QAction::triggered, m_commands.get(), &VisitCommands::toggleStatusBar);
        m_window->show();
        for (int bar : {0, 1}) {
            for (bool shown : {false, true}) {
                bar == 0 ? m_commands->toggleToolbar() : m_items[1]->trigger();
                QCOMPARE(m_bars[bar]->isHidden(), !shown);
                QCOMPARE(m_items[bar]->isChecked(), shown);
                QVERIFY(!m_bars[1 - bar]->isHidden() && m_items[1 - bar]->isChecked());
            }
        }
    }

    // How a print or an export ends when it does not simply print: the messages (their
    // beginnings; a refusal also gives the spooler's answer and offers the PDF), the PDF file
    // written or not; the lists as they were and the default pointer in every case. A job is
    // handed over whole, laid out for its paper (no scaling), and its file never outlives the
    // print. A file dialog proposes a dated name.
    void outcomes()
    {
        // Exported or printed, the answers (OK to everything else), the base, the spooler's IPP
        // status (-5: taken by a paused queue), the file chosen, the boxes, the PDF saved.
        const auto check = [this](bool exporting, const Answers &answers, const QString &database, int refusal,
                                  const QString &file, const QStringList &messages, bool saved) {
            init(); // each case afresh
            m_printers = FakePrinters({"Bureau"}, "Bureau");
            m_spooler.refusal = std::max(refusal, 0);
            m_spooler.state = refusal < 0 ? -refusal : 3;
            m_spooler.refusalText = "Refus.";
            record(three);
            const Entries ranked = m_syndromes->entries();
            for (Answer a : answers)
                MessageBox::setNextAnswer(a);
            const QString path = m_dir.filePath(file);
            QFile::remove(path);
            PrintDialogs::setNextFileName(path);
            VisitCommands commands(target(m_dir.filePath(database)), m_printers, &m_spooler);
            exporting ? commands.exportPdf() : commands.print();
            const QStringList shown = boxes();
            QCOMPARE(shown.size(), messages.size());
            for (qsizetype i = 0; i < shown.size(); ++i)
                QVERIFY2(shown.at(i).startsWith(messages.at(i)), qPrintable(shown.at(i)));
            if (refusal > 0)
                QVERIFY(shown.last().endsWith("« Refus. »\n\nVoulez-vous enregistrer la visite dans un fichier PDF ?"));
            QCOMPARE(QFileInfo(path).size() > 0, saved);
            QCOMPARE(m_spooler.jobs.size(), refusal ? 1 : 0);
            for (const FakeSpooler::Job &job : std::as_const(m_spooler.jobs)) {
                QVERIFY(job.content.startsWith("%PDF-") && !QFile::exists(job.file));
                QCOMPARE(job.printer + " / " + job.jobName.left(10), "Bureau / Visite du ");
                QCOMPARE(job.options,
                         PrintSpooler::Options({{"media", "A4"}, {"print-scaling", "none"}, {"fit-to-page", "false"}}));
            }
            QCOMPARE(m_signes->entries(), three);
            QCOMPARE(m_syndromes->entries(), ranked);
            QVERIFY(!BusyPointer::isBusy());
            const QRegularExpression dated("/Visite \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d\\.pdf$");
            for (const PrintDialogs::Shown &dialog : PrintDialogs::takeShown())
                QVERIFY2(dated.match(dialog.proposedPath).hasMatch(), qPrintable(dialog.proposedPath));
        };
        const QString confirm = "Impression de la visite en cours?";
        const auto print = [&](const Answers &answers, int refusal, const QString &message, bool saved,
                               const char *database = "Signes.mdb") {
            check(false, answers, database, refusal, "v.pdf", {confirm, message}, saved);
        };
        const Answers noPdf{Answer::Ok, Answer::Cancel};
        check(false, {Answer::Cancel}, "Signes.mdb", 0, "v.pdf", {confirm}, false);
        print({}, 0, "La base de connaissances « ", false, "Absent.mdb");
        print({}, 0x0506, "L'imprimante « Bureau » n'accepte pas de travaux pour le moment : la visite n'a pas été "
              "imprimée.\n\nRéponse du gestionnaire d'impression : « Refus. »\n\nVoulez-vous enregistrer la visite "
              "dans un fichier PDF ?", true);
        print(noPdf, 0x0406, "Le gestionnaire d'impression ne connaît pas l'imprimante « Bureau » : la visite n'a pas",
              false);
        print(noPdf, 0x0502, "Le gestionnaire d'impression ne répond pas : la visite n'a pas pu être envoyée à "
              "l'imprimante « Bureau ».\n\nDétail : « Refus. »", false);
        print(noPdf, 0x0400, "L'imprimante « Bureau » a refusé la visite", false);
        print({}, -5, "L'imprimante « Bureau » est en pause : le document attend dans sa file.", false);
        check(true, {}, "Signes.mdb", 0, "v.pdf", {}, true);
        check(true, {}, "Signes.mdb", 0, "absent/v.pdf",
              {"Le fichier « " + QDir::toNativeSeparators(m_dir.filePath("absent/v.pdf")) + " » n'a pas pu être créé."},
              false);
    }

    // Printers are asked for at every print: one added after a print without printer is used,
    // and a new default takes over. "Mise en page..." lists them with the current one
    // selected; the printer and page chosen there hold until that printer goes away (it is
    // named, and the default prints); Annuler changes nothing; a paper the printer lacks is
    // told before anything is sent. A job taken is not announced.
    void printerOfEachPrint()
    {
        QList<bool> busy;
        m_spooler.whileTaking = [&] { busy.append(BusyPointer::isBusy()); };
        record(three);
        MessageBox::setNextAnswer(Answer::Ok);
        MessageBox::setNextAnswer(Answer::Cancel); // no PDF
        m_commands->print();
        QCOMPARE(boxes().last().left(52), QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur"));
        m_printers = FakePrinters({"Bureau", "Cabinet"}, "Bureau");
        m_commands->print();
        m_printers.fallback = "Cabinet";
        m_commands->print();
        const PageChoice bureau{"Bureau", QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape,
                                                      QMarginsF(5, 6, 7, 8), QPageLayout::Millimeter)};
        PrintDialogs::setNextPageChoice(bureau);
        m_commands->pageSetup();
        m_commands->pageSetup(); // Annuler: the queue is empty
        m_commands->print();
        QCOMPARE(boxes(), QStringList(3, "Impression de la visite en cours?"));
        const QList<PrintDialogs::Shown> shown = PrintDialogs::takeShown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).printers, QStringList({"Bureau", "Cabinet"}));
        QCOMPARE(shown.at(0).initial.printer, QStringLiteral("Cabinet"));
        QCOMPARE(shown.at(1).initial.printer, QStringLiteral("Bureau"));
        QVERIFY(shown.at(1).initial.layout.isEquivalentTo(bureau.layout));

        m_printers.names = {"Cabinet"}; // the default already
        m_commands->print();
        QCOMPARE(boxes().value(1), "L'imprimante « Bureau » choisie dans la mise en page n'est plus installée.\n\nLa "
                                   "visite sera imprimée sur l'imprimante par défaut « Cabinet ».");
        PrintDialogs::setNextPageChoice(PageChoice{
            "Cabinet", QPageLayout(QPageSize(QPageSize::A3), QPageLayout::Portrait, {}, QPageLayout::Millimeter)});
        m_commands->pageSetup();
        m_commands->print();
        const QString missing = boxes().value(1);
        QVERIFY2(missing.startsWith("L'imprimante « Cabinet » n'a pas de papier « A3 »"), qPrintable(missing));
        QStringList jobs;
        for (const FakeSpooler::Job &job : std::as_const(m_spooler.jobs))
            jobs.append(job.printer + " " + job.options.first().second);
        QCOMPARE(jobs, QStringList({"Bureau A4", "Cabinet A4", "Bureau A5", "Cabinet A5"}));
        QCOMPARE(busy, QList<bool>(4, true));
        QVERIFY(!BusyPointer::isBusy());
    }
};

QTEST_MAIN(TestVisitCommands)
#include "tst_visitcommands.moc"
