#include "DataSource.h"
#include "Database.h"
#include "DatabaseError.h"
#include "Explanations.h"
#include "Ranking.h"
#include "Recordset.h"
#include "TestSupport.h"

#include <QRandomGenerator>
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

    // A syndrome or sign number that does not fit 32 bits is a damaged base: cut down, these
    // would read as syndrome 1 and sign 10, and the ranking would name the wrong syndrome.
    void numbersPast32BitsAreRefused_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("value");
        QTest::newRow("the ranking") << "ranking"
                                     << "Syndromes"
                                     << "4294967297";
        QTest::newRow("the signs of a syndrome") << "explanation"
                                                 << "Modalités"
                                                 << "4294967306";
    }
    void numbersPast32BitsAreRefused()
    {
        QFETCH(QString, reader);
        QFETCH(QString, table);
        QFETCH(QString, value);
        QTemporaryDir dir;
        DataSource source;
        source.setDatabaseName(TestSupport::makeDatabase(dir, QStringLiteral("ranking.sql")));
        Database::open(source.databaseName())
            ->executeNative(
                QStringLiteral("UPDATE Syndromes SET NumSyndrome = 4294967297 WHERE NumSyndrome = 2;"
                               "UPDATE \"Modalité-Syndrome\" SET NumSyndrome = 4294967297 WHERE NumSyndrome = 2;"
                               "UPDATE Modalités SET NumModalité = 4294967306 WHERE NumModalité = 10;"
                               "UPDATE \"Modalité-Syndrome\" SET NumModalité = 4294967306 WHERE NumModalité = 10;"
                               "UPDATE Valorisation SET NumModalité = 4294967306 WHERE NumModalité = 10;"));
        try {
            if (reader == QLatin1String("ranking"))
                Ranking::classerSyndromes(source, signs({13}), All);
            else
                Explanations::syndromeSigns(source, 1, {});
            QFAIL("the number was read");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::BadKey);
            QCOMPARE(e.details().value(0).table, table);
            QCOMPARE(e.details().value(0).value, value);
        }
    }

    // What hovering an entry says, word for word.
    void explanations()
    {
        DataSource listeValeurs;
        listeValeurs.setDatabaseName(m_path);
        QCOMPARE(Explanations::syndromeText(Explanations::syndromeSigns(listeValeurs, 1, signs({11, 10, 11}))),
                 QStringLiteral("2 signes retrouvés sur 3 : Signe de poids six (6), Signe de poids un (1) — somme 7. "
                                "Autres signes : Signe de poids neuf (9)."));
        QCOMPARE(Explanations::syndromeText(Explanations::syndromeSigns(listeValeurs, 2, signs({13, 12}))),
                 QStringLiteral("2 signes retrouvés sur 2 : Signe de poids neuf (9), Signe de poids sept (7) — "
                                "somme 16."));
        QCOMPARE(Explanations::syndromeText(Explanations::syndromeSigns(listeValeurs, 3, signs({10}))),
                 QStringLiteral("Aucun signe retrouvé sur 1. Autres signes : Signe de poids neuf (9)."));
        QCOMPARE(Explanations::signText(listeValeurs, 12), QStringLiteral("Catégorie : Pouls — indique 3 syndromes."));
        QCOMPARE(Explanations::signText(listeValeurs, 13), QStringLiteral("Catégorie : Pouls — indique 1 syndrome."));
        QCOMPARE(Explanations::signText(listeValeurs, 99), QString());
    }

    // On the bundled base, every ranked syndrome's explanation sums to its ranked sum.
    void explanationsAgreeWithTheRanking()
    {
        DataSource source;
        source.setDatabaseName(TestSupport::bundledDatabase());
        source.setRecordSource(QStringLiteral("SELECT NumModalité FROM Valorisation"));
        source.refresh();
        QList<qint32> recordable;
        for (Recordset &rs = *source.recordset(); !rs.isEof(); rs.moveNext())
            recordable.append(rs.field(u"NumModalité").toInt());
        QVERIFY(recordable.size() > 100);
        QRandomGenerator random(3);
        int checked = 0;
        for (int visit = 0; visit < 40; ++visit) {
            QList<ListEntry> recorded;
            for (int n = 3 + random.bounded(10); n > 0; --n) {
                const qint32 sign = recordable[random.bounded(int(recordable.size()))];
                recorded.append({QString::number(sign), sign});
            }
            for (const ListEntry &ranked : Ranking::classerSyndromes(source, recorded, All)) {
                const Explanations::SyndromeSigns split = Explanations::syndromeSigns(source, ranked.data, recorded);
                QVERIFY2(ranked.text.endsWith(QStringLiteral("  (%1)").arg(split.sum)), qPrintable(ranked.text));
                ++checked;
            }
        }
        QVERIFY(checked > 40);
    }
};

QTEST_GUILESS_MAIN(TestRanking)
#include "tst_ranking.moc"
