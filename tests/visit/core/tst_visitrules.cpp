#include "VisitRules.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// Where the visit commands propose the PDF.
class TestVisitRules : public QObject
{
    Q_OBJECT

private slots:
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
