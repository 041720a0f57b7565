#include "PrinterChoice.h"

#include <QTest>

namespace {

// The printers as a test sets them, changed between prints as the system's would be.
struct FakePrinters final : PrinterCatalog {
    QStringList names;
    QString fallback;
    QStringList printerNames() const override { return names; }
    QString defaultPrinter() const override { return fallback; }
    QStringList papers(const QString &) const override { return {}; }
    QString defaultPaper(const QString &) const override { return {}; }
};

using Kind = PrinterChoice::Kind;

} // namespace

// Which printer each print goes to, asked afresh every time.
class TestPrinterChoice : public QObject
{
    Q_OBJECT

private slots:
    void resolve_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("systemDefault");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QString>("gone");
        const QStringList two{"Bureau", "Cabinet"};
        QTest::newRow("default only") << two << "Bureau"
                                      << "" << int(Kind::Printer) << "Bureau"
                                      << "";
        QTest::newRow("default changed since") << two << "Cabinet"
                                               << "" << int(Kind::Printer) << "Cabinet"
                                               << "";
        QTest::newRow("chosen beats the default") << two << "Bureau"
                                                  << "Cabinet" << int(Kind::Printer) << "Cabinet"
                                                  << "";
        QTest::newRow("chosen gone: the default") << QStringList{"Bureau"} << "Bureau"
                                                  << "Cabinet" << int(Kind::Printer) << "Bureau"
                                                  << "Cabinet";
        QTest::newRow("chosen gone, nothing left") << QStringList{} << ""
                                                   << "Cabinet" << int(Kind::NoPrinter) << ""
                                                   << "Cabinet";
        QTest::newRow("no printer") << QStringList{} << ""
                                    << "" << int(Kind::NoPrinter) << ""
                                    << "";
        QTest::newRow("printers but no default") << two << ""
                                                 << "" << int(Kind::NoDefault) << ""
                                                 << "";
        // A default the list no longer holds (removed a moment ago) is no printer to print on.
        QTest::newRow("stale default") << QStringList{"Cabinet"} << "Bureau"
                                       << "" << int(Kind::NoDefault) << ""
                                       << "";
    }

    void resolve()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, systemDefault);
        QFETCH(QString, chosen);
        FakePrinters printers;
        printers.names = installed;
        printers.fallback = systemDefault;
        const PrinterChoice choice = PrinterChoice::resolve(printers, chosen);
        QTEST(int(choice.kind), "kind");
        QTEST(choice.printer, "printer");
        QTEST(choice.gone, "gone");
    }
};

QTEST_GUILESS_MAIN(TestPrinterChoice)
#include "tst_printerchoice.moc"
