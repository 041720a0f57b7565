#include "Statements.h"

using MethodTable = std::array<qint32, 6>;

#include <QTest>

#include <array>

#include <vector>

// The statements' very text matters: blanks, case and the order of the pieces are what
// the database receives, so the texts are compared whole.
class TestStatements : public QObject
{
    Q_OBJECT

private slots:
    void weightStatements()
    {
        QCOMPARE(Statements::weightReset(), QStringLiteral("DELETE * FROM Valorisation"));
        QCOMPARE(Statements::weightTable(), QStringLiteral("SELECT * FROM Valorisation"));
        QCOMPARE(Statements::weightCount(),
                 QStringLiteral("SELECT COUNT(`Modalité-Syndrome`.NumSyndrome) AS Compte, Modalités.NumModalité, "
                                "IIf(`Compte` < 10, 10 - `Compte`, 1) AS Valeurs  FROM Modalités INNER JOIN "
                                "`Modalité-Syndrome` ON Modalités.NumModalité = `Modalité-Syndrome`.NumModalité  "
                                "GROUP BY Modalités.NumModalité  ORDER BY COUNT(`Modalité-Syndrome`.NumSyndrome), "
                                "Modalités.NumModalité;"));
    }

    void rankingQuery()
    {
        const std::vector<qint32> signs{12, 40, 7};
        const QString signCondition = Statements::rankingSignCondition(signs);
        QCOMPARE(signCondition, QStringLiteral("12 OR Valorisation.NumModalité=40 OR Valorisation.NumModalité=7"));
        const QString methodCondition = Statements::rankingMethodCondition({0, 1, 0, 1, 0, 1});
        QCOMPARE(methodCondition, QStringLiteral("1 OR Syndromes.NumMéthode=3 OR Syndromes.NumMéthode=5"));
        QCOMPARE(Statements::ranking(signCondition, methodCondition),
                 QStringLiteral(
                     "SELECT Sum(Valorisation.Valeur) AS SommeDeValeur, Syndromes.Nom, Syndromes.NumSyndrome "
                     "FROM Syndromes INNER JOIN ([Modalité-Syndrome] INNER JOIN Valorisation ON "
                     "[Modalité-Syndrome].NumModalité = Valorisation.NumModalité) ON Syndromes.NumSyndrome = "
                     "[Modalité-Syndrome].NumSyndrome Where Valorisation.NumModalité= 12 OR "
                     "Valorisation.NumModalité=40 OR Valorisation.NumModalité=7 GROUP BY Syndromes.Nom, "
                     "Syndromes.NumSyndrome, Syndromes.NumMéthode HAVING Syndromes.NumMéthode= 1 OR "
                     "Syndromes.NumMéthode=3 OR Syndromes.NumMéthode=5 ORDER BY Sum(Valorisation.Valeur) DESC ;"));
    }

    void methodConditionCountsOnlyOne()
    {
        const std::pair<MethodTable, QString> cases[] = {
            {{0, 1, 1, 1, 1, 1},
             "1 OR Syndromes.NumMéthode=2 OR Syndromes.NumMéthode=3 OR Syndromes.NumMéthode=4 OR "
             "Syndromes.NumMéthode=5"},
            {{0, 2, 0, 1, 0, 0}, "3"}, // a stored 2 is not chosen
            {{1, 0, 0, 0, 0, 0}, ""},  // index 0 is never read
        };
        for (const auto &[methods, condition] : cases)
            QCOMPARE(Statements::rankingMethodCondition(methods), condition);
    }

    void listingQueries()
    {
        QCOMPARE(Statements::categoryListing(18),
                 QStringLiteral("SELECT Modalités.Modalité, Modalités.NumModalité, Valorisation.Valeur  FROM "
                                "Catégories, Modalités, Valorisation  WHERE Catégories.NumCatégorie = "
                                "Modalités.NumCatégorie AND Modalités.NumModalité = Valorisation.NumModalité AND "
                                "Catégories.NumCatégorie = 18 ORDER BY Modalités.Modalité; "));
        QCOMPARE(Statements::syndromeSigns(12),
                 QStringLiteral("SELECT Modalités.Modalité, Modalités.NumModalité, `Modalité-Syndrome`.NumSyndrome, "
                                "Valorisation.Valeur  FROM Modalités, `Modalité-Syndrome`, Valorisation  WHERE "
                                "Modalités.NumModalité = [Modalité-Syndrome].NumModalité  AND Modalités.NumModalité "
                                "= Valorisation.NumModalité AND [Modalité-Syndrome].NumSyndrome =  12 ORDER BY "
                                "Modalités.Modalité;"));
        QCOMPARE(Statements::signSyndromes(4301),
                 QStringLiteral("SELECT [Modalité-Syndrome].NumModalité, Syndromes.Nom  FROM Syndromes INNER JOIN "
                                "[Modalité-Syndrome] ON Syndromes.NumSyndrome = [Modalité-Syndrome].NumSyndrome  "
                                "WHERE [Modalité-Syndrome].NumModalité = 4301;"));
    }
};

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
