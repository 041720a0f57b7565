#include "FakePrinting.h"
#include "VisitRules.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// Which printer each print goes to, asked afresh every time (the cases the visit commands'
// test does not meet), and where the PDF is proposed.
class TestPrintRules : public QObject
{
    Q_OBJECT

private slots:
    void resolve()
    {
        // The printers installed, the system's default, the one chosen in the page set-up,
        // whether the printing service answers; the printer, or why there is none, and the
        // chosen one gone.
        const auto check = [](const QStringList &installed, const QString &systemDefault, const QString &chosen,
                              bool answering, const QString &expected) {
            FakePrinters printers(installed, systemDefault);
            printers.answering = answering;
            const PrinterChoice choice = PrinterChoice::resolve(printers, chosen);
            QString result = choice.kind == PrinterChoice::Kind::Printer     ? choice.printer
                             : choice.kind == PrinterChoice::Kind::NoPrinter ? QStringLiteral("no printer")
                             : choice.kind == PrinterChoice::Kind::NoService ? QStringLiteral("no service")
                                                                             : QStringLiteral("no default");
            if (!choice.gone.isEmpty())
                result += QStringLiteral(", %1 gone").arg(choice.gone);
            QCOMPARE(result, expected);
        };
        check({}, "", "Cabinet", true, "no printer, Cabinet gone");
        check({"Bureau", "Cabinet"}, "", "", true, "no default");
        // A default the list no longer holds (removed a moment ago) is no printer to print on.
        check({"Cabinet"}, "Bureau", "", true, "no default");
        // Without the service, nothing is listed: the chosen printer is not said gone.
        check({}, "", "Cabinet", false, "no service");
        check({"Bureau"}, "Bureau", "", false, "Bureau"); // printers listed all the same
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

QTEST_GUILESS_MAIN(TestPrintRules)
#include "tst_printrules.moc"
