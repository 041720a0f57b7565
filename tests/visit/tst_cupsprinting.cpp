#include "MessageBox.h"
#include "PageSetup.h"
#include "PrintCommand.h"
#include "PrintDialogs.h"
#include "PrintSetup.h"
#include "SystemPrinters.h"
#include "TestSupport.h"
#include "core/FakePrinting.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#ifdef TESSAVOR_HAVE_CUPS
#include "CupsSpooler.h"

#include <cups/cups.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>
#endif

// Printing through a spooler of its own: a cupsd started for the test on a socket in a
// temporary folder, with its own configuration and two CUPS-PDF queues. The machine's own
// spooler, if any, is never spoken to. The daemon goes with the test, however it ends.
class TestCupsPrinting : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_database;
    QProcess m_cupsd;
    const QDateTime m_started = QDateTime::currentDateTime().addSecs(-1);
    const RegionalClock m_clock{[] { return QDateTime(QDate(2026, 12, 5), QTime(14, 5, 9)); },
                                QLocale(QLocale::French, QLocale::France)};
    const QString m_jobName = QStringLiteral("Visite du 05/12/2026 à 14:05:09");

    static QStringList boxes()
    {
        QStringList texts;
        for (const MessageBox::Shown &box : MessageBox::takeShown())
            texts.append(box.text);
        return texts;
    }

    // Runs one of the spooler's administration tools on the test's own spooler.
    static bool admin(const QString &tool, const QStringList &arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        // The tools live in sbin, which a user's PATH may lack.
        process.start(QStandardPaths::findExecutable(tool, {"/usr/sbin", "/usr/bin", "/usr/local/sbin"}), arguments);
        const bool ok =
            process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (!ok)
            qWarning() << tool << arguments << process.readAll();
        return ok;
    }

    // Through the spooler, or through QPrinter as where there is no libcups.
    PrintCommand::Outcome print(const PrintSetup &setup, PrintSpooler *spooler, const PrinterCatalog &printers)
    {
        return PrintCommand(printers, spooler, setup, m_clock)
            .run(nullptr, {{"abcès (9)", 203}, {"Zona (9)", 201}}, {{"Syndrome 2  (19)", 2}}, m_database);
    }

#ifdef TESSAVOR_HAVE_CUPS
    // The names of the jobs a queue received, through IPP.
    static QStringList jobNames(const QString &queue, int which = CUPS_WHICHJOBS_ALL)
    {
        cups_job_t *jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toUtf8().constData(), 0, which);
        QStringList names;
        for (int i = 0; i < count; ++i)
            names.append(QString::fromUtf8(jobs[i].title));
        cupsFreeJobs(count, jobs);
        return names;
    }
#endif

