#include "DatabaseError.h"
#include "RecordingDevice.h"
#include "ReportFont.h"
#include "Statements.h"
#include "TestSupport.h"
#include "VisitReport.h"

#include <QTest>

using Entries = QList<ListEntry>;

// The visit report as the print device receives it: which lines, in which font, where, and
// where the pages break. The knowledge base is the small fixture, whose syndrome 2 is
// supported by abcès, écoulement and Langue pâle (weight 9) and the pulses fin, glissant and
// tendu (weight 1), and syndrome 3 by Ecchymose, Langue rouge, Zona and the same pulses.
class TestVisitReport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

    static RegionalClock frenchClock(const QDateTime &when = QDateTime(QDate(2026, 12, 5), QTime(14, 5, 9)))
    {
        return RegionalClock{[when] { return when; }, QLocale(QLocale::French, QLocale::France)};
    }

    void printReport(RecordingDevice &device, const Entries &signes, const Entries &syndromes)
    {
        VisitReport(signes, syndromes, m_path, frenchClock(), device).print();
    }

    static Entries syndromesNumbered(int count)
    {
        Entries all;
        for (int n = 1; n <= count; ++n)
            all.append({QStringLiteral("Syndrome %1  (%2)").arg(n).arg(100 - n), n});
        return all;
    }

    static Entries fillers(int count)
    {
        Entries all;
        for (int i = 0; i < count; ++i)
            all.append({QStringLiteral("Signe absent %1 (9)").arg(i), 9000 + i});
        return all;
    }

    // The lines printed under the heading that starts with `heading`, up to the block's end.
    static QStringList block(const RecordingDevice &device, const QString &heading)
    {
        QStringList lines;
        bool inside = false;
        for (const RecordingDevice::Line &line : device.lines()) {
            if (inside && line.empty)
                break;
            if (inside)
                lines.append(line.text);
            if (!line.empty && line.text.startsWith(heading))
                inside = true;
        }
        return lines;
    }

    static QStringList headings(const RecordingDevice &device)
    {
        QStringList all;
        for (const RecordingDevice::Line &line : device.textLines()) {
            if (line.bold && line.x == 1)
                all.append(line.text);
        }
        return all;
    }

