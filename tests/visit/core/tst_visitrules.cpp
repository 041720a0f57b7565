#include "PrintFailure.h"
#include "RegionalClock.h"
#include "VisitRules.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using Stage = PrintFailure::Stage;

// What the visit commands decide without a window: the printing failures they tell and where
// the PDF goes.
class TestVisitRules : public QObject
{
    Q_OBJECT

private slots:
    void printFailureText_data()
    {
        QTest::addColumn<int>("stage");
        QTest::addColumn<bool>("toFile");
        QTest::addColumn<QString>("text");
        QTest::newRow("file cut short") << int(Stage::Finish) << true
                                        << "Le fichier « " + QDir::toNativeSeparators("/tmp/v.pdf") +
                                               " » n'a pas pu être écrit en entier.";
        QTest::newRow("printer refused the job")
            << int(Stage::Start) << false << "L'impression n'a pas pu commencer sur l'imprimante « /tmp/v.pdf ».";
        QTest::newRow("printer refused a page")
            << int(Stage::Page) << false << "L'impression sur l'imprimante « /tmp/v.pdf » n'a pas pu être terminée.";
    }

    void printFailureText()
    {
        QFETCH(int, stage);
        QFETCH(bool, toFile);
        QTEST(VisitRules::printFailureText(PrintFailure(Stage(stage), "/tmp/v.pdf", toFile)), "text");
    }

    // The PDF goes to the documents folder when there is one, and always ends in ".pdf".
    void pdfFolderAndSuffix()
    {
        QTemporaryDir home;
        const QString documents = home.filePath("Documents");
        QCOMPARE(VisitRules::pdfFolder(documents, home.path()), home.path());
        QVERIFY(QDir(home.path()).mkdir("Documents"));
        QCOMPARE(VisitRules::pdfFolder(documents, home.path()), documents);
        QCOMPARE(VisitRules::pdfFolder(QString(), home.path()), home.path());
        QCOMPARE(VisitRules::withPdfSuffix("a/Visite"), "a/Visite.pdf");
        QCOMPARE(VisitRules::withPdfSuffix("a/Visite.PDF"), "a/Visite.PDF");
    }
};

QTEST_GUILESS_MAIN(TestVisitRules)
#include "tst_visitrules.moc"
