#include "core/FakePrinting.h"
#include "MessageBox.h"
#include "PageSetup.h"
#include "PrintCommand.h"
#include "PrintDialogs.h"
#include "PrintSetup.h"
#include "SystemPrinters.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#ifdef TESSAVOR_HAVE_CUPS
#include "CupsSpooler.h"

#include <cups/cups.h>
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
        // The tools live in sbin, which a user's PATH may lack.
        QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            program = QStandardPaths::findExecutable(tool, {"/usr/sbin", "/usr/bin", "/usr/local/sbin"});
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
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
#ifndef TESSAVOR_HAVE_CUPS
        QSKIP("built without libcups");
#else
        const QString backend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
        const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/usr/local/sbin"});
        if (cupsd.isEmpty() || !QFile::exists(backend) || !QFile::exists(ppd) ||
            QStandardPaths::findExecutable(QStringLiteral("lpadmin"), {"/usr/sbin"}).isEmpty())
            QSKIP("cups and printer-driver-cups-pdf are not installed");
        if (geteuid() != 0)
            QSKIP("the CUPS-PDF backend only runs for a spooler started as root");

        MessageBox::setTesting(true);
        PrintDialogs::setTesting(true);
        m_database = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"));
        // The spooler's filters run as another user and must reach their folders.
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                                QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                                QFileDevice::ReadOther | QFileDevice::ExeOther);
        QDir root(m_dir.path());
        // The spooler makes its own temporary folder, inside the spool, open to its filters.
        for (const char *sub : {"conf", "spool", "cache", "state", "log"})
            QVERIFY(root.mkpath(QString::fromLatin1(sub)));
        const QString socket = root.filePath(QStringLiteral("cups.sock"));
        auto write = [&](const QString &name, const QString &text) {
            QFile f(root.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text.toUtf8());
        };
        write(QStringLiteral("conf/cupsd.conf"),
              QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                  .arg(socket));
        write(QStringLiteral("conf/cups-files.conf"),
              QStringLiteral("ServerRoot %1/conf\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                             "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                             "PageLog %1/log/page_log\n")
                  .arg(root.path()));

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
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(10000))
                m_cupsd.kill();
            m_cupsd.waitForFinished();
        }
        // What the CUPS-PDF printer wrote for this test's jobs, named after their fixed date, in
        // its output folder (the home folder's PDF by default); the spooler has stopped its
        // printers first.
        const QDir output(QDir::home().filePath(QStringLiteral("PDF")));
        for (const QFileInfo &file : output.entryInfoList({QStringLiteral("Visite_du_05_12_2026_*-job_*.pdf")}))
            if (file.lastModified() >= m_started)
                QFile::remove(file.filePath());
    }

