#include "PrintFailure.h"
#include "RegionalClock.h"
#include "VisitRules.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using Stage = PrintFailure::Stage;

// What the visit commands decide without a window: the printing failures they tell, the
// file they propose, the toolbar keys they answer (exactly as written).
class TestVisitRules : public QObject
{
    Q_OBJECT

private slots:
    void printFailureText_data()
    {
        QTest::addColumn<int>("stage");
        QTest::addColumn<bool>("toFile");
        QTest::addColumn<QString>("text");
        const QString file = QDir::toNativeSeparators(QStringLiteral("/tmp/v.pdf"));
        QTest::newRow("file not created")
            << int(Stage::Start) << true
            << QStringLiteral("Le fichier « %1 » n'a pas pu être créé.\n\nVérifiez que le dossier existe et que vous "
                              "avez le droit d'y écrire.")
                   .arg(file);
        QTest::newRow("file cut short")
            << int(Stage::Finish) << true
            << QStringLiteral("Le fichier « %1 » n'a pas pu être écrit en entier.").arg(file);
        QTest::newRow("printer refused the job")
            << int(Stage::Start) << false
            << QStringLiteral("L'impression n'a pas pu commencer sur l'imprimante « /tmp/v.pdf ».");
        QTest::newRow("printer refused a page")
            << int(Stage::Page) << false
            << QStringLiteral("L'impression sur l'imprimante « /tmp/v.pdf » n'a pas pu être terminée.");
    }

    void printFailureText()
    {
        QFETCH(int, stage);
        QFETCH(bool, toFile);
        QTEST(VisitRules::printFailureText(PrintFailure(Stage(stage), QStringLiteral("/tmp/v.pdf"), toFile)), "text");
    }

    // The PDF's title and the print job's name, in the header's forms.
    void documentName()
    {
        const RegionalClock clock{{}, QLocale(QLocale::French, QLocale::France)};
        QCOMPARE(VisitRules::documentName(clock, QDateTime(QDate(2026, 12, 5), QTime(14, 5, 9))),
                 QStringLiteral("Visite du 05/12/2026 à 14:05:09"));
    }

    void pdfFolder()
    {
        QTemporaryDir home;
        const QString documents = home.filePath(QStringLiteral("Documents"));
        QCOMPARE(VisitRules::pdfFolder(documents, home.path()), home.path());
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Documents")));
        QCOMPARE(VisitRules::pdfFolder(documents, home.path()), documents);
        QCOMPARE(VisitRules::pdfFolder(QString(), home.path()), home.path());
    }

    void pdfFileAndToolbarKeys()
    {
        QCOMPARE(VisitRules::pdfFileName(QDateTime(QDate(2026, 12, 5), QTime(14, 5, 59))),
                 QStringLiteral("Visite 2026-12-05 14-05.pdf"));
        QCOMPARE(VisitRules::withPdfSuffix(QStringLiteral("a/Visite")), QStringLiteral("a/Visite.pdf"));
        QCOMPARE(VisitRules::withPdfSuffix(QStringLiteral("a/Visite.PDF")), QStringLiteral("a/Visite.PDF"));
        QCOMPARE(VisitRules::commandForKey(QStringLiteral("new")), VisitRules::Command::None);
    }
};

QTEST_GUILESS_MAIN(TestVisitRules)
#include "tst_visitrules.moc"
