#include "MessageBox.h"
#include "PageSetupDialog.h"
#include "PrintCommand.h"
#include "PrintDialogs.h"
#include "PrintSetup.h"
#include "PrinterDevice.h"
#include "TestSupport.h"
#include "core/FakePrinting.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

// The report printed for real, to a PDF file on A5 read back with poppler; the page set-up
// dialog as the practitioner uses it.
class TestPrinting : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QString run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        return process.waitForFinished() ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
    }

    // The leftmost and rightmost dark columns of a page, in centimetres, between two heights.
    static std::pair<double, double> inked(const QImage &page, double fromCm, double toCm)
    {
        const double perCm = page.dotsPerMeterX() / 100.0;
        int left = page.width(), right = 0;
        for (int y = int(fromCm * perCm); y < int(toCm * perCm); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return {left / perCm, right / perCm};
    }

    static QStringList papersOf(const QString &printer)
    {
        return printer == QStringLiteral("Étiquettes") ? QStringList{"A5", "Letter"} : QStringList{};
    }

    static QPageLayout page(QPageSize::PageSizeId size, QPageLayout::Orientation orientation, const QMarginsF &margins)
    {
        return QPageLayout(QPageSize(size), orientation, margins, QPageLayout::Millimeter);
    }

private slots:
    // Every line is there with its accents; the long lines wrap inside the printable width
    // instead of running off the paper; a line that would fall off the page starts the next
    // one, at its own x; the PDF carries the document's name as its title.
    void reportOnA5()
    {
        for (const char *tool : {"pdftoppm", "pdftotext", "pdfinfo"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP("poppler-utils are not installed");
        MessageBox::setTesting(true);
        PrintDialogs::setTesting(true);
        const QString file = m_dir.filePath("a5.pdf");
        PrintDialogs::setNextFileName(file);
        PrintSetup setup;
        setup.layout = page(QPageSize::A5, QPageLayout::Portrait, QMarginsF(10, 10, 10, 10));
        QList<ListEntry> signes{{"abcès (9)", 203}};
        for (int n = 1; n <= 50; ++n)
            signes.append({QStringLiteral("Signe %1 (9)").arg(n), 9000 + n});
        const RegionalClock clock{[] { return QDateTime(QDate(2026, 12, 5), QTime(14, 5, 9)); },
                                  QLocale(QLocale::French, QLocale::France)};
        QCOMPARE(PrintCommand(FakePrinters(), nullptr, setup, clock)
                     .exportPdf(nullptr, signes, {{"Syndrome 2  (19)", 2}},
                                TestSupport::makeDatabase(m_dir, u"small.sql"_s)),
                 PrintCommand::Outcome::Saved);

        QVERIFY(run("pdfinfo", {file}).contains(QRegularExpression("Title: +Visite du 05/12/2026 à 14:05:09\n")));
        QStringList expected{"Etat de la visite en cours le 05/12/2026 à 14:05:09", "Liste des symptômes constatés"};
        for (const ListEntry &sign : signes)
            expected.append(sign.text);
        expected << "Liste des syndromes classés à partir du plus pertinent (Seulement les 5 premiers)"
                 << "1) Syndrome 2 (19)"
                 << "abcès (9)";
        const QStringList pages = run("pdftotext", {file, "-"}).split('\f', Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages.join(' ').simplified(), expected.join(' '));

        run("pdftoppm", {"-png", "-r", "80", file, m_dir.filePath("a5")});
        // Nothing in the right margin of the first page, and the second opens with a recorded
        // sign at 1 cm past the 1 cm margin.
        QVERIFY(inked(QImage(m_dir.filePath("a5-1.png")), 0, 21).second <= 14.8 - 1.0 + 0.05);
        const double left = inked(QImage(m_dir.filePath("a5-2.png")), 1.05, 1.3).first;
        QVERIFY2(qAbs(left - 2) < 0.15, qPrintable(QString::number(left)));
        QVERIFY(pages.at(1).startsWith("Signe "));
    }

    // The pieces of a wrapped line that would run past the foot of the page start the next
    // page together; a line that fits stays.
    void aWrappedLineAtTheFootStartsAPage()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(m_dir.filePath("foot.pdf")); // a PDF, by its suffix
        printer.setPageLayout(page(QPageSize::A5, QPageLayout::Portrait, QMarginsF(10, 10, 10, 10)));
        PrinterDevice device(printer);
        device.print(u"mesure"_s);
        const double line = device.currentY();
        device.newPage();
        // Until two more lines fit on the 19 cm of the page, but not three.
        while (device.currentY() + 3 * line <= 19.0)
            device.print(u"ligne"_s);
        QCOMPARE(device.pageCount(), 2);
        device.print(QStringList{u"un"_s, u"deux"_s, u"trois"_s});
        QCOMPARE(device.pageCount(), 3);
        QCOMPARE(device.currentY(), 3 * line);
    }

    // A PDF that could not be written (here: to a full disk) is never reported as saved.
    void aPdfThatCouldNotBeWrittenIsNotSaved()
    {
        MessageBox::setTesting(true);
        PrintDialogs::setTesting(true);
        const QString file = m_dir.filePath("plein.pdf");
        QVERIFY(QFile::link("/dev/full", file));
        PrintDialogs::setNextFileName(file);
        MessageBox::takeShown();
        const QString database = TestSupport::makeDatabase(m_dir, u"small.sql"_s);
        QCOMPARE(PrintCommand(FakePrinters(), nullptr, {}).exportPdf(nullptr, {}, {}, database),
                 PrintCommand::Outcome::Failed);
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QVERIFY(shown.size() == 1 && shown[0].icon == MessageBox::Icon::Critical);
    }

    // The current printer and page are shown; another printer offers its own papers (the
    // common ones when it says nothing), keeping the paper when it has it; what is set is
    // what comes back.
    void showsAndReturnsTheChoice()
    {
        PageSetupDialog dialog({"Bureau", "Cabinet", "Étiquettes"}, &papersOf,
                               {"Cabinet", page(QPageSize::A4, QPageLayout::Portrait, QMarginsF(10, 12, 14, 16))});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Mise en page"));
        auto *printers = dialog.findChild<QComboBox *>("cboImprimante");
        auto *papers = dialog.findChild<QComboBox *>("cboPapier");
        const auto paper = [papers] { return papers->currentData().value<QPageSize>().id(); };
        QCOMPARE(printers->currentText(), QStringLiteral("Cabinet"));
        QCOMPARE(paper(), QPageSize::A4);
        QCOMPARE(dialog.findChild<QDoubleSpinBox *>("txtMargeBas")->value(), 16.0);
        QVERIFY(dialog.findChild<QRadioButton *>("optPortrait")->isChecked());

        printers->setCurrentText(QStringLiteral("Étiquettes"));
        QCOMPARE(papers->count(), 2);
        QCOMPARE(paper(), QPageSize::A5);
        papers->setCurrentIndex(1);
        printers->setCurrentText(QStringLiteral("Bureau"));
        QVERIFY(papers->count() >= 4);
        QCOMPARE(paper(), QPageSize::Letter);
        dialog.findChild<QRadioButton *>("optPaysage")->setChecked(true);
        dialog.findChild<QDoubleSpinBox *>("txtMargeGauche")->setValue(5);
        QCOMPARE(dialog.choice().printer, QStringLiteral("Bureau"));
        QVERIFY(dialog.choice().layout.isEquivalentTo(
            page(QPageSize::Letter, QPageLayout::Landscape, QMarginsF(5, 12, 14, 16))));

        // Without printers: said so, and the page alone comes back.
        PageSetupDialog none({}, &papersOf, {QString(), page(QPageSize::A5, QPageLayout::Portrait, {})});
        auto *nothing = none.findChild<QComboBox *>("cboImprimante");
        QVERIFY(!nothing->isEnabled());
        QCOMPARE(nothing->currentText(), QStringLiteral("Aucune imprimante installée"));
        QVERIFY(none.choice().printer.isEmpty() && none.choice().layout.pageSize().id() == QPageSize::A5);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
