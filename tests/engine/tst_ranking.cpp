#include "DataSource.h"
#include "DatabaseError.h"
#include "Ranking.h"
#include "TestSupport.h"

#include <QTest>

class TestRanking : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    static constexpr MethodTable All{0, 1, 1, 1, 1, 1};

    static QList<ListEntry> signs(std::initializer_list<qint32> numbers)
    {
        QList<ListEntry> list;
        for (qint32 n : numbers)
            list.append({QStringLiteral("signe %1").arg(n), n});
        return list;
    }

    QList<ListEntry> rank(const QList<ListEntry> &recorded, const MethodTable &methods = All)
    {
        DataSource classement;
        classement.setDatabaseName(m_path);
        return Ranking::classerSyndromes(classement, recorded, methods);
    }

private slots:
    void initTestCase() { m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("ranking.sql")); }

    void thresholdIsAboveSix()
    {
        QCOMPARE(rank(signs({10})), QList<ListEntry>{});
        QCOMPARE(rank(signs({10, 11})), (QList<ListEntry>{{QStringLiteral("Vide de Qi  (7)"), 1}}));
    }

    void oneSignOfWeightNineRanksAllItsSyndromes()
    {
        const QList<ListEntry> ranked = rank(signs({12}));
        QCOMPARE(ranked.size(), 3);
        for (const ListEntry &e : ranked)
            QVERIFY2(e.text.endsWith(QStringLiteral("  (9)")), qPrintable(e.text));
    }

    void highestSumFirst()
    {
        const QList<ListEntry> ranked = rank(signs({12, 13, 10}));
        QCOMPARE(ranked.first(), (ListEntry{QStringLiteral("Chaleur  (16)"), 2}));
        QCOMPARE(ranked.at(1), (ListEntry{QStringLiteral("Vide de Qi  (15)"), 1}));
        QCOMPARE(ranked.at(2), (ListEntry{QStringLiteral("Vide de Yin du Rein  (9)"), 3}));
    }

    void methodsNotChosenAreLeftOut()
    {
        QCOMPARE(rank(signs({12, 13}), {0, 0, 0, 0, 0, 1}),
                 (QList<ListEntry>{{QStringLiteral("Vide de Yin du Rein  (9)"), 3}}));
        // A stored 2 leaves its box ticked, yet the method is not ranked.
        QCOMPARE(rank(signs({12}), {0, 2, 0, 0, 0, 1}).size(), 1);
    }

    void aSignRecordedTwiceCountsOnce()
    {
        QCOMPARE(rank(signs({12, 12})).first().text.right(5), QStringLiteral("  (9)"));
    }

    void noQueryWithoutSignsOrMethods()
    {
        // A missing file would fail at the first query: none is sent.
        DataSource nowhere;
        nowhere.setDatabaseName(m_dir.filePath(QStringLiteral("absent.mdb")));
        QVERIFY(Ranking::classerSyndromes(nowhere, {}, All).isEmpty());
        QVERIFY(Ranking::classerSyndromes(nowhere, signs({12}), {0, 0, 0, 0, 0, 0}).isEmpty());
        QVERIFY(nowhere.recordSource().isEmpty());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, Ranking::classerSyndromes(nowhere, signs({12}), All));
    }
};

QTEST_GUILESS_MAIN(TestRanking)
#include "tst_ranking.moc"
