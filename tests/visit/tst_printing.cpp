#include "MessageBox.h"
#include "PrintCommand.h"
#include "PrintDialogs.h"
#include "SessionPrinter.h"
#include "TestSupport.h"

#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

// The report printed for real, without a printer, to a PDF file read back with poppler.
class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    // The accents survive, and a line that would fall off the page starts the next one, at
    // its own x.
    void printsTheReportToPdf()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils (pdftoppm, pdftotext) are not installed");
        MessageBox::setTesting(true);
        PrintDialogs::setTesting(true);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("visite.pdf"));
        PrintDialogs::setNextFileName(file);
        SessionPrinter session(false);
        session.printer().setPageSize(QPageSize(QPageSize::A5));
        session.printer().setPageOrientation(QPageLayout::Landscape);
        session.printer().setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        QList<ListEntry> signes{{"abcès (9)", 203}};
        for (int n = 1; n <= 40; ++n)
            signes.append({QStringLiteral("Signe %1 (9)").arg(n), 9000 + n});
        const RegionalClock clock{[] { return QDateTime(QDate(2026, 12, 5), QTime(14, 5, 9)); },
                                  QLocale(QLocale::French, QLocale::France)};
        QCOMPARE(PrintCommand(session, clock)
                     .run(nullptr, signes, {{"Syndrome 2  (19)", 2}},
                          TestSupport::makeDatabase(dir, QStringLiteral("small.sql"))),
                 PrintCommand::Outcome::Printed);

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
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
