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

    static void row(const char *name, const QStringList &installed, const QString &systemDefault, const QString &chosen,
                    const QString &result, bool answering = true)
    {
        QTest::newRow(name) << installed << systemDefault << chosen << answering << result;
    }

private slots:
    void resolve_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("systemDefault");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("answering"); // the printing service
        QTest::addColumn<QString>("result"); // the printer, or why there is none; the chosen one gone
        row("chosen gone, nothing left", {}, "", "Cabinet", "no printer, Cabinet gone");
        row("printers but no default", {"Bureau", "Cabinet"}, "", "", "no default");
        // A default the list no longer holds (removed a moment ago) is no printer to print on.
        row("stale default", {"Cabinet"}, "Bureau", "", "no default");
        // Without the service, nothing is listed: the chosen printer is not said gone.
        row("no service", {}, "", "Cabinet", "no service", false);
        row("printers listed all the same", {"Bureau"}, "Bureau", "", "Bureau", false);
    }

    void resolve()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, systemDefault);
        QFETCH(QString, chosen);
        FakePrinters printers;
        printers.names = installed;
        printers.fallback = systemDefault;
        QFETCH(bool, answering);
        printers.answering = answering;
        const PrinterChoice choice = PrinterChoice::resolve(printers, chosen);
        QString result = choice.kind == PrinterChoice::Kind::Printer     ? choice.printer
                         : choice.kind == PrinterChoice::Kind::NoPrinter ? QStringLiteral("no printer")
                         : choice.kind == PrinterChoice::Kind::NoService ? QStringLiteral("no service")
                                                                         : QStringLiteral("no default");
        if (!choice.gone.isEmpty())
            result += QStringLiteral(", %1 gone").arg(choice.gone);
        QTEST(result, "result");
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
