#include "DatabaseError.h"
#include "JetTranslator.h"
#include "Statements.h"

#include <QTest>

namespace {

// "SELECT 1 AS a0, a0+a0 AS a1, a1+a1 AS a2, ...": each alias doubles the text of the next.
QString chain(int links)
{
    QString sql = QStringLiteral("SELECT 1 AS a0");
    for (int i = 1; i <= links; ++i)
        sql += QStringLiteral(", a%1+a%1 AS a%2").arg(i - 1).arg(i);
    return sql;
}

// Subqueries within subqueries, each with an ORDER BY; the innermost uses an alias.
QString nestedSubqueries(int levels)
{
    QString sql = QStringLiteral("SELECT 1 AS x, x + 1 AS y");
    for (int level = 0; level < levels; ++level)
        sql = QStringLiteral("SELECT (%1) AS x, 2 AS y FROM t ORDER BY y").arg(sql);
    return sql;
}

} // namespace

class TestJetTranslator : public QObject
{
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QString>("sqlite");

        QTest::newRow("delete star") << "DELETE * FROM Valorisation"
                                     << "DELETE FROM Valorisation";
        QTest::newRow("delete star, any case and blanks")
            << "delete   *   from [Modalité-Syndrome] WHERE NumSyndrome = 3"
            << "delete   from \"Modalité-Syndrome\" WHERE NumSyndrome = 3";
        QTest::newRow("a star that is not a delete's stays") << "SELECT * FROM t"
                                                             << "SELECT * FROM t";
        QTest::newRow("product keeps its star") << "SELECT a * b FROM t"
                                                << "SELECT a * b FROM t";

        QTest::newRow("back-quotes and brackets name the same table")
            << "SELECT `Modalité-Syndrome`.NumSyndrome FROM [Modalité-Syndrome]"
            << "SELECT \"Modalité-Syndrome\".NumSyndrome FROM \"Modalité-Syndrome\"";
        QTest::newRow("double-quoted strings are strings")
            << "SELECT Nom FROM Syndromes WHERE Nom = \"Vide de \"\"Qi\"\" d'été\""
            << "SELECT Nom FROM Syndromes WHERE Nom = 'Vide de \"Qi\" d''été'";
        QTest::newRow("single-quoted strings stay") << "SELECT 'a''b' AS x"
                                                    << "SELECT 'a''b' AS x";

        QTest::newRow("alias used later in the select list")
            << "SELECT COUNT(x) AS n, IIf(`n` < 10, 10 - n, 1) AS w FROM t"
            << "SELECT COUNT(x) AS n, IIf((COUNT(x)) < 10, 10 - (COUNT(x)), 1) AS w FROM t";
        QTest::newRow("an alias is found whatever its case") << "SELECT COUNT(x) AS Compte, compte + 1 AS n FROM t"
                                                             << "SELECT COUNT(x) AS Compte, (COUNT(x)) + 1 AS n FROM t";
        QTest::newRow("aliases chain") << "SELECT a + 1 AS b, b * 2 AS c, c - b AS d FROM t"
                                       << "SELECT a + 1 AS b, (a + 1) * 2 AS c, ((a + 1) * 2) - (a + 1) AS d FROM t";
        QTest::newRow("a qualified column of the same name is not the alias")
            << "SELECT SUM(v) AS Valeur, t.Valeur FROM t"
            << "SELECT SUM(v) AS Valeur, t.Valeur FROM t";
        QTest::newRow("an alias is not replaced before its definition") << "SELECT n, COUNT(x) AS n FROM t"
                                                                        << "SELECT n, COUNT(x) AS n FROM t";
        QTest::newRow("an alias outside the select list is left to the engine")
            << "SELECT COUNT(x) AS n FROM t GROUP BY y HAVING n > 2"
            << "SELECT COUNT(x) AS n FROM t GROUP BY y HAVING n > 2";
        QTest::newRow("subquery has its own aliases")
            << "SELECT a AS k, (SELECT b AS k, k + 1 AS m FROM u) AS z FROM t"
            << "SELECT a AS k, (SELECT b AS k, (b) + 1 AS m FROM u) AS z FROM t";

        QTest::newRow("order by gets the collation, before DESC")
            << "SELECT x FROM t ORDER BY Sum(v) DESC ;"
            << "SELECT x FROM t ORDER BY Sum(v) COLLATE FRENCH DESC ;";
        QTest::newRow("every term, ASC kept")
            << "SELECT a FROM t ORDER BY a ASC, b, c DESC"
            << "SELECT a FROM t ORDER BY a COLLATE FRENCH ASC, b COLLATE FRENCH, c COLLATE FRENCH DESC";
        QTest::newRow("trailing blank after semicolon kept") << "SELECT a FROM t ORDER BY t.a; "
                                                             << "SELECT a FROM t ORDER BY t.a COLLATE FRENCH; ";
        QTest::newRow("an explicit collation is kept") << "SELECT a FROM t ORDER BY a COLLATE NOCASE"
                                                       << "SELECT a FROM t ORDER BY a COLLATE NOCASE";
        QTest::newRow("order by inside a subquery and before LIMIT")
            << "SELECT * FROM (SELECT a FROM t ORDER BY a) ORDER BY 1 LIMIT 3"
            << "SELECT * FROM (SELECT a FROM t ORDER BY a COLLATE FRENCH) ORDER BY 1 COLLATE FRENCH LIMIT 3";
        QTest::newRow("order by in a string is text") << "SELECT 'ORDER BY a' FROM t"
                                                      << "SELECT 'ORDER BY a' FROM t";