private slots:
    void initTestCase()
    {
        // The user's own client settings (a default printer in ~/.cups/lpoptions) stay out.
        for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
            qputenv(name, QFile::encodeName(m_dir.filePath(QStringLiteral("home"))));
#ifndef TESSAVOR_HAVE_CUPS
        QSKIP("built without libcups");
#else
        const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/usr/local/sbin"});
        if (cupsd.isEmpty() || !QFile::exists("/usr/lib/cups/backend/cups-pdf") || !QFile::exists(ppd) ||
            QStandardPaths::findExecutable(QStringLiteral("lpadmin"), {"/usr/sbin"}).isEmpty())
            QSKIP("cups and printer-driver-cups-pdf are not installed");
        if (geteuid() != 0)
            QSKIP("the CUPS-PDF backend only runs for a spooler started as root");

        MessageBox::setTesting(true);
        PrintDialogs::setTesting(true);
        m_database = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"));
        // The spooler's filters run as another user and must reach their folders.
        QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7055)); // rwxr-xr-x
        QDir root(m_dir.path());
        // The spooler makes its own temporary folder, inside the spool, open to its filters.
        for (const char *sub : {"conf", "spool", "cache", "state", "log"})
            QVERIFY(root.mkpath(QString::fromLatin1(sub)));
        // The configuration, pointed at the test's folder.
        for (const char *name : {"cupsd.conf", "cups-files.conf"}) {
            QFile in(QStringLiteral(TESSAVOR_TEST_DATA "/cups/") + name), out(root.filePath("conf/") + name);
            QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
            out.write(in.readAll().replace("@ROOT@", root.path().toUtf8()));
        }
        const QString socket = root.filePath(QStringLiteral("cups.sock"));

        // Every client in this test, libcups and the tools alike, speaks to this spooler only.
        qputenv("CUPS_SERVER", socket.toUtf8());
        m_cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_cupsd.setProcessChannelMode(QProcess::ForwardedChannels);
        m_cupsd.start(cupsd,
                      {"-f", "-c", root.filePath("conf/cupsd.conf"), "-s", root.filePath("conf/cups-files.conf")});
        QVERIFY(m_cupsd.waitForStarted());
        QVERIFY2(QTest::qWaitFor([&] { return QFile::exists(socket) || m_cupsd.state() != QProcess::Running; }, 20000),
                 "cupsd did not open its socket");
        QVERIFY2(m_cupsd.state() == QProcess::Running, "cupsd stopped at start");
        for (const char *queue : {"Tessavor-A", "Tessavor-B"})
            QVERIFY(admin("lpadmin", {"-p", queue, "-v", "cups-pdf:/", "-P", ppd, "-E"}));
        QVERIFY(admin("lpadmin", {"-d", "Tessavor-A"}));
#endif
    }

    void cleanupTestCase()
    {
        m_cupsd.terminate(); // nothing when it never started
        if (!m_cupsd.waitForFinished(10000)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished();
        }
#ifdef TESSAVOR_HAVE_CUPS
        // What the CUPS-PDF printer wrote for this test's jobs, named after their fixed date, in
        // its output folder (the PDF folder in the home that the system gives the job's user,
        // whatever HOME says); the spooler has stopped its printers first.
        const passwd *user = getpwuid(geteuid());
        if (!user)
            return;
        const QDir output(QFile::decodeName(user->pw_dir) + QStringLiteral("/PDF"));
        for (const QFileInfo &file : output.entryInfoList({QStringLiteral("Visite_du_05_12_2026_*-job_*.pdf")}))
            if (file.lastModified() >= m_started)
                QFile::remove(file.filePath());
#endif
    }

