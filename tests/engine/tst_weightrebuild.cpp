#include "Database.h"
#include "DatabaseError.h"
#include "Recordset.h"
#include "WeightRebuild.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Weights = QList<std::pair<qint32, qint32>>; // (NumModalité, Valeur)
using Values = QList<float>;

// The rebuild of the weight table: the rule, the order of the appended rows, the progress
// reported, and that a failure at any point leaves the old weights exactly as they were.
class TestWeightRebuild : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

    // A base whose modality m has links[m] links (to syndromes 1, 2, ...), with `old` as
    // its weight table. Every append to the weight table is also written to Journal, whose
    // row order is the order of the appends.
    void makeBase(const Weights &links, const Weights &old)
    {
        QFile::remove(m_path);
        auto db = Database::create(m_path);
        QString sql = QStringLiteral("INSERT INTO \"Catégories\" VALUES (1, 'Teint');"
                                     "WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 30)"
                                     " INSERT INTO \"Syndromes\" SELECT n, 'Syndrome ' || n, (n - 1) % 5 + 1 FROM s;");
        for (const auto &[modality, count] : links) {
            sql += QStringLiteral("INSERT INTO \"Modalités\" VALUES (%1, 'Signe %1', 1);").arg(modality);
            if (count > 0)
                sql += QStringLiteral("WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %2)"
                                      " INSERT INTO \"Modalité-Syndrome\" SELECT %1, n FROM s;")
                           .arg(modality)
                           .arg(count);
        }
        for (const auto &[modality, weight] : old)
            sql += QStringLiteral("INSERT INTO \"Valorisation\" VALUES (%1, %2);").arg(modality).arg(weight);
        sql += QStringLiteral("CREATE TABLE Journal (n INTEGER);"
                              "CREATE TRIGGER journal AFTER INSERT ON Valorisation"
                              " BEGIN INSERT INTO Journal VALUES (NEW.NumModalité); END;");
        db->executeNative(sql);
        db->close();
    }

    void native(const QString &sql)
    {
        auto db = Database::open(m_path);
        db->executeNative(sql);
        db->close();
    }

    Weights weightTable()
    {
        auto db = Database::open(m_path);
        auto rs = db->openRecordset(QStringLiteral("SELECT NumModalité, Valeur FROM Valorisation ORDER BY 1"));
        Weights rows;
        for (int i = 0; i < rs->recordCount(); ++i, rs->moveNext())
            rows.append({rs->field(u"NumModalité").toInt(), rs->field(u"Valeur").toInt()});
        return rows;
    }

    QList<qint32> appendOrder()
    {
        auto db = Database::open(m_path);
        auto rs = db->openRecordset(QStringLiteral("SELECT n FROM Journal ORDER BY rowid"));
        QList<qint32> order;
        for (int i = 0; i < rs->recordCount(); ++i, rs->moveNext())
            order.append(rs->field(u"n").toInt());
        return order;
    }

    static Weights sorted(Weights w)
    {
        std::sort(w.begin(), w.end());
        return w;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("Signes.mdb"));
    }

    void cleanup() { Database::setBusyTimeout(5000); }

    void rebuild_data()
    {
        QTest::addColumn<Weights>("links");
        QTest::addColumn<Weights>("appended"); // in the order of the appends
        QTest::addColumn<Values>("progress");

        QTest::newRow("one linked modality") << Weights{{7, 1}} << Weights{{7, 9}} << Values{10, 10};
        // Numbered so that the order by number is not the order by link count.
        QTest::newRow("1, 3, 9 and 12 links")
            << Weights{{40, 12}, {10, 9}, {30, 1}, {20, 3}} << Weights{{30, 9}, {20, 7}, {10, 1}, {40, 1}}
            << Values{10, 10, 32.5, 55, 77.5};
        QTest::newRow("equal counts by number, ten links weigh one")
            << Weights{{5, 10}, {3, 2}, {1, 2}, {2, 0}} << Weights{{1, 8}, {3, 8}, {5, 1}} << Values{10, 10, 40, 70};
        QTest::newRow("no link at all") << Weights{{1, 0}, {2, 0}} << Weights{} << Values{10};
    }

    void rebuild()
    {
        QFETCH(Weights, links);
        QFETCH(Weights, appended);
        QFETCH(Values, progress);
        makeBase(links, {{1, 3}, {2, 3}, {7, 2}});

        Values received;
        const int n = WeightRebuild::run(m_path, [&](float v) { received.append(v); });
        QCOMPARE(n, appended.size());
        QCOMPARE(received, progress);
        QCOMPARE(weightTable(), sorted(appended));
        QList<qint32> order;
        for (const auto &row : appended)
            order.append(row.first);
        QCOMPARE(appendOrder(), order);
    }

    // A modality whose links were all removed loses its weight row; the others are
    // recomputed whatever they held; running again changes nothing, and the baseline
    // without a transaction gives the very same table.
    void rebuildFollowsTheLinks()
    {
        makeBase({{1, 2}, {2, 0}, {3, 11}}, {{1, 4}, {2, 9}, {3, 5}});
        const Weights expected{{1, 8}, {3, 1}};
        WeightRebuild::run(m_path);
        QCOMPARE(weightTable(), expected);
        WeightRebuild::run(m_path);
        QCOMPARE(weightTable(), expected);
        WeightRebuild::runWithoutTransaction(m_path);
        QCOMPARE(weightTable(), expected);
    }

    void failureKeepsOldWeights_data()
    {
        QTest::addColumn<QString>("injury");
        QTest::addColumn<int>("kind");
        QTest::addColumn<Values>("progress");

        QTest::newRow("third append refused")
            << QStringLiteral("trigger") << int(DatabaseError::Kind::Failed) << Values{10, 10, 32.5};
        QTest::newRow("file the engine may not write")
            << QStringLiteral("read-only") << int(DatabaseError::Kind::Failed) << Values{};
        QTest::newRow("another program holds a write transaction")
            << QStringLiteral("locked") << int(DatabaseError::Kind::Locked) << Values{};
        QTest::newRow("link table missing")
            << QStringLiteral("no links") << int(DatabaseError::Kind::Failed) << Values{};
        QTest::newRow("file missing") << QStringLiteral("missing") << int(DatabaseError::Kind::Missing) << Values{};
    }

    void failureKeepsOldWeights()
    {
        QFETCH(QString, injury);
        QFETCH(int, kind);
        QFETCH(Values, progress);
        makeBase({{40, 12}, {10, 9}, {30, 1}, {20, 3}}, {{10, 4}, {20, 4}, {30, 4}, {99, 4}});
        const Weights before = weightTable();

        std::unique_ptr<Database> holder;
        QString path = m_path;
        if (injury == QLatin1String("trigger")) {
            native(QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON Valorisation"
                                  " WHEN (SELECT count(*) FROM Valorisation) >= 2"
                                  " BEGIN SELECT RAISE(ABORT, 'boom'); END;"));
        } else if (injury == QLatin1String("read-only")) {
            // A write version above 2 in the header makes the engine open the file read
            // only, whoever runs the test (file permissions do not stop the superuser).
            QFile file(m_path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(18);
            file.write("\x03", 1);
            file.close();
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        } else if (injury == QLatin1String("locked")) {
            Database::setBusyTimeout(50);
            holder = Database::open(m_path);
            holder->beginTransaction();
            holder->executeNative(QStringLiteral("INSERT INTO Journal VALUES (0)"));
        } else if (injury == QLatin1String("no links")) {
            native(QStringLiteral("DROP TABLE \"Modalité-Syndrome\""));
        } else {
            path = m_dir.filePath(QStringLiteral("absent.mdb"));
        }

        Values received;
        try {
            WeightRebuild::run(path, [&](float v) { received.append(v); });
            QFAIL("the rebuild reported success");
        } catch (const DatabaseError &e) {
            QCOMPARE(int(e.kind()), kind);
            QCOMPARE(e.path(), path);
            QVERIFY(!e.engineMessage().isEmpty());
            if (injury == QLatin1String("trigger"))
                QCOMPARE(e.engineMessage(), QStringLiteral("boom"));
        }
        QCOMPARE(received, progress);
        if (holder)
            holder->rollback();
        holder.reset();
        QFile(m_path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (injury == QLatin1String("read-only")) {
            QFile file(m_path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(18);
            file.write("\x01", 1);
        }
        QCOMPARE(weightTable(), before);
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("absent.mdb"))));
    }
};

QTEST_GUILESS_MAIN(TestWeightRebuild)
#include "tst_weightrebuild.moc"
