#include "PrintDevice.h"
#include "TestSupport.h"
#include "VisitReport.h"

#include <QTest>

#include <algorithm>

using Entries = QList<ListEntry>;

// Keeps every line it is asked to print, every line half a centimetre high unless told
// otherwise, every letter 0.018 cm per point wide, on a printable width of A4's with margins
// of 1 cm unless told otherwise. It never breaks a page by itself.
struct RecordingDevice final : PrintDevice {
    struct Line {
        QString text;
        double size;
        bool bold;
        double x, y;
        int page;
        bool wrapped = false; // a piece of a line too wide for the page
    };

    explicit RecordingDevice(double lineHeight = 0.5, double startY = 0, double width = A4Width)
        : lineHeight(lineHeight), y(startY), width(width)
    {}
    static constexpr double A4Width = 19.0;
    static constexpr double A5Width = 12.8;
    void setScaleMode(ScaleMode) override {}
    void setFontName(const QString &name) override { font = name; }
    void setFontSize(double points) override { size = points; }
    void setFontBold(bool on) override { bold = on; }
    double currentX() const override { return x; }
    double currentY() const override { return y; }
    void setCurrentX(double cm) override { x = cm; }
    void setCurrentY(double cm) override { y = cm; }
    void print(const QString &text) override
    {
        lines.append({text, size, bold, x, y, page});
        x = 0;
        y += lineHeight;
    }
    void print() override { print(QString()); } // an empty line has an empty text
    void print(const QStringList &pieces) override
    {
        const double start = x;
        for (const QString &piece : pieces) {
            x = start;
            print(piece);
            lines.last().wrapped = true;
        }
    }
    double textWidth(const QString &text) const override
    {
        return wide.contains(text) ? 1000 : text.size() * size * 0.018;
    }
    double printableWidth() const override { return width; }
    void newPage() override
    {
        ++page;
        x = y = 0;
    }
    void endDoc() override { ++endDocs; }

    QList<Line> lines;
    double lineHeight, x = 0, y, width, size = 12;
    QString font;
    QStringList wide;
    bool bold = false;
    int page = 1, endDocs = 0;
};

// The visit report as the print device receives it. In the small fixture, syndrome 2 is
// supported by abcès, écoulement, Langue pâle (9) and the pulses (1); syndrome 3 by
// Ecchymose, Langue rouge, Zona and the same pulses.
class TestVisitReport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    RecordingDevice m_device;
    int m_reads = 0;

    // Each line as "<points>[b] x<x> <text>".
    QStringList print(const Entries &signes, const Entries &syndromes)
    {
        m_reads = 0;
        const RegionalClock clock{[this] {
                                      ++m_reads;
                                      return QDateTime(QDate(2026, 12, 5), QTime(14, 5, 9));
                                  },
                                  QLocale(QLocale::French, QLocale::France)};
        VisitReport(signes, syndromes, m_path, clock, m_device).print();
        QStringList shown;
        for (const RecordingDevice::Line &l : m_device.lines)
            shown.append(QStringLiteral("%1%2 x%3 %4")
                             .arg(QString::number(l.size), l.bold ? "b" : "", QString::number(l.x), l.text));
        return shown;
    }