#ifdef TESSAVOR_HAVE_CUPS
    // The default queue receives the report as a job named after the visit, through the
    // spooler and through QPrinter alike; "Mise en page..." switches to the second queue and
    // the next print goes there. A job taken is not announced.
    void printsNamedJobsOnTheCurrentQueue()
    {
        SystemPrinters printers;
        CupsSpooler spooler;
        PrintSetup setup;
        QCOMPARE(printers.defaultPrinter(), QStringLiteral("Tessavor-A"));
        QCOMPARE(print(setup, &spooler, printers), PrintCommand::Outcome::Printed);
        QCOMPARE(print(setup, nullptr, printers), PrintCommand::Outcome::Printed);
        QCOMPARE(jobNames("Tessavor-A"), QStringList({m_jobName, m_jobName}));
        // The PDF went through the spooler's filters and out of the CUPS-PDF printer.
        QVERIFY(QTest::qWaitFor([] { return jobNames("Tessavor-A", CUPS_WHICHJOBS_COMPLETED).size() == 2; }, 60000));

        PrintDialogs::setNextPageChoice(PageChoice{"Tessavor-B", PrintSetup::defaultLayout()});
        PageSetup(printers, setup).run(nullptr);
        QCOMPARE(PrintDialogs::takeShown().first().printers, QStringList({"Tessavor-A", "Tessavor-B"}));
        QCOMPARE(print(setup, &spooler, printers), PrintCommand::Outcome::Printed);
        QCOMPARE(jobNames("Tessavor-B"), QStringList{m_jobName});
        QCOMPARE(boxes(), QStringList(3, "Impression de la visite en cours?"));
    }

    // A paused queue takes the job and holds it: the practitioner is told that it waits. A
    // queue that rejects jobs, a queue the spooler does not know (handed straight to it) and
    // no spooler at the address are told, naming the printer, with the spooler's answer and
    // the PDF offer; nothing claims the report was printed. With the spooler down, the
    // system lists no printer: that is said, not that the chosen printer has gone. The queue
    // chosen in the page set-up deleted: it is named, and the default prints.
    void queueStates()
    {
        // An administration command run before and after; "listed <queue>", whatever the
        // spooler holds, or "chosen <queue>"; the spooler's address wrong; the report printed;
        // the beginning of the box after the confirmation.
        const auto check = [this](const QString &before, const QString &after, const QString &queue, bool unreachable,
                                  bool printed, const QString &message) {
            const auto run = [](const QString &command) {
                const QStringList words = command.split(u' ');
                return command.isEmpty() || admin(words.first(), words.mid(1));
            };
            QVERIFY(run(before));
            const qsizetype jobs = jobNames("Tessavor-A").size();
            const QByteArray server = qgetenv("CUPS_SERVER");
            if (unreachable)
                cupsSetServer(QDir(m_dir.path()).filePath(QStringLiteral("absent.sock")).toUtf8().constData());
            CupsSpooler spooler;
            FakePrinters listed({queue.section(u' ', 1)}, queue.section(u' ', 1)); // whatever the spooler holds
            listed.paperKeys.clear();
            SystemPrinters system;
            PrintSetup setup;
            const bool chosen = queue.startsWith(u"chosen");
            if (chosen)
                setup.chosenPrinter = listed.fallback; // in the page set-up, earlier
            MessageBox::setNextAnswer(MessageBox::Answer::Ok);
            if (!printed)
                MessageBox::setNextAnswer(MessageBox::Answer::Cancel); // no PDF
            const auto outcome = print(setup, &spooler, chosen ? static_cast<const PrinterCatalog &>(system) : listed);
            cupsSetServer(server.constData());
            QVERIFY(run(after));
            const QStringList shown = boxes();
            QCOMPARE(shown.size(), 2);
            QCOMPARE(outcome, printed  ? PrintCommand::Outcome::Printed
                              : chosen ? PrintCommand::Outcome::Cancelled
                                       : PrintCommand::Outcome::Failed);
            QCOMPARE(jobNames("Tessavor-A").size() - jobs, printed ? 1 : 0);
            QVERIFY2(shown.at(1).startsWith(message), qPrintable(shown.at(1)));
            if (!printed)
                QVERIFY(shown.at(1).endsWith("Voulez-vous enregistrer la visite dans un fichier PDF ?"));
        };
        check("cupsdisable Tessavor-A", "cupsenable Tessavor-A", "listed Tessavor-A", false, true,
              "L'imprimante « Tessavor-A » est en pause : le document attend dans sa file.");
        check("cupsreject Tessavor-A", "cupsaccept Tessavor-A", "listed Tessavor-A", false, false,
              "L'imprimante « Tessavor-A » n'accepte pas de travaux pour le moment : la visite n'a pas été "
              "imprimée.\n\nRéponse du gestionnaire d'impression : « ");
        check("", "", "listed Tessavor-C", false, false,
              "Le gestionnaire d'impression ne connaît pas l'imprimante « Tessavor-C »");
        check("", "", "listed Tessavor-A", true, false, "Le gestionnaire d'impression ne répond pas : la visite n'a "
              "pas pu être envoyée à l'imprimante « Tessavor-A ».");
        // With the spooler down, nothing is listed.
        check("", "", "chosen Tessavor-A", true, false, "Le service d'impression de cet ordinateur ne répond pas : "
              "la visite ne peut pas être imprimée pour le moment.");
        check("lpadmin -x Tessavor-B", "", "chosen Tessavor-B", false, true,
              "L'imprimante « Tessavor-B » choisie dans la mise en page n'est plus installée.");
    }
#endif
};

QTEST_MAIN(TestCupsPrinting)
#include "tst_cupsprinting.moc"
