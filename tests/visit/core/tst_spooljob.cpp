#include "PrintSpooler.h"
#include "SpoolJob.h"

#include <QFile>
#include <QTest>

#include <stdexcept>

namespace {

// Answers as the spooler would, and notes what it was handed while the file was there.
struct FakeSpooler final : PrintSpooler {
    int answerJob = 7;
    int answerStatus = 0;
    QString answerText;
    QString printer, file, jobName;
    Options options;
    QByteArray content;

    int printFile(const QString &p, const QString &f, const QString &name, const Options &o) override
    {
        printer = p;
        file = f;
        jobName = name;
        options = o;
        QFile in(f);
        if (in.open(QIODevice::ReadOnly))
            content = in.readAll();
        return answerJob;
    }
    int lastError() const override { return answerStatus; }
    QString lastErrorString() const override { return answerText; }
};

using Outcome = SpoolJob::Outcome;

void writeDocument(const QString &path)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write("%PDF-1.4 visite") < 0)
        throw std::runtime_error("not written");
}

} // namespace

Q_DECLARE_METATYPE(SpoolJob::Outcome)

// A print handed to the spooler: what it is given, how its answer is read, and the
// temporary file that never outlives the print.
class TestSpoolJob : public QObject
{
    Q_OBJECT

private slots:
    void answers_data()
    {
        QTest::addColumn<int>("job");
        QTest::addColumn<int>("status");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("text");
        const QString question = "\n\nVoulez-vous enregistrer la visite dans un fichier PDF ?";
        QTest::newRow("taken") << 12 << 0 << Outcome::Accepted << "";
        QTest::newRow("not accepting jobs")
            << 0 << 0x0506 << Outcome::NotAccepting
            << "L'imprimante « Bureau » n'accepte pas de travaux pour le moment : la visite n'a pas été imprimée.\n\n"
               "Réponse du gestionnaire d'impression : « Destination \"Bureau\" is not accepting jobs. »" +
                   question;
        QTest::newRow("unknown queue") << 0 << 0x0406 << Outcome::UnknownPrinter
                                       << "Le gestionnaire d'impression ne connaît pas l'imprimante « Bureau » : la "
                                          "visite n'a pas été imprimée.\n\nRéponse du gestionnaire d'impression : "
                                          "« Destination \"Bureau\" is not accepting jobs. »" +
                                              question;
        QTest::newRow("no spooler") << 0 << 0x0502 << Outcome::Unreachable
                                    << "Le gestionnaire d'impression ne répond pas : la visite n'a pas pu être "
                                       "envoyée à l'imprimante « Bureau ».\n\nDétail : "
                                       "« Destination \"Bureau\" is not accepting jobs. »" +
                                           question;
        QTest::newRow("anything else") << 0 << 0x0400 << Outcome::Refused
                                       << "L'imprimante « Bureau » a refusé la visite : elle n'a pas été "
                                          "imprimée.\n\nRéponse du gestionnaire d'impression : « Destination "
                                          "\"Bureau\" is not accepting jobs. »" +
                                              question;
    }

    // The file is there, whole, when the spooler takes it, and gone afterwards, whatever the
    // answer.
    void answers()
    {
        QFETCH(int, job);
        QFETCH(int, status);
        QFETCH(Outcome, outcome);
        QFETCH(QString, text);
        FakeSpooler spooler;
        spooler.answerJob = job;
        spooler.answerStatus = status;
        spooler.answerText = "Destination \"Bureau\" is not accepting jobs.";
        const SpoolJob::Result result =
            SpoolJob(spooler, "Bureau", "Visite du 05/12/2026 à 14:05:09", "A5").run(&writeDocument);
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(SpoolJob::refusalText("Bureau", result), text);
        QCOMPARE(spooler.printer, QStringLiteral("Bureau"));
        QCOMPARE(spooler.jobName, QStringLiteral("Visite du 05/12/2026 à 14:05:09"));
        QCOMPARE(spooler.content, QByteArray("%PDF-1.4 visite"));
        QVERIFY(!spooler.file.isEmpty());
        QVERIFY(!QFile::exists(spooler.file));
        // The page is laid out for the paper already: no scaling.
        QCOMPARE(spooler.options,
                 PrintSpooler::Options({{"media", "A5"}, {"print-scaling", "none"}, {"fit-to-page", "false"}}));
    }

    // A report that fails while being written is not handed over, and its file goes too.
    void renderFails()
    {
        FakeSpooler spooler;
        QString written;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 SpoolJob(spooler, "Bureau", "Visite", "A4").run([&](const QString &path) {
                                     written = path;
                                     writeDocument(path);
                                     throw std::runtime_error("database gone");
                                 }));
        QVERIFY(!written.isEmpty());
        QVERIFY(!QFile::exists(written));
        QVERIFY(spooler.file.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSpoolJob)
#include "tst_spooljob.moc"
