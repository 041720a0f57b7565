#include "PrintDevice.h"
#include "TestSupport.h"
#include "VisitReport.h"

#include <QTest>

using Entries = QList<ListEntry>;

// Keeps every line it is asked to print, every line half a centimetre high, every letter
// 0.018 cm per point wide (the texts in `wide` wider than any page). It never breaks a page
// by itself.
struct RecordingDevice final : PrintDevice {
    struct Line {
        QString text;
        double size;
        bool bold;
        double x, y;
        int page;
    };

    explicit RecordingDevice(double startY = 0, double width = 19.0) : y(startY), width(width) {}
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
        y += 0.5;
    }
    void print() override { print(QString()); } // an empty line has an empty text
    void print(const QStringList &pieces) override
    {
        for (const double start = x; const QString &piece : pieces) {
            x = start;
            print(piece);
        }
    }
    double textWidth(const QString &t) const override { return wide.contains(t) ? 1000 : t.size() * size * 0.018; }
    double printableWidth() const override { return width; }
    void newPage() override
    {
        ++page;
        x = y = 0;
    }
    void endDoc() override { ++endDocs; }

    QList<Line> lines;
    double x = 0, y, width, size = 12;
    QString font;
    QStringList wide;
    bool bold = false;
    int page = 1, endDocs = 0;
};

// The visit report as the print device receives it. In the small fixture, syndrome 2 is
// supported by abcès, écoulement, Langue pâle (9) and pulses (1); syndrome 3 by Ecchymose,
// Langue rouge, Zona and the same pulses; syndromes 4 and 5 by pulses alone.
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
            shown.append(QStringLiteral("%1%2 x%3 %4").arg(l.size).arg(l.bold ? "b" : "").arg(l.x).arg(l.text));
        return shown;
    }

