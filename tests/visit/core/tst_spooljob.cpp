#include "FakePrinting.h"
#include "SpoolJob.h"

#include <QTest>

#include <stdexcept>

using Outcome = SpoolJob::Outcome;
Q_DECLARE_METATYPE(SpoolJob::Outcome)

// A print handed to the spooler: what it is given, how its answer is read, and the
// temporary file that never outlives the print.
class TestSpoolJob : public QObject
{
    Q_OBJECT

    static void writeDocument(const QString &path)
    {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write("%PDF-1.4 visite") < 0)
            throw std::runtime_error("not written");
    }

    static void row(const char *name, int status, Outcome outcome, const QString &text,
                    const QString &detail = "Réponse du gestionnaire d'impression", int state = 3)
    {
        QTest::newRow(name) << status << state << outcome
                            << (text.isEmpty() ? QString()
                                               : text + "\n\n" + detail +
                                                     " : « Refus. »\n\nVoulez-vous enregistrer la visite dans un "
                                                     "fichier PDF ?");
    }

private slots:
    void answers_data()
    {
        QTest::addColumn<int>("status"); // 0: the job is taken
        QTest::addColumn<int>("state");  // the queue's
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("text");
        row("taken", 0, Outcome::Accepted, "");
        row("taken by a paused queue", 0, Outcome::Paused, "", "", 5);
        row("not accepting jobs", 0x0506, Outcome::NotAccepting,
            "L'imprimante « Bureau » n'accepte pas de travaux pour le moment : la visite n'a pas été imprimée.");
        row("unknown queue", 0x0406, Outcome::UnknownPrinter,
            "Le gestionnaire d'impression ne connaît pas l'imprimante « Bureau » : la visite n'a pas été imprimée.");
        row("no spooler", 0x0502, Outcome::Unreachable,
            "Le gestionnaire d'impression ne répond pas : la visite n'a pas pu être envoyée à l'imprimante "
            "« Bureau ».",
            "Détail");
        row("anything else", 0x0400, Outcome::Refused,
            "L'imprimante « Bureau » a refusé la visite : elle n'a pas été imprimée.");
    }

    // The file is there, whole, when the spooler takes it, and gone afterwards, whatever the
    // answer.
    void answers()
    {
        QFETCH(int, status);
        FakeSpooler spooler;
        spooler.refusal = status;
        QFETCH(int, state);
        spooler.state = state;
        spooler.refusalText = "Refus.";
        const SpoolJob::Result result =
            SpoolJob(spooler, "Bureau", "Visite du 05/12/2026 à 14:05:09", "A5").run(&writeDocument);
        QTEST(result.outcome, "outcome");
        QTEST(SpoolJob::refusalText("Bureau", result), "text");
        QCOMPARE(spooler.jobs.size(), 1);
        const FakeSpooler::Job &job = spooler.jobs.first();
        QCOMPARE(job.printer + " / " + job.jobName, "Bureau / Visite du 05/12/2026 à 14:05:09");
        QCOMPARE(job.content, QByteArray("%PDF-1.4 visite"));
        QVERIFY(!QFile::exists(job.file));
        // The page is laid out for the paper already: no scaling.
        QCOMPARE(job.options,
                 PrintSpooler::Options({{"media", "A5"}, {"print-scaling", "none"}, {"fit-to-page", "false"}}));
    }

    // A report that fails while being written is not handed over, and its file goes too.
    void renderFails()
    {
        FakeSpooler spooler;
        QString written;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 SpoolJob(spooler, "Bureau", "Visite", "A4").run([&](const QString &path) {
                                     writeDocument(written = path);
                                     throw std::runtime_error("database gone");
                                 }));
        QVERIFY(!written.isEmpty() && !QFile::exists(written));
        QVERIFY(spooler.jobs.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSpoolJob)
#include "tst_spooljob.moc"