private slots:
    // The report only reads the knowledge base, so one copy serves every case.
    void initTestCase() { m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql")); }

    void atMostFiveBlocks_data()
    {
        QTest::addColumn<int>("ranked");
        QTest::addColumn<int>("blocks");
        QTest::newRow("twelve ranked") << 12 << 5;
        QTest::newRow("five ranked") << 5 << 5;
        QTest::newRow("three ranked") << 3 << 3;
        QTest::newRow("none ranked") << 0 << 0;
    }

    void atMostFiveBlocks()
    {
        QFETCH(int, ranked);
        QFETCH(int, blocks);
        RecordingDevice device;
        const Entries syndromes = syndromesNumbered(ranked);
        printReport(device, {}, syndromes);
        QStringList expected;
        for (int n = 1; n <= blocks; ++n)
            expected.append(QString::number(n) + QStringLiteral(") ") + syndromes.at(n - 1).text);
        QCOMPARE(headings(device), expected);
        QCOMPARE(device.endDocs(), 1);
    }

    // With nothing recorded and nothing ranked: header, both titles and their empty lines,
    // each in its font and at its place.
    void emptyVisitLayout()
    {
        RecordingDevice device;
        printReport(device, {}, {});
        QCOMPARE(device.scaleMode(), PrintDevice::ScaleMode::Centimetres);
        struct Expected {
            QString text;
            bool empty;
            double size;
            bool bold;
            double x;
        };
        const QList<Expected> expected{
            {QStringLiteral("Etat de la visite en cours le 05/12/2026 à 14:05:09"), false, 12, true, 5},
            {QString(), true, 12, true, 0},
            {QStringLiteral("Liste des symptômes constatés"), false, 12, true, 0},
            {QString(), true, 12, true, 0},
            {QString(), true, 10, false, 0},
            {QStringLiteral("Liste des syndromes classés à partir du plus pertinent (Seulement les 5 premiers)"), false,
             12, true, 0},
            {QString(), true, 12, true, 0},
        };
        const QList<RecordingDevice::Line> &lines = device.lines();
        QCOMPARE(lines.size(), expected.size());
        double y = 0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const RecordingDevice::Line &line = lines.at(i);
            QCOMPARE(line.text, expected.at(i).text);
            QCOMPARE(line.empty, expected.at(i).empty);
            QCOMPARE(line.fontName, QStringLiteral("Times New Roman"));
            QCOMPARE(line.size, expected.at(i).size);
            QCOMPARE(line.bold, expected.at(i).bold);
            QCOMPARE(line.x, expected.at(i).x);
            // Each line starts where the previous one's height left the position.
            QVERIFY(qAbs(line.y - y) < 1e-9);
            y += ReportFont::lineHeight(line.fontName, line.size, line.bold);
        }
        QVERIFY(device.pageBreaks().isEmpty());
        QCOMPARE(device.endDocs(), 1);
    }

    // Under each heading, only the recorded supporting signs, in the query's (alphabetical)
    // order rather than the list's, regular 10 points at x = 2.
    void supportingSignsUnderEachBlock()
    {
        RecordingDevice device;
        const Entries signes{{QStringLiteral("Pouls tendu (1)"), 4304},
                             {QStringLiteral("Zona (9)"), 201},
                             {QStringLiteral("Langue pâle (9)"), 1801},
                             {QStringLiteral("abcès (9)"), 203}};
        const Entries syndromes{{QStringLiteral("Syndrome 2  (19)"), 2}, {QStringLiteral("Syndrome 3  (10)"), 3}};
        printReport(device, signes, syndromes);

        QCOMPARE(block(device, QStringLiteral("1) Syndrome 2  (19)")),
                 QStringList({"abcès (9)", "Langue pâle (9)", "Pouls tendu (1)"}));
        QCOMPARE(block(device, QStringLiteral("2) Syndrome 3  (10)")), QStringList({"Pouls tendu (1)", "Zona (9)"}));
        for (const RecordingDevice::Line &line : device.textLines()) {
            if (line.text.startsWith(QLatin1String("1)")) || line.text.startsWith(QLatin1String("2)"))) {
                QCOMPARE(line.x, 1.0);
                QVERIFY(line.bold);
                QCOMPARE(line.size, 10.0);
            } else if (line.x == 2) {
                QVERIFY(!line.bold);
                QCOMPARE(line.size, 10.0);
            }
        }
    }

    void matchingIsExact_data()
    {
        QTest::addColumn<Entries>("signes");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("same text") << Entries{{QStringLiteral("abcès (9)"), 203}} << QStringList{"abcès (9)"};
        QTest::newRow("weight rebuilt since") << Entries{{QStringLiteral("abcès (8)"), 203}} << QStringList{};
        QTest::newRow("other case") << Entries{{QStringLiteral("Abcès (9)"), 203}} << QStringList{};
        QTest::newRow("extra blank") << Entries{{QStringLiteral("abcès  (9)"), 203}} << QStringList{};
        QTest::newRow("unaccented") << Entries{{QStringLiteral("abces (9)"), 203}} << QStringList{};
        QTest::newRow("recorded twice") << Entries{{QStringLiteral("abcès (9)"), 203},
                                                   {QStringLiteral("abcès (9)"), 203}}
                                        << QStringList{"abcès (9)", "abcès (9)"};
        QTest::newRow("same number, other text") << Entries{{QStringLiteral("Zona (9)"), 203}} << QStringList{};
    }

    void matchingIsExact()
    {
        QFETCH(Entries, signes);
        QFETCH(QStringList, printed);
        RecordingDevice device;
        printReport(device, signes, {{QStringLiteral("Syndrome 2  (9)"), 2}});
        QCOMPARE(block(device, QStringLiteral("1) ")), printed);
    }

    // A syndrome the knowledge base no longer links to anything prints its heading alone,
    // and the next block still follows.
    void syndromeWithoutRows()
    {
        RecordingDevice device;
        const Entries signes{{QStringLiteral("abcès (9)"), 203}};
        printReport(device, signes,
                    {{QStringLiteral("Syndrome disparu  (9)"), 99}, {QStringLiteral("Syndrome 2  (9)"), 2}});
        QCOMPARE(headings(device), QStringList({"1) Syndrome disparu  (9)", "2) Syndrome 2  (9)"}));
        QCOMPARE(block(device, QStringLiteral("1) ")), QStringList());
        QCOMPARE(block(device, QStringLiteral("2) ")), QStringList({"abcès (9)"}));
        QCOMPARE(device.endDocs(), 1);
    }

    void queryTextForSyndromeTwelve()
    {
        QCOMPARE(Statements::syndromeSigns(12),
                 QStringLiteral("SELECT Modalités.Modalité, Modalités.NumModalité, `Modalité-Syndrome`.NumSyndrome, "
                                "Valorisation.Valeur  FROM Modalités, `Modalité-Syndrome`, Valorisation  WHERE "
                                "Modalités.NumModalité = [Modalité-Syndrome].NumModalité  AND Modalités.NumModalité = "
                                "Valorisation.NumModalité AND [Modalité-Syndrome].NumSyndrome =  12 ORDER BY "
                                "Modalités.Modalité;"));
    }

    // Lines all 0.5 cm high, so that positions are exact. Before the syndromes come the header,
    // an empty line, the title, an empty line, the signs, an empty line, the second title and
    // an empty line: 7 lines besides the signs.
    void pageTests_data()
    {
        QTest::addColumn<Entries>("signes");
        QTest::addColumn<double>("startY");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("page");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("breaks");

        const Entries fortyOne = fillers(41); // the heading comes at y = 24
        QTest::newRow("heading at 24 stays") << fortyOne << 0.0 << "1) Syndrome 2  (18)" << 1 << 24.0 << 1.0 << 0;
        QTest::newRow("heading at 24.01 breaks") << fortyOne << 0.01 << "1) Syndrome 2  (18)" << 2 << 0.0 << 1.0 << 1;

        // The heading at 23, abcès at 23.5, leaving 24; écoulement goes on the same page.
        const Entries supported =
            fillers(37) + Entries{{QStringLiteral("écoulement (9)"), 202}, {QStringLiteral("abcès (9)"), 203}};
        QTest::newRow("line leaving 24 stays")
            << supported << 0.0 << "écoulement (9)" << 1 << 24.0 << 2.0 << 1; // after écoulement, at 24.5
        QTest::newRow("line leaving 24.01 breaks") << supported << 0.01 << "écoulement (9)" << 2 << 0.0 << 2.0 << 1;
    }

    void pageTests()
    {
        QFETCH(Entries, signes);
        QFETCH(double, startY);
        QFETCH(QString, line);
        QFETCH(int, page);
        QFETCH(double, y);
        QFETCH(double, x);
        QFETCH(int, breaks);

        RecordingDevice device(0.5, startY);
        printReport(device, signes, {{QStringLiteral("Syndrome 2  (18)"), 2}});
        const QList<RecordingDevice::Line> lines = device.textLines();
        // The line of the syndromes section, not the recorded sign of the same text.
        const auto found = std::find_if(lines.begin(), lines.end(),
                                        [&](const RecordingDevice::Line &l) { return l.text == line && l.x == x; });
        QVERIFY(found != lines.end());
        QCOMPARE(found->page, page);
        QVERIFY(qAbs(found->y - y) < 1e-9);
        QCOMPARE(found->x, x);
        QCOMPARE(device.pageBreaks().size(), breaks);
        // The recorded signs never break a page, however long the list.
        for (const RecordingDevice::Line &l : lines) {
            if (l.x == 1 && !l.bold)
                QCOMPARE(l.page, 1);
        }
    }

    void headerText_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("header");
        QTest::newRow("afternoon") << QDateTime(QDate(2026, 12, 5), QTime(14, 5, 9))
                                   << "Etat de la visite en cours le 05/12/2026 à 14:05:09";
        QTest::newRow("morning, single digits")
            << QDateTime(QDate(2027, 1, 2), QTime(8, 3, 4)) << "Etat de la visite en cours le 02/01/2027 à 08:03:04";
        QTest::newRow("midnight") << QDateTime(QDate(2026, 12, 31), QTime(0, 0, 0))
                                  << "Etat de la visite en cours le 31/12/2026 à 00:00:00";
    }

    void headerText()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, header);
        int reads = 0;
        const RegionalClock clock{[&reads, when] {
                                    ++reads;
                                    return when;
                                },
                                QLocale(QLocale::French, QLocale::France)};
        RecordingDevice device;
        VisitReport({}, {}, m_path, clock, device).print();
        QCOMPARE(device.texts().first(), header);
        // Date and time come from one reading of the clock.
        QCOMPARE(reads, 1);
    }

    void missingDatabasePrintsNothing()
    {
        RecordingDevice device;
        VisitReport report({{QStringLiteral("abcès (9)"), 203}}, syndromesNumbered(2),
                           m_dir.filePath(QStringLiteral("Absent.mdb")), frenchClock(), device);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, report.print());
        QVERIFY(device.lines().isEmpty());
        QCOMPARE(device.endDocs(), 0);
    }
};

QTEST_MAIN(TestVisitReport)
#include "tst_visitreport.moc"
