#include "Beep.h"
#include "BusyPointer.h"
#include "core/FakePrinting.h"
#include "MessageBox.h"
#include "PrintCommand.h"
#include "PrintDevice.h"
#include "PrintDialogs.h"
#include "PrintFailure.h"
#include "PrintSetup.h"
#include "TestSupport.h"

#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

// A device that notes, at every call, whether the pointer is busy; it may refuse to end
// the document, as a full disk would.
struct PointerWatch final : PrintDevice {
    QList<bool> &busy;
    bool refuseEnd;
    PointerWatch(QList<bool> &busy, bool refuseEnd) : busy(busy), refuseEnd(refuseEnd) {}
    void note() const { busy.append(BusyPointer::isBusy()); }
    void setScaleMode(ScaleMode) override { note(); }
    void setFontName(const QString &) override { note(); }
    void setFontSize(double) override { note(); }
    void setFontBold(bool) override { note(); }
    double currentX() const override { return 0; }
    double currentY() const override { return 0; }
    void setCurrentX(double) override { note(); }
    void setCurrentY(double) override { note(); }
    void print(const QString &) override { note(); }
    void print() override { note(); }
    void print(const QStringList &) override { note(); }
    double textWidth(const QString &) const override { return 0; }
    double printableWidth() const override { return 19; }
    void newPage() override { note(); }
    void endDoc() override
    {
        note();
        if (refuseEnd)
            throw PrintFailure(PrintFailure::Stage::Finish, QStringLiteral("visite.pdf"), true);
    }
};

// The print command around the report: the pointer while the device prints, what a
// refusing device tells, and the report printed for real to a PDF file read back with
// poppler.
class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        MessageBox::setTesting(true);
        PrintDialogs::setTesting(true);
    }

    void busyPointerWhileTheDevicePrints_data()
    {
        QTest::addColumn<bool>("refuseEnd");
        QTest::newRow("printed") << false;
        QTest::newRow("device refuses to end") << true;
    }

    void busyPointerWhileTheDevicePrints()
    {
        QFETCH(bool, refuseEnd);
        QTemporaryDir dir;
        PrintDialogs::setNextFileName(dir.filePath(QStringLiteral("visite.pdf")));
        FakePrinters printers;
        PrintSetup setup;
        QList<bool> busy;
        PrintCommand command(printers, nullptr, setup, {},
                             [&](QPrinter &) { return std::make_unique<PointerWatch>(busy, refuseEnd); });
        const int beeps = Beep::count();
        MessageBox::takeShown();
        QCOMPARE(command.run(nullptr, {{"abcès (9)", 203}}, {{"Syndrome 2  (19)", 2}},
                             TestSupport::makeDatabase(dir, QStringLiteral("small.sql"))),
                 refuseEnd ? PrintCommand::Outcome::Failed : PrintCommand::Outcome::Saved);
        QVERIFY(busy.size() > 10);
        QCOMPARE(busy.count(false), 0);
        QVERIFY(!BusyPointer::isBusy());
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.last().text.startsWith(QStringLiteral("Le fichier « visite.pdf » n'a pas pu être écrit")),
                 refuseEnd);
        QCOMPARE(Beep::count() - beeps, refuseEnd ? 1 : 0);
    }

    // The accents survive, and a line that would fall off the page starts the next one, at
    // its own x.
    void printsTheReportToPdf()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils (pdftoppm, pdftotext) are not installed");
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("visite.pdf"));
        PrintDialogs::setNextFileName(file);
        FakePrinters printers;
        PrintSetup setup;
        setup.layout = QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                   QPageLayout::Millimeter);
        QList<ListEntry> signes{{"abcès (9)", 203}};
        for (int n = 1; n <= 40; ++n)
            signes.append({QStringLiteral("Signe %1 (9)").arg(n), 9000 + n});
        const RegionalClock clock{[] { return QDateTime(QDate(2026, 12, 5), QTime(14, 5, 9)); },
                                  QLocale(QLocale::French, QLocale::France)};
        QCOMPARE(PrintCommand(printers, nullptr, setup, clock)
                     .run(nullptr, signes, {{"Syndrome 2  (19)", 2}},
                          TestSupport::makeDatabase(dir, QStringLiteral("small.sql"))),
                 PrintCommand::Outcome::Saved);

        QProcess::execute(QStringLiteral("pdftotext"), {file, dir.filePath(QStringLiteral("visite.txt"))});
        QFile textFile(dir.filePath(QStringLiteral("visite.txt")));
        QVERIFY(textFile.open(QIODevice::ReadOnly));
        const QStringList pages = QString::fromUtf8(textFile.readAll()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 2);
        QStringList expected{"Etat de la visite en cours le 05/12/2026 à 14:05:09", "Liste des symptômes constatés"};
        for (const ListEntry &sign : signes)
            expected.append(sign.text);
        expected << "Liste des syndromes classés à partir du plus pertinent (Seulement les 5 premiers)"
                 << "1) Syndrome 2 (19)"
                 << "abcès (9)";
        QCOMPARE(pages.join(QLatin1Char('\n')).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);

        // The second page starts with a recorded sign, at its x of 1 cm past the 1 cm margin.
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {"-png", "-r", "80", "-f", "2", "-l", "2", file, dir.filePath(QStringLiteral("page"))});
        const QImage page(dir.filePath(QStringLiteral("page-2.png")));
        const double perCm = 80 / 2.54;
        int left = page.width();
        for (int y = int(1.05 * perCm); y < int(1.3 * perCm); ++y)
            for (int x = 0; x < left; ++x)
                if (qGray(page.pixel(x, y)) < 128)
                    left = x;
        QVERIFY2(qAbs(left / perCm - 2) < 0.15, qPrintable(QString::number(left / perCm)));
    }
    // On A5 upright the long title wraps inside the printable width instead of running off
    // the paper; the PDF carries the document's name as its title.
    void narrowPaperWrapsAndTitlesThePdf()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            QSKIP("poppler-utils (pdftoppm, pdfinfo) are not installed");
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a5.pdf"));
        PrintDialogs::setNextFileName(file);
        FakePrinters printers;
        PrintSetup setup;
        setup.layout = QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                   QPageLayout::Millimeter);
        const RegionalClock clock{[] { return QDateTime(QDate(2026, 12, 5), QTime(14, 5, 9)); },
                                  QLocale(QLocale::French, QLocale::France)};
        QCOMPARE(PrintCommand(printers, nullptr, setup, clock)
                     .exportPdf(nullptr, {{"abcès (9)", 203}}, {{"Syndrome 2  (19)", 2}},
                                TestSupport::makeDatabase(dir, QStringLiteral("small.sql"))),
                 PrintCommand::Outcome::Saved);

        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {file});
        QVERIFY(info.waitForFinished());
        const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(infoText.contains(QRegularExpression(QStringLiteral("Title: +Visite du 05/12/2026 à 14:05:09\n"))),
                 qPrintable(infoText));

        QProcess::execute(QStringLiteral("pdftoppm"), {"-png", "-r", "80", file, dir.filePath(QStringLiteral("a5"))});
        QImage page(dir.filePath(QStringLiteral("a5-1.png")));
        QVERIFY(!page.isNull());
        const double perCm = 80 / 2.54;
        int right = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = right; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 128)
                    right = x;
        // Nothing printed in the right margin.
        QVERIFY2(right / perCm <= 14.8 - 1.0 + 0.05, qPrintable(QString::number(right / perCm)));

        QProcess text;
        text.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        const QStringList lines = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\n'));
        QVERIFY2(lines.contains(QStringLiteral("premiers)")), qPrintable(lines.join(QLatin1Char('|'))));
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
