#include "Database.h"
#include "KnowledgeBaseLoader.h"
#include "Recordset.h"
#include "TestSupport.h"

#include <QFile>
#include <QTest>

// The bundled knowledge base, as the build generated it, must be usable from day one:
// every category of the map has signs to pick, every syndrome has signs, nothing
// dangles, and the weights follow the rule.
class TestKnowledgeBase : public QObject
{
    Q_OBJECT

    std::unique_ptr<Database> m_db;

    int count(const QString &sql)
    {
        auto rs = m_db->openRecordset(sql);
        return rs->field(u"n").toInt();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(TestSupport::bundledDatabase()), "build the knowledge base first");
        m_db = Database::open(TestSupport::bundledDatabase());
    }

    void everyMapCategoryHasEightSignsToPick_data()
    {
        QTest::addColumn<int>("category");
        for (int c : {2,  5,  8,  9,  10, 11, 14, 15, 17, 18, 19, 23, 24, 25, 26, 27, 28, 29, 33, 36, 37, 38,
                      43, 45, 49, 50, 51, 52, 53, 54, 56, 57, 58, 59, 60, 64, 65, 66, 67, 3,  4,  22, 31, 62})
            QTest::addRow("%d", c) << c;
    }
    void everyMapCategoryHasEightSignsToPick()
    {
        QFETCH(int, category);
        // Only signs with a weight can be listed, hence picked.
        QVERIFY(count(QStringLiteral("SELECT COUNT(*) AS n FROM Modalités m JOIN Valorisation v ON v.NumModalité = "
                                     "m.NumModalité WHERE m.NumCatégorie = %1")
                          .arg(category)) >= 8);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) AS n FROM Catégories WHERE NumCatégorie = %1").arg(category)),
                 1);
    }

    void sizes()
    {
        QVERIFY(count(QStringLiteral("SELECT COUNT(*) AS n FROM Modalités")) >= 350);
        QVERIFY(count(QStringLiteral("SELECT COUNT(*) AS n FROM Syndromes")) >= 90);
        QVERIFY(count(QStringLiteral("SELECT COUNT(*) AS n FROM [Modalité-Syndrome]")) >= 1500);
        for (int method = 1; method <= 5; ++method)
            QVERIFY(count(QStringLiteral("SELECT COUNT(*) AS n FROM Syndromes WHERE NumMéthode = %1").arg(method)) >=
                    10);
    }

    void everySyndromeHasFiveLinks()
    {
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) AS n FROM Syndromes s WHERE (SELECT COUNT(*) FROM "
                                      "[Modalité-Syndrome] l WHERE l.NumSyndrome = s.NumSyndrome) < 5")),
                 0);
    }

    void nothingDangles()
    {
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) AS n FROM [Modalité-Syndrome] l WHERE NOT EXISTS (SELECT 1 "
                                      "FROM Modalités m WHERE m.NumModalité = l.NumModalité) OR NOT EXISTS (SELECT 1 "
                                      "FROM Syndromes s WHERE s.NumSyndrome = l.NumSyndrome)")),
                 0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) AS n FROM Modalités m WHERE NOT EXISTS (SELECT 1 FROM "
                                      "Catégories c WHERE c.NumCatégorie = m.NumCatégorie)")),
                 0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) AS n FROM (SELECT NumCatégorie, Modalité FROM Modalités "
                                      "GROUP BY NumCatégorie, Modalité HAVING COUNT(*) > 1)")),
                 0);
    }

    void weightsFollowTheRule()
    {
        // One row per linked modality, 10 − links, at least 1; none for an unlinked one.
        QCOMPARE(count(QStringLiteral(
                     "SELECT COUNT(*) AS n FROM (SELECT NumModalité, COUNT(*) AS c FROM [Modalité-Syndrome] GROUP BY "
                     "NumModalité) l LEFT JOIN Valorisation v ON v.NumModalité = l.NumModalité WHERE v.Valeur IS NULL "
                     "OR v.Valeur <> MAX(10 - l.c, 1)")),
                 0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) AS n FROM Valorisation v WHERE NOT EXISTS (SELECT 1 FROM "
                                      "[Modalité-Syndrome] l WHERE l.NumModalité = v.NumModalité)")),
                 0);
    }

    void loaderRejectsMismatchedReviewColumns()
    {
        // The review columns of the link file must repeat the other files exactly.
        QTemporaryDir dir;
        for (auto [name, text] : {std::pair{"categories.csv", "NumCatégorie;Nom\n43;Pouls\n"},
                                  {"modalites.csv", "NumModalité;NumCatégorie;Modalité\n4301;43;Pouls rapide\n"},
                                  {"syndromes.csv", "NumSyndrome;NumMéthode;Nom\n501;5;Chaleur du Coeur\n"},
                                  {"liens.csv", "NumSyndrome;NumModalité;Syndrome;Modalité\n501;4301;Chaleur du "
                                                "Coeur;Pouls lent\n"}}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        }
        const QString problem = KnowledgeBaseLoader::load(dir.path(), dir.filePath(QStringLiteral("out.mdb")));
        QVERIFY2(problem.contains(QStringLiteral("liens.csv:2")), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestKnowledgeBase)
#include "tst_knowledgebase.moc"
