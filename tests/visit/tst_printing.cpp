#include "MessageBox.h"
#include "PageSetup.h"
#include "PrintCommand.h"
#include "PrintDialogs.h"
#include "PrintFailure.h"
#include "PrinterDevice.h"
#include "ReportFont.h"
#include "SessionPrinter.h"
#include "TestSupport.h"

#include <QApplication>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cmath>

using Answers = QList<MessageBox::Answer>;

// Real printing, to PDF files: the device on a QPrinter, the print command with its
// questions and failures, and the page set-up on the session's printer. The files are read
// back with poppler's tools where they are installed.
class TestPrinting : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

    static RegionalClock frenchClock()
    {
        return RegionalClock{[] { return QDateTime(QDate(2026, 12, 5), QTime(14, 5, 9)); },
                           QLocale(QLocale::French, QLocale::France)};
    }

    static QString run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            return QString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    static bool havePoppler()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()
               && !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
               && !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
    }

    // The text of a page range, with ligatures (ﬁ, ﬂ) spelt out again.
    static QString pdfText(const QString &file, int first = 0, int last = 0)
    {
        QStringList args;
        if (first > 0)
            args << QStringLiteral("-f") << QString::number(first) << QStringLiteral("-l") << QString::number(last);
        args << file << QStringLiteral("-");
        return run(QStringLiteral("pdftotext"), args).normalized(QString::NormalizationForm_KC);
    }

    static int pdfPages(const QString &file)
    {
        const QString info = run(QStringLiteral("pdfinfo"), {file});
        for (const QString &line : info.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("Pages:")))
                return line.mid(6).trimmed().toInt();
        }
        return -1;
    }

    static QString pdfPageSize(const QString &file)
    {
        const QString info = run(QStringLiteral("pdfinfo"), {file});
        for (const QString &line : info.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("Page size:")))
                return line.mid(10).trimmed();
        }
        return QString();
    }

    // Left edge of the ink in a band of rows, in cm from the page's left edge; -1 if none.
    static double leftmostInk(const QImage &page, double dpi, double topCm, double bottomCm)
    {
        const double perCm = dpi / 2.54;
        int left = page.width();
        for (int y = int(topCm * perCm); y < int(bottomCm * perCm) && y < page.height(); ++y) {
            for (int x = 0; x < left; ++x) {
                if (qGray(page.pixel(x, y)) < 128) {
                    left = x;
                    break;
                }
            }
        }
        return left == page.width() ? -1 : left / perCm;
    }

    static void answer(const Answers &answers)
    {
        for (MessageBox::Answer a : answers)
            MessageBox::setNextAnswer(a);
    }

    QString newFile(const QString &name) const
    {
        const QString file = m_dir.filePath(name);
        QFile::remove(file);
        return file;
    }

    static const QList<ListEntry> &signes()
    {
        static const QList<ListEntry> list{{QStringLiteral("Pouls fin (1)"), 4303},
                                           {QStringLiteral("abcès (9)"), 203},
                                           {QStringLiteral("écoulement (9)"), 202}};
        return list;
    }

    static const QList<ListEntry> &syndromes()
    {
        static const QList<ListEntry> list{{QStringLiteral("Syndrome 2  (19)"), 2},
                                           {QStringLiteral("Syndrome 3  (1)"), 3}};
        return list;
    }

