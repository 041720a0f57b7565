#include "Database.h"
#include "DatabaseError.h"
#include "Recordset.h"
#include "TestSupport.h"
#include "WeightRebuild.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = DatabaseError::Kind;
using Weights = QList<std::pair<qint32, qint32>>; // (NumModalité, Valeur)
using Values = QList<float>;

class TestWeightRebuild : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("Signes.mdb"));

    static QString values(const Weights &rows)
    {
        QStringList list;
        for (const auto &[a, b] : rows)
            list.append(QStringLiteral("(%1, %2)").arg(a).arg(b));
        return list.join(u',');
    }

    // Modality m has links[m] links; Journal records every append to the weight table, in order.
    void makeBase(const Weights &links, const Weights &old)
    {
        QFile::remove(m_path);
        Database::create(m_path)->executeNative(
            QStringLiteral("CREATE TEMP TABLE l(m, c); INSERT INTO l VALUES %1; CREATE TEMP TABLE s AS WITH RECURSIVE"
                           " s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 30) SELECT n FROM s;"
                           "INSERT INTO \"Catégories\" VALUES (1, 'Teint');"
                           "INSERT INTO \"Syndromes\" SELECT n, 'Syndrome ' || n, (n - 1) % 5 + 1 FROM s;"
                           "INSERT INTO \"Modalités\" SELECT m, 'Signe ' || m, 1 FROM l;"
                           "INSERT INTO \"Modalité-Syndrome\" SELECT m, n FROM l, s WHERE n <= c;"
                           "INSERT INTO Valorisation VALUES %2; CREATE TABLE Journal (NumModalité, Valeur);"
                           "CREATE TRIGGER journal AFTER INSERT ON Valorisation"
                           " BEGIN INSERT INTO Journal VALUES (NEW.NumModalité, NEW.Valeur); END;")
                .arg(values(links), values(old)));
    }

    Weights read(const char *tail)
    {
        auto rs = Database::open(m_path)->openRecordset(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(tail)));
        Weights rows;
        for (; !rs->isEof(); rs->moveNext())
            rows.append({rs->field(u"NumModalité").toInt(), rs->field(u"Valeur").toInt()});
        return rows;
    }

private slots:
    void rebuild_data()
    {
        QTest::addColumn<Weights>("links");
        QTest::addColumn<Weights>("appended"); // in the order of the appends
        QTest::addColumn<Values>("progress");
        QTest::newRow("one linked modality") << Weights{{7, 1}} << Weights{{7, 9}} << Values{10, 10};
        QTest::newRow("1, 3, 9 and 12 links") // numbered so that number order is not link-count order
            << Weights{{40, 12}, {10, 9}, {30, 1}, {20, 3}} << Weights{{30, 9}, {20, 7}, {10, 1}, {40, 1}}
            << Values{10, 10, 32.5, 55, 77.5};
        QTest::newRow("ties by number, ten links weigh one, unlinked loses its row")
            << Weights{{5, 10}, {3, 2}, {1, 2}, {2, 0}} << Weights{{1, 8}, {3, 8}, {5, 1}} << Values{10, 10, 40, 70};
        QTest::newRow("empty link table") << Weights{{1, 0}, {2, 0}} << Weights{} << Values{10};
    }

    void rebuild()
    {
        QFETCH(Weights, links);
        QFETCH(Weights, appended);
        QFETCH(Values, progress);
        makeBase(links, {{1, 3}, {2, 3}, {7, 2}});
        Values received;
        QCOMPARE(WeightRebuild::run(m_path, [&](float v) { received.append(v); }), appended.size());
        QCOMPARE(received, progress);
        QCOMPARE(read("Journal ORDER BY rowid"), appended);
        std::sort(appended.begin(), appended.end());
        QCOMPARE(read("Valorisation ORDER BY 1"), appended);
        WeightRebuild::run(m_path); // running again gives the same table
        QCOMPARE(read("Valorisation ORDER BY 1"), appended);
    }

    void failureKeepsOldWeights_data()
    {
        QTest::addColumn<QString>("injury");
        QTest::addColumn<Kind>("kind");
        QTest::newRow("third append refused") << u"trigger"_s << Kind::Failed;
        QTest::newRow("read-only file") << u"read-only"_s << Kind::ReadOnly;
        QTest::newRow("locked by another program") << u"locked"_s << Kind::Locked;
        // Cut to 32 bits it would read as sign 509.
        QTest::newRow("a sign number past 32 bits") << u"4294967805"_s << Kind::BadKey;
    }

    void failureKeepsOldWeights()
    {
        QFETCH(QString, injury);
        makeBase({{40, 12}, {10, 9}, {30, 1}, {20, 3}}, {{10, 4}, {20, 4}, {30, 4}, {99, 4}});
        const Weights before = read("Valorisation ORDER BY 1");
        std::unique_ptr<Database> holder;
        if (injury == u"trigger"_s) {
            Database::open(m_path)->executeNative(
                u"CREATE TRIGGER boom BEFORE INSERT ON Valorisation WHEN (SELECT count(*) FROM Valorisation) >= 2"
                " BEGIN SELECT RAISE(ABORT, 'boom'); END;"_s);
        } else if (injury == u"read-only"_s) {
            QFile file(m_path); // write version 3: the engine opens the file read only, even as superuser
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(18) && file.write("\x03", 1) == 1);
        } else if (injury == u"locked"_s) {
            Database::setBusyTimeout(50);
            holder = Database::open(m_path);
            holder->executeNative(u"BEGIN IMMEDIATE"_s);
        } else {
            Database::open(m_path)->executeNative(
                u"UPDATE Modalités SET NumModalité = %1 WHERE NumModalité = 30;"
                "UPDATE \"Modalité-Syndrome\" SET NumModalité = %1 WHERE NumModalité = 30;"_s.arg(injury));
        }
        const auto e = TestSupport::failure([&] { WeightRebuild::run(m_path); });
        QVERIFY2(e, "the rebuild reported success");
        QTEST(e->kind(), "kind");
        if (e->kind() == Kind::BadKey)
            QCOMPARE(QStringList({e->details().value(0).table, e->details().value(0).value}),
                     QStringList({u"Modalités"_s, injury}));
        QCOMPARE(read("Valorisation ORDER BY 1"), before);
    }
};

QTEST_GUILESS_MAIN(TestWeightRebuild)
#include "tst_weightrebuild.moc"