private slots:
    void initTestCase() { m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql")); }
    void init() { m_device = RecordingDevice(); }

    void atMostFiveBlocks_data()
    {
        QTest::addColumn<int>("ranked");
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("twelve ranked") << 12
                                       << QStringList{"10b x1 1) A", "10b x1 2) B", "10b x1 3) C", "10b x1 4) D",
                                                      "10b x1 5) E"};
        QTest::newRow("three ranked") << 3 << QStringList{"10b x1 1) A", "10b x1 2) B", "10b x1 3) C"};
    }

    void atMostFiveBlocks()
    {
        QFETCH(int, ranked);
        QFETCH(QStringList, headings);
        Entries syndromes;
        for (int n = 1; n <= ranked; ++n)
            syndromes.append({QString(QChar('A' + n - 1)), n});
        QCOMPARE(print({}, syndromes).filter(QStringLiteral(" x1 ")), headings);
    }

    void emptyVisit()
    {
        QCOMPARE(print({}, {}), QStringList({"12b x5 Etat de la visite en cours le 05/12/2026 à 14:05:09", "12b x0 ",
                                             "12b x0 Liste des symptômes constatés", "12b x0 ", "10 x0 ",
                                             "12b x0 Liste des syndromes classés à partir du plus pertinent "
                                             "(Seulement les 5 premiers)",
                                             "12b x0 "}));
        QCOMPARE(m_device.font, QStringLiteral("Times New Roman"));
        QCOMPARE(m_device.endDocs, 1);
        QCOMPARE(m_reads, 1); // date and time from one reading, so that midnight cannot mix two days
    }

    // Only the recorded supporting signs, in the query's alphabetical order, not the list's.
    void supportingSignsUnderEachBlock()
    {
        const Entries signes{
            {"Pouls tendu (1)", 4304}, {"Zona (9)", 201}, {"Langue pâle (9)", 1801}, {"abcès (9)", 203}};
        QCOMPARE(print(signes, {{"Syndrome 2  (19)", 2}, {"Syndrome 3  (10)", 3}}).mid(7 + signes.size()),
                 QStringList({"10b x1 1) Syndrome 2  (19)", "10 x2 abcès (9)", "10 x2 Langue pâle (9)",
                              "10 x2 Pouls tendu (1)", "10 x0 ", "10b x1 2) Syndrome 3  (10)", "10 x2 Pouls tendu (1)",
                              "10 x2 Zona (9)", "10 x0 "}));
    }

    void matchingIsExact_data()
    {
        QTest::addColumn<Entries>("signes");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("weight text differs") << Entries{{"abcès (8)", 203}} << QStringList();
        QTest::newRow("case differs") << Entries{{"Abcès (9)", 203}} << QStringList();
        QTest::newRow("recorded twice") << Entries{{"abcès (9)", 203}, {"abcès (9)", 203}}
                                        << QStringList{"10 x2 abcès (9)", "10 x2 abcès (9)"};
    }

    void matchingIsExact()
    {
        QFETCH(Entries, signes);
        QFETCH(QStringList, printed);
        QCOMPARE(print(signes, {{"Syndrome 2  (9)", 2}}).filter(QStringLiteral(" x2 ")), printed);
    }

    void syndromeWithoutRows()
    {
        QCOMPARE(print({{"abcès (9)", 203}}, {{"Syndrome disparu  (9)", 99}, {"Syndrome 2  (9)", 2}}).mid(8),
                 QStringList({"10b x1 1) Syndrome disparu  (9)", "10 x0 ", "10b x1 2) Syndrome 2  (9)",
                              "10 x2 abcès (9)", "10 x0 "}));
    }

    // Lines 0.5 cm high; 7 lines besides the recorded signs come before the syndromes.
    void pageTest_data()
    {
        QTest::addColumn<Entries>("signes");
        QTest::addColumn<double>("startY");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("page"); // at 24 on the first, at the top of the second
        const Entries heading24(41, {"Signe absent (9)", 9000});
        QTest::newRow("heading at 24 stays") << heading24 << 0.0 << "1) Syndrome 2  (18)" << 1;
        QTest::newRow("heading at 24.01 breaks") << heading24 << 0.01 << "1) Syndrome 2  (18)" << 2;
        // The heading at 23, then abcès leaves 24 (or 24.01) before écoulement.
        const Entries sign24 = heading24.mid(4) + Entries{{"écoulement (9)", 202}, {"abcès (9)", 203}};
        QTest::newRow("sign leaving 24 stays") << sign24 << 0.0 << "écoulement (9)" << 1;
        QTest::newRow("sign leaving 24.01 breaks") << sign24 << 0.01 << "écoulement (9)" << 2;
    }

    void pageTest()
    {
        QFETCH(Entries, signes);
        QFETCH(double, startY);
        QFETCH(QString, line);
        QFETCH(int, page);
        m_device = RecordingDevice(0.5, startY);
        print(signes, {{"Syndrome 2  (18)", 2}});
        // The line's last printing: the recorded signs list it first.
        const auto found = *std::find_if(m_device.lines.crbegin(), m_device.lines.crend(),
                                         [&](const RecordingDevice::Line &l) { return l.text == line; });
        QCOMPARE(found.page, page);
        QCOMPARE(found.y, page == 1 ? 24.0 : 0.0);
    }
    void wrap_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("available"); // in letters, each one wide
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("fits") << "abc def" << 7.0 << QStringList{"abc def"};
        QTest::newRow("at the last blank that fits") << "abc def ghi" << 8.0 << QStringList{"abc def", "ghi"};
        QTest::newRow("blanks at the cut dropped") << "ab  (19)" << 5.0 << QStringList{"ab", "(19)"};
        QTest::newRow("a word wider than the line") << "abcdefgh ij" << 3.0 << QStringList{"abc", "def", "gh", "ij"};
    }

    void wrap()
    {
        QFETCH(QString, text);
        QFETCH(double, available);
        QTEST(VisitReport::wrap(text, available, [](const QString &t) { return double(t.size()); }), "pieces");
    }

    // On narrow paper the syndromes' title (and the header, 5 cm in) wraps at the printable
    // width, each piece at the line's x; on A4 nothing does.
    void wrapsOnlyWhenTooWide_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("A4") << RecordingDevice::A4Width
                            << QStringList({"12b x5 Etat de la visite en cours le 05/12/2026 à 14:05:09", "12b x0 ",
                                            "12b x0 Liste des symptômes constatés", "12b x0 ", "10 x0 ",
                                            "12b x0 Liste des syndromes classés à partir du plus pertinent "
                                            "(Seulement les 5 premiers)",
                                            "12b x0 "});
        QTest::newRow("A5") << RecordingDevice::A5Width
                            << QStringList({"12b x5 Etat de la visite en cours le", "12b x5 05/12/2026 à 14:05:09",
                                            "12b x0 ", "12b x0 Liste des symptômes constatés", "12b x0 ", "10 x0 ",
                                            "12b x0 Liste des syndromes classés à partir du plus pertinent",
                                            "12b x0 (Seulement les 5 premiers)", "12b x0 "});
    }

    void wrapsOnlyWhenTooWide()
    {
        QFETCH(double, width);
        m_device = RecordingDevice(0.5, 0, width);
        QTEST(print({}, {}), "expected");
    }

    void wrappedLineCountsForThePageTest_data()
    {
        QTest::addColumn<QStringList>("wide"); // texts measured wider than any page
        QTest::addColumn<int>("absent");       // recorded signs that support nothing
        QTest::addColumn<QStringList>("block");
        // The block's heading at 23; abcès leaves 24 on one line, 24.5 on two. Wrapped, abcès
        // takes two lines among the recorded signs too: one sign fewer keeps the heading at 23.
        QTest::newRow("one line") << QStringList{} << 37
                                  << QStringList{"p1 y23 1) Syndrome 2  (18)", "p1 y23.5 abcès (9)",
                                                 "p1 y24 écoulement (9)"};
        QTest::newRow("wrapped in two") << QStringList{"abcès (9)"} << 36
                                        << QStringList{"p1 y23 1) Syndrome 2  (18)", "p1 y23.5 abcès", "p1 y24 (9)",
                                                       "p2 y0 écoulement (9)"};
    }

    // A wrapped line keeps its pieces on one page, and the page test sees where they end.
    void wrappedLineCountsForThePageTest()
    {
        QFETCH(QStringList, wide);
        QFETCH(int, absent);
        m_device.wide = wide;
        const Entries signes =
            Entries(absent, {"Signe absent (9)", 9000}) + Entries{{"écoulement (9)", 202}, {"abcès (9)", 203}};
        const QStringList all = print(signes, {{"Syndrome 2  (18)", 2}});
        QStringList block;
        for (const RecordingDevice::Line &l : m_device.lines.mid(all.indexOf("10b x1 1) Syndrome 2  (18)")))
            if (!l.text.isEmpty())
                block.append(QStringLiteral("p%1 y%2 %3").arg(l.page).arg(l.y).arg(l.text));
        QTEST(block, "block");
    }

    // The page test after the last line asks for a page that nothing fills: none is started.
    void noBlankLastPage()
    {
        // abcès leaves 24.01.
        m_device = RecordingDevice(0.5, 0.01);
        const Entries signes = Entries(38, {"Signe absent (9)", 9000}) + Entries{{"abcès (9)", 203}};
        print(signes, {{"Syndrome 2  (18)", 2}});
        QCOMPARE(m_device.lines.last().text, QStringLiteral("abcès (9)"));
        QCOMPARE(m_device.lines.last().y, 23.51);
        QCOMPARE(m_device.page, 1);
    }

    // A page asked for after a block is started by the next heading, below the block's empty
    // line, as if it had been started at once.
    void pageAfterABlockOpensWithItsEmptyLine()
    {
        m_device = RecordingDevice(0.5, 0.01);
        const Entries signes = Entries(38, {"Signe absent (9)", 9000}) + Entries{{"abcès (9)", 203}};
        print(signes, {{"Syndrome 2  (18)", 2}, {"Syndrome 3  (10)", 3}});
        const RecordingDevice::Line &heading = m_device.lines.at(m_device.lines.size() - 2);
        QCOMPARE(heading.text, QStringLiteral("2) Syndrome 3  (10)"));
        QCOMPARE(heading.page, 2);
        QCOMPARE(heading.y, 0.5);
        QCOMPARE(heading.x, 1.0);
    }
};

QTEST_GUILESS_MAIN(TestVisitReport)
#include "tst_visitreport.moc"