private slots:
    void initTestCase()
    {
        MessageBox::setTesting(true);
        PrintDialogs::setTesting(true);
        m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"));
    }

    void init()
    {
        MessageBox::takeShown();
        // Also forgets a file name that a cancelled case never asked for.
        PrintDialogs::setTesting(true);
    }

    void timesNewRomanHasItsMetrics()
    {
        // Where the face itself is missing, its metric twin must be what is used.
        const QFontInfo info(ReportFont::font(QStringLiteral("Times New Roman"), 12, true));
        QVERIFY2(info.family() == QLatin1String("Times New Roman")
                     || info.family() == QLatin1String("Liberation Serif"),
                 qPrintable(info.family()));
        // Ascent, descent and line gap of the face: 1.15 of the size.
        QVERIFY(qAbs(ReportFont::lineHeight(QStringLiteral("Times New Roman"), 12, false) - 1.15 * 12 * 2.54 / 72)
                < 0.005);
    }

    // Lines that would run past the printable area go to the next page instead of being lost.
    void deviceNeverLosesALine()
    {
        if (!havePoppler())
            QSKIP("poppler-utils (pdftotext, pdfinfo) are not installed");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(newFile(QStringLiteral("lines.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A6));
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);

        PrinterDevice device(printer);
        device.setFontName(QStringLiteral("Times New Roman"));
        device.setFontSize(10);
        const double height = ReportFont::lineHeight(QStringLiteral("Times New Roman"), 10, false);
        const int perPage = int(std::floor(device.printableHeight() / height));
        for (int i = 1; i <= perPage + 3; ++i) {
            device.setCurrentX(1);
            device.print(QStringLiteral("Ligne %1").arg(i));
        }
        QCOMPARE(device.pageCount(), 2);
        // The first line of the second page starts at its top, at the x it was given.
        QVERIFY(qAbs(device.currentY() - 3 * height) < 1e-9);
        device.endDoc();

        QCOMPARE(pdfPages(printer.outputFileName()), 2);
        const QStringList second = pdfText(printer.outputFileName(), 2, 2).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(second.value(0).trimmed(), QStringLiteral("Ligne %1").arg(perPage + 1));
        QVERIFY(pdfText(printer.outputFileName(), 1, 1).contains(QStringLiteral("Ligne %1").arg(perPage)));
    }

    // The whole command without a printer: confirmation, the offer of a PDF file, the file
    // picker, then the report read back from the file and rendered.
    void printsTheReportToPdf()
    {
        if (!havePoppler())
            QSKIP("poppler-utils (pdftoppm, pdftotext, pdfinfo) are not installed");
        SessionPrinter session(false);
        PrintCommand command(session, frenchClock());
        const QString file = newFile(QStringLiteral("Visite.pdf"));
        PrintDialogs::setNextFileName(file);
        answer({MessageBox::Answer::Ok, MessageBox::Answer::Ok});

        QCOMPARE(command.run(nullptr, signes(), syndromes(), m_path), PrintCommand::Outcome::Printed);
        QVERIFY(!BusyPointer::isBusy());

        const QList<MessageBox::Shown> boxes = MessageBox::takeShown();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes.at(0).text, QStringLiteral("Impression de la visite en cours?"));
        QCOMPARE(boxes.at(0).title, QStringLiteral("Opération d'impression"));
        QCOMPARE(boxes.at(0).buttons, MessageBox::Buttons::OkCancel);
        QCOMPARE(boxes.at(0).icon, MessageBox::Icon::Question);
        QVERIFY(boxes.at(1).text.contains(QStringLiteral("PDF")));
        QCOMPARE(boxes.at(1).buttons, MessageBox::Buttons::OkCancel);
        const QList<PrintDialogs::Shown> dialogs = PrintDialogs::takeShown();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(QFileInfo(dialogs.at(0).proposedPath).fileName(), QStringLiteral("Visite 2026-12-05 14-05.pdf"));
        QCOMPARE(QFileInfo(dialogs.at(0).proposedPath).absolutePath(),
                 QFileInfo(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).absoluteFilePath());

        // Accents survive into the file; lines come in the report's order.
        const QString text = pdfText(file);
        const QStringList expected{
            QStringLiteral("Etat de la visite en cours le 05/12/2026 à 14:05:09"),
            QStringLiteral("Liste des symptômes constatés"),
            QStringLiteral("Pouls fin (1)"),
            QStringLiteral("abcès (9)"),
            QStringLiteral("écoulement (9)"),
            QStringLiteral("Liste des syndromes classés à partir du plus pertinent (Seulement les 5 premiers)"),
            QStringLiteral("1) Syndrome 2 (19)"), // pdftotext shows a double blank as one
            QStringLiteral("2) Syndrome 3 (1)"),
        };
        qsizetype from = 0;
        for (const QString &line : expected) {
            const qsizetype at = text.indexOf(line, from);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("missing or out of order: ") + line + "\n" + text));
            from = at + line.size();
        }
        QCOMPARE(pdfPages(file), 1);

        // Rendered at 80 dpi, the lines start where the layout puts them: 1 cm of margin,
        // then the header at 5 cm, the titles at 0, the signs at 1, supporting signs at 2.
        const QString prefix = m_dir.filePath(QStringLiteral("page"));
        run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-f"),
             QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), file, prefix});
        QImage page(prefix + QStringLiteral("-1.png"));
        QVERIFY(!page.isNull());
        QVERIFY(qAbs(page.width() - 21.0 / 2.54 * 80) < 2); // A4
        if (qEnvironmentVariableIsSet("TESSAVOR_KEEP_REPORT"))
            page.save(qEnvironmentVariable("TESSAVOR_KEEP_REPORT"));

        const double margin = 1.0;
        const double big = ReportFont::lineHeight(QStringLiteral("Times New Roman"), 12, true);
        const double small = ReportFont::lineHeight(QStringLiteral("Times New Roman"), 10, false);
        struct Band {
            const char *what;
            double top;
            double x;
        };
        const double signsTop = margin + 4 * big;
        const double syndromesTop = signsTop + 4 * small + 2 * big; // three signs, an empty line, title, empty
        const QList<Band> bands{
            {"header", margin, 5},
            {"first title", margin + 2 * big, 0},
            {"first sign", signsTop, 1},
            {"second title", signsTop + 4 * small, 0},
            {"first heading", syndromesTop, 1},
            {"first supporting sign", syndromesTop + small, 2},
        };
        for (const Band &band : bands) {
            const double left = leftmostInk(page, 80, band.top + 0.05, band.top + 0.3);
            QVERIFY2(qAbs(left - (margin + band.x)) < 0.15,
                     qPrintable(QStringLiteral("%1 starts at %2 cm").arg(band.what).arg(left)));
        }
    }

    void cancelledOrFailed_data()
    {
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QString>("chosenFile"); // empty: the file picker is cancelled
        QTest::addColumn<QString>("database");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("pickers");
        QTest::addColumn<QString>("lastBoxTitle");
        QTest::addColumn<int>("outcome");

        const auto cancelled = int(PrintCommand::Outcome::Cancelled);
        const auto failed = int(PrintCommand::Outcome::Failed);
        const QString print = QStringLiteral("Opération d'impression");
        QTest::newRow("cancel at the confirmation") << Answers{MessageBox::Answer::Cancel} << "report.pdf"
                                                    << "Signes.mdb" << 1 << 0 << print << cancelled;
        QTest::newRow("no PDF wanted") << Answers{MessageBox::Answer::Ok, MessageBox::Answer::Cancel} << "report.pdf"
                                       << "Signes.mdb" << 2 << 0 << print << cancelled;
        QTest::newRow("file picker cancelled") << Answers{MessageBox::Answer::Ok, MessageBox::Answer::Ok} << ""
                                               << "Signes.mdb" << 2 << 1 << print << cancelled;
        QTest::newRow("database missing") << Answers{MessageBox::Answer::Ok, MessageBox::Answer::Ok} << "report.pdf"
                                          << "Absent.mdb" << 3 << 1 << "Base de connaissances" << failed;
        QTest::newRow("file cannot be written")
            << Answers{MessageBox::Answer::Ok, MessageBox::Answer::Ok} << "no such folder/report.pdf"
            << "Signes.mdb" << 3 << 1 << print << failed;
    }

    // Nothing is left behind: no file, no busy pointer.
    void cancelledOrFailed()
    {
        QFETCH(Answers, answers);
        QFETCH(QString, chosenFile);
        QFETCH(QString, database);
        QFETCH(int, boxes);
        QFETCH(int, pickers);
        QFETCH(QString, lastBoxTitle);
        QFETCH(int, outcome);

        const QString file = chosenFile.isEmpty() ? QString() : newFile(chosenFile);
        PrintDialogs::setNextFileName(file);
        answer(answers);
        SessionPrinter session(false);
        PrintCommand command(session, frenchClock());
        const int beeps = Beep::count();
        if (chosenFile.startsWith(QLatin1String("no such folder")))
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QCOMPARE(int(command.run(nullptr, signes(), syndromes(), m_dir.filePath(database))), outcome);

        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), boxes);
        QCOMPARE(shown.last().title, lastBoxTitle);
        QCOMPARE(PrintDialogs::takeShown().size(), pickers);
        if (outcome == int(PrintCommand::Outcome::Failed)) {
            QCOMPARE(shown.last().icon, MessageBox::Icon::Critical);
            QCOMPARE(Beep::count(), beeps + 1);
        }
        if (chosenFile.startsWith(QLatin1String("no such folder")))
            QVERIFY(shown.last().text.contains(QStringLiteral("« %1 »").arg(QDir::toNativeSeparators(file))));
        QVERIFY(file.isEmpty() || !QFile::exists(file));
        QVERIFY(!BusyPointer::isBusy());
    }

    void pdfSuffixIsAdded()
    {
        const QString file = newFile(QStringLiteral("rapport"));
        QFile::remove(file + QStringLiteral(".pdf"));
        PrintDialogs::setNextFileName(file);
        SessionPrinter session(false);
        QCOMPARE(PrintCommand(session, frenchClock()).run(nullptr, signes(), syndromes(), m_path),
                 PrintCommand::Outcome::Printed);
        QVERIFY(QFile::exists(file + QStringLiteral(".pdf")));
        QVERIFY(!QFile::exists(file));
    }

    // The page set-up works on the very printer the next report is printed on.
    void pageSetupAppliesToTheNextPrint()
    {
        if (!havePoppler())
            QSKIP("poppler-utils (pdfinfo) are not installed");
        SessionPrinter session(false);
        PageSetup(session).run(nullptr);
        const QList<PrintDialogs::Shown> dialogs = PrintDialogs::takeShown();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs.at(0).kind, PrintDialogs::Kind::PageSetup);
        QCOMPARE(dialogs.at(0).printer, &session.printer());
        // What the user would choose in the dialog.
        dialogs.at(0).printer->setPageSize(QPageSize(QPageSize::A5));

        const QString file = newFile(QStringLiteral("a5.pdf"));
        PrintDialogs::setNextFileName(file);
        QCOMPARE(PrintCommand(session, frenchClock()).run(nullptr, signes(), syndromes(), m_path),
                 PrintCommand::Outcome::Printed);
        QVERIFY2(pdfPageSize(file).contains(QLatin1String("(A5)")), qPrintable(pdfPageSize(file)));
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