        QTest::newRow("weight count statement")
            << Statements::weightCount()
            << "SELECT COUNT(\"Modalité-Syndrome\".NumSyndrome) AS Compte, Modalités.NumModalité, "
               "IIf((COUNT(\"Modalité-Syndrome\".NumSyndrome)) < 10, 10 - (COUNT(\"Modalité-Syndrome\".NumSyndrome)), "
               "1) AS Valeurs  FROM Modalités INNER JOIN \"Modalité-Syndrome\" ON Modalités.NumModalité = "
               "\"Modalité-Syndrome\".NumModalité  GROUP BY Modalités.NumModalité  ORDER BY "
               "COUNT(\"Modalité-Syndrome\".NumSyndrome) COLLATE FRENCH, Modalités.NumModalité COLLATE FRENCH;";
    }

    void rules()
    {
        QFETCH(QString, jet);
        QFETCH(QString, sqlite);
        QCOMPARE(JetTranslator::toSqlite(jet), sqlite);
    }

    // Aliases that refer to aliases double the translation with each link; past the bound
    // the statement is refused at once, before anything that large is made.
    void boundedTranslation_data()
    {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<bool>("refused");
        QTest::newRow("a chain of 12 aliases") << chain(12) << false;
        QTest::newRow("a chain of 20 aliases") << chain(20) << true;
        QTest::newRow("a chain of 24 aliases") << chain(24) << true;
        // Each subquery's own chain is copied into the outer chain's expansions.
        QString nested = chain(10);
        for (int level = 0; level < 6; ++level)
            nested = QStringLiteral("SELECT (%1 FROM t) AS b0, b0+b0 AS b1, b1+b1 AS b2, b2+b2 AS b3").arg(nested);
        QTest::newRow("chains within chains") << nested << true;
        QTest::newRow("a long statement")
            << QStringLiteral("SELECT ") + QString(JetTranslator::MaxLength, u'x') << true;
        QTest::newRow("parentheses as deep as allowed")
            << QStringLiteral("SELECT ") + QString(JetTranslator::MaxDepth, u'(') + u'1' +
                   QString(JetTranslator::MaxDepth, u')')
            << false;
        QTest::newRow("parentheses deeper than allowed")
            << QStringLiteral("SELECT ") + QString(JetTranslator::MaxDepth + 1, u'(') + u'1' +
                   QString(JetTranslator::MaxDepth + 1, u')')
            << true;
        QTest::newRow("300 nested subqueries") << nestedSubqueries(300) << false;
    }
    void boundedTranslation()
    {
        QFETCH(QString, jet);
        QFETCH(bool, refused);
        try {
            const QString sqlite = JetTranslator::toSqlite(jet);
            QVERIFY2(!refused, "translated");
            QVERIFY(sqlite.size() <= JetTranslator::MaxLength);
        } catch (const DatabaseError &e) {
            QVERIFY2(refused, qPrintable(e.engineMessage()));
            QCOMPARE(e.kind(), DatabaseError::Kind::TooComplex);
        }
    }

    // What a chain translates to: every alias spelled out, once per reference.
    void chainsExpandInFull()
    {
        QCOMPARE(JetTranslator::toSqlite(chain(3)),
                 QStringLiteral("SELECT 1 AS a0, (1)+(1) AS a1, ((1)+(1))+((1)+(1)) AS a2, "
                                "(((1)+(1))+((1)+(1)))+(((1)+(1))+((1)+(1))) AS a3"));
        const QString twelve = JetTranslator::toSqlite(chain(12));
        QCOMPARE(twelve.count(QStringLiteral("(1)")), (1 << 13) - 2);
        QVERIFY(twelve.endsWith(QStringLiteral(") AS a12")));

        // Each level keeps its own alias and its own collation.
        const QString nested = JetTranslator::toSqlite(nestedSubqueries(300));
        QCOMPARE(nested.count(QStringLiteral(" ORDER BY y COLLATE FRENCH")), 300);
        QVERIFY(nested.contains(QStringLiteral("(SELECT 1 AS x, (1) + 1 AS y)")));
        QVERIFY(nested.startsWith(QStringLiteral("SELECT (SELECT (SELECT")));
    }
};

QTEST_GUILESS_MAIN(TestJetTranslator)
#include "tst_jettranslator.moc"