private slots:
    void initTestCase() { m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql")); }

    // An empty visit still has its header, titles and empty lines; on narrow paper the long
    // lines wrap at the printable width, each piece at the line's x; on A4 nothing does.
    void emptyVisit()
    {
        for (const auto &[width, expected] : std::initializer_list<std::pair<double, QString>>{
                 {19.0, "12b x5 Etat de la visite en cours le 05/12/2026 à 14:05:09|12b x0 |12b x0 Liste des symptômes "
                        "constatés|12b x0 |10 x0 |12b x0 Liste des syndromes classés à partir du plus pertinent "
                        "(Seulement les 5 premiers)|12b x0 "}, // A4
                 {12.8, "12b x5 Etat de la visite en cours le|12b x5 05/12/2026 à 14:05:09|12b x0 |12b x0 Liste des "
                        "symptômes constatés|12b x0 |10 x0 |12b x0 Liste des syndromes classés à partir du plus "
                        "pertinent|12b x0 (Seulement les 5 premiers)|12b x0 "}}) { // A5
            m_device = RecordingDevice(0, width);
            QCOMPARE(print({}, {}).join('|'), expected);
            QCOMPARE(m_device.font, QStringLiteral("Times New Roman"));
            QCOMPARE(m_device.endDocs, 1);
            QCOMPARE(m_reads, 1); // date and time from one reading, so that midnight cannot mix two days
        }
    }

    // The first five ranked syndromes, each with the recorded signs that support it in the
    // query's alphabetical order, matched by number (a sign recorded before its weight was
    // rebuilt, "écoulement (8)", is still the sign the ranking counted), as recorded; a
    // syndrome without rows is a heading alone.
    void blocks()
    {
        m_device = RecordingDevice();
        const Entries signes{{"Zona (9)", 201},  {"Langue pâle (9)", 1801}, {"abcès (9)", 203},
                             {"Abcès (9)", 203}, {"écoulement (8)", 202},   {"Zona (9)", 201}};
        Entries syndromes{{"Syndrome disparu  (9)", 99}};
        for (int n = 2; n <= 6; ++n)
            syndromes.append({QStringLiteral("Syndrome %1  (9)").arg(n), n});
        const QStringList all = print(signes, syndromes);
        QCOMPARE(all.mid(4, 6), QStringList({"10 x1 Zona (9)", "10 x1 Langue pâle (9)", "10 x1 abcès (9)",
                                             "10 x1 Abcès (9)", "10 x1 écoulement (8)", "10 x1 Zona (9)"}));
        QCOMPARE(all.mid(13),
                 QStringList({"10b x1 1) Syndrome disparu  (9)", "10 x0 ", "10b x1 2) Syndrome 2  (9)",
                              "10 x2 abcès (9)", "10 x2 Abcès (9)", "10 x2 écoulement (8)", "10 x2 Langue pâle (9)",
                              "10 x0 ", "10b x1 3) Syndrome 3  (9)", "10 x2 Zona (9)", "10 x2 Zona (9)", "10 x0 ",
                              "10b x1 4) Syndrome 4  (9)", "10 x0 ", "10b x1 5) Syndrome 5  (9)", "10 x0 "}));
    }

    // Lines 0.5 cm high; 7 lines besides the recorded signs come before the syndromes. A page
    // test finding y at 24 goes on, at 24.01 asks for a page, which the next line starts, below
    // the empty lines asked for meanwhile; nothing starts a page no line needs. A wrapped line
    // keeps its pieces on one page.
    void pageBreaks()
    {
        // Recorded signs that support nothing, before écoulement and abcès; where the device
        // starts; the texts wider than the page; a second syndrome after syndrome 2; the lines
        // from the first heading on, then the pages.
        const auto check = [this](int absent, double startY, const QStringList &wide, bool second,
                                  const QStringList &expected) {
            m_device = RecordingDevice(startY);
            m_device.wide = wide;
            const Entries signes =
                Entries(absent, {"Signe absent (9)", 9000}) + Entries{{"écoulement (9)", 202}, {"abcès (9)", 203}};
            const QStringList all = print(signes, second ? Entries{{"Syndrome 2  (18)", 2}, {"Syndrome 3  (10)", 3}}
                                                         : Entries{{"Syndrome 2  (18)", 2}});
            QStringList block;
            for (const RecordingDevice::Line &l : m_device.lines.mid(all.indexOf("10b x1 1) Syndrome 2  (18)")))
                if (!l.text.isEmpty())
                    block.append(QStringLiteral("p%1 y%2 x%3 %4").arg(l.page).arg(l.y).arg(l.x).arg(l.text));
            QCOMPARE(block << QStringLiteral("pages %1").arg(m_device.page), expected);
        };
        const QString heading = "x1 1) Syndrome 2  (18)";
        // A heading at 24 stays; at 24.01 it breaks.
        check(39, 0.0, {}, false, {"p1 y24 " + heading, "p1 y24.5 x2 abcès (9)", "p2 y0 x2 écoulement (9)", "pages 2"});
        check(39, 0.01, {}, false, {"p2 y0 " + heading, "p2 y0.5 x2 abcès (9)", "p2 y1 x2 écoulement (9)", "pages 2"});
        // Wrapped, écoulement takes two lines among the recorded signs too: the heading at 23;
        // a sign leaving 24 stays, and the page past its end starts only for a line.
        check(36, 0.0, {"écoulement (9)"}, false,
              {"p1 y23 " + heading, "p1 y23.5 x2 abcès (9)", "p1 y24 x2 écoulement", "p1 y24.5 x2 (9)", "pages 1"});
        // The next block starts below its empty line.
        check(36, 0.01, {}, true,
              {"p1 y22.51 " + heading, "p1 y23.01 x2 abcès (9)", "p1 y23.51 x2 écoulement (9)",
               "p2 y0.5 x1 2) Syndrome 3  (10)", "pages 2"});
    }

    // A word wider than the line is cut between letters; the blanks at a cut belong to no piece.
    void wrapCutsAWordWiderThanTheLine()
    {
        QCOMPARE(VisitReport::wrap("abcdefgh  ij", 3, [](const QString &t) { return double(t.size()); }),
                 QStringList({"abc", "def", "gh", "ij"}));
    }
};

QTEST_GUILESS_MAIN(TestVisitReport)
#include "tst_visitreport.moc"