#ifdef TESSAVOR_HAVE_CUPS
    // The default queue receives the report as a job named after the visit; nothing is said.
    void printsANamedJob()
    {
        SystemPrinters printers;
        CupsSpooler spooler;
        QCOMPARE(printers.defaultPrinter(), QStringLiteral("Tessavor-A"));
        QCOMPARE(print(PrintSetup(), &spooler, printers), PrintCommand::Outcome::Printed);
        QCOMPARE(boxes(), QStringList{"Impression de la visite en cours?"});
        QCOMPARE(jobNames(QStringLiteral("Tessavor-A")), QStringList{m_jobName});
        // The PDF went through the spooler's filters and out of the CUPS-PDF printer.
        QVERIFY(QTest::qWaitFor(
            [] { return jobNames(QStringLiteral("Tessavor-A"), CUPS_WHICHJOBS_COMPLETED).size() == 1; }, 60000));
    }

    // Through QPrinter the job carries the visit's name too.
    void printerPathNamesTheJob()
    {
        SystemPrinters printers;
        QCOMPARE(print(PrintSetup(), nullptr, printers), PrintCommand::Outcome::Printed);
        QCOMPARE(boxes(), QStringList{"Impression de la visite en cours?"});
        QCOMPARE(jobNames(QStringLiteral("Tessavor-A")), QStringList({m_jobName, m_jobName}));
    }

    // "Mise en page..." switches to the second queue: the next print goes there.
    void pageSetupSwitchesTheQueue()
    {
        SystemPrinters printers;
        CupsSpooler spooler;
        PrintSetup setup;
        PrintDialogs::setNextPageChoice(PageChoice{"Tessavor-B", PrintSetup::defaultLayout()});
        PageSetup(printers, setup).run(nullptr);
        QCOMPARE(PrintDialogs::takeShown().first().printers, QStringList({"Tessavor-A", "Tessavor-B"}));
        QCOMPARE(print(setup, &spooler, printers), PrintCommand::Outcome::Printed);
        QCOMPARE(boxes(), QStringList{"Impression de la visite en cours?"});
        QCOMPARE(jobNames(QStringLiteral("Tessavor-B")), QStringList{m_jobName});
        QCOMPARE(jobNames(QStringLiteral("Tessavor-A")).size(), 2);
    }

    // A queue that rejects jobs: the printer and the spooler's answer are told, with the PDF
    // offer; nothing claims the report was printed.
    void rejectedQueueIsTold()
    {
        QVERIFY(admin("cupsreject", {"Tessavor-A"}));
        SystemPrinters printers;
        CupsSpooler spooler;
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        MessageBox::setNextAnswer(MessageBox::Answer::Cancel); // no PDF
        QCOMPARE(print(PrintSetup(), &spooler, printers), PrintCommand::Outcome::Failed);
        const QStringList shown = boxes();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown.at(1).startsWith("L'imprimante « Tessavor-A » n'accepte pas de travaux pour le moment"),
                 qPrintable(shown.at(1)));
        QVERIFY2(shown.at(1).contains("Réponse du gestionnaire d'impression : « "), qPrintable(shown.at(1)));
        QVERIFY(shown.at(1).endsWith("Voulez-vous enregistrer la visite dans un fichier PDF ?"));
        QCOMPARE(jobNames(QStringLiteral("Tessavor-A")).size(), 2);
        QVERIFY(admin("cupsaccept", {"Tessavor-A"}));
    }

    // A paused queue holds the job: that is the spooler's ordinary work, and nothing is said.
    void pausedQueueHoldsTheJob()
    {
        QVERIFY(admin("cupsdisable", {"Tessavor-A"}));
        SystemPrinters printers;
        CupsSpooler spooler;
        QCOMPARE(print(PrintSetup(), &spooler, printers), PrintCommand::Outcome::Printed);
        QCOMPARE(boxes(), QStringList{"Impression de la visite en cours?"});
        QCOMPARE(jobNames(QStringLiteral("Tessavor-A")).size(), 3);
        QVERIFY(admin("cupsenable", {"Tessavor-A"}));
    }

    // The chosen queue deleted: it is named, and the default prints.
    void deletedQueueFallsBackToTheDefault()
    {
        SystemPrinters printers;
        CupsSpooler spooler;
        PrintSetup setup;
        setup.chosenPrinter = QStringLiteral("Tessavor-B");
        QVERIFY(admin("lpadmin", {"-x", "Tessavor-B"}));
        QCOMPARE(print(setup, &spooler, printers), PrintCommand::Outcome::Printed);
        const QStringList shown = boxes();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown.at(1).startsWith("L'imprimante « Tessavor-B » choisie dans la mise en page n'est plus "
                                        "installée."),
                 qPrintable(shown.at(1)));
        QCOMPARE(jobNames(QStringLiteral("Tessavor-A")).size(), 4);
    }

    // Handed straight to a queue the spooler does not know, the job is refused by name.
    void unknownQueueIsTold()
    {
        CupsSpooler spooler;
        FakePrinters printers; // lists a queue the spooler has not
        printers.names = {"Tessavor-B"};
        printers.fallback = "Tessavor-B";
        printers.paperKeys.clear();
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
        QCOMPARE(print(PrintSetup(), &spooler, printers), PrintCommand::Outcome::Failed);
        const QStringList shown = boxes();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown.at(1).startsWith("Le gestionnaire d'impression ne connaît pas l'imprimante « Tessavor-B »"),
                 qPrintable(shown.at(1)));
    }

    // No spooler at the address: told as such, naming the printer.
    void unreachableSpoolerIsTold()
    {
        const QByteArray server = qgetenv("CUPS_SERVER");
        cupsSetServer(QDir(m_dir.path()).filePath(QStringLiteral("absent.sock")).toUtf8().constData());
        CupsSpooler spooler;
        FakePrinters printers;
        printers.names = {"Tessavor-A"};
        printers.fallback = "Tessavor-A";
        printers.paperKeys.clear();
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
        const PrintCommand::Outcome outcome = print(PrintSetup(), &spooler, printers);
        cupsSetServer(server.constData());
        QCOMPARE(outcome, PrintCommand::Outcome::Failed);
        const QStringList shown = boxes();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown.at(1).startsWith("Le gestionnaire d'impression ne répond pas : la visite n'a pas pu être "
                                        "envoyée à l'imprimante « Tessavor-A »."),
                 qPrintable(shown.at(1)));
    }
#endif
};

QTEST_MAIN(TestCupsPrinting)
#include "tst_cupsprinting.moc"
