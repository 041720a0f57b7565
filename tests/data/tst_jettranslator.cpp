#include "DatabaseError.h"
#include "JetTranslator.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "SELECT 1 AS a0, a0+a0 AS a1, a1+a1 AS a2, ...": each alias doubles the text of the next.
QString chain(int links)
{
    QString sql = QStringLiteral("SELECT 1 AS a0");
    for (int i = 1; i <= links; ++i)
        sql += QStringLiteral(", a%1+a%1 AS a%2").arg(i - 1).arg(i);
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
        QTest::addColumn<QString>("sqlite"); // empty: the statement stays as it is

        QTest::newRow("delete star") << Statements::weightReset() << u"DELETE FROM Valorisation"_s;
        QTest::newRow("delete star, any case and blanks")
            << u"delete   *   from [Modalité-Syndrome] WHERE NumSyndrome = 3"_s
            << u"delete   from \"Modalité-Syndrome\" WHERE NumSyndrome = 3"_s;
        QTest::newRow("a star that is not a delete's stays") << Statements::weightTable() << QString();
        QTest::newRow("brackets name a table")
            << Statements::signSyndromes(4301)
            << u"SELECT \"Modalité-Syndrome\".NumModalité, Syndromes.Nom  FROM Syndromes INNER JOIN "
               "\"Modalité-Syndrome\" ON Syndromes.NumSyndrome = \"Modalité-Syndrome\".NumSyndrome  WHERE "
               "\"Modalité-Syndrome\".NumModalité = 4301;"_s;
        QTest::newRow("double-quoted strings are strings")
            << u"SELECT Nom FROM Syndromes WHERE Nom = \"Vide de \"\"Qi\"\" d'été\""_s
            << u"SELECT Nom FROM Syndromes WHERE Nom = 'Vide de \"Qi\" d''été'"_s;
        QTest::newRow("single-quoted strings stay") << u"SELECT 'a''b' AS x"_s << QString();
        QTest::newRow("an alias is found whatever its case")
            << u"SELECT COUNT(x) AS Compte, compte + 1 AS n FROM t"_s
            << u"SELECT COUNT(x) AS Compte, (COUNT(x)) + 1 AS n FROM t"_s;
        QTest::newRow("a qualified column of the same name is not the alias")
            << u"SELECT SUM(v) AS Valeur, t.Valeur FROM t"_s << QString();
        QTest::newRow("an alias is not replaced before its definition")
            << u"SELECT n, COUNT(x) AS n FROM t"_s << QString();
        QTest::newRow("an alias outside the select list is left to the engine")
            << u"SELECT COUNT(x) AS n FROM t GROUP BY y HAVING n > 2"_s << QString();
        QTest::newRow("subquery has its own aliases")
            << u"SELECT a AS k, (SELECT b AS k, k + 1 AS m FROM u) AS z FROM t"_s
            << u"SELECT a AS k, (SELECT b AS k, (b) + 1 AS m FROM u) AS z FROM t"_s;
        QTest::newRow("every term, before ASC and DESC")
            << u"SELECT a FROM t ORDER BY a ASC, b, c DESC"_s
            << u"SELECT a FROM t ORDER BY a COLLATE FRENCH ASC, b COLLATE FRENCH, c COLLATE FRENCH DESC"_s;
        QTest::newRow("trailing blank after semicolon kept")
            << u"SELECT a FROM t ORDER BY t.a; "_s << u"SELECT a FROM t ORDER BY t.a COLLATE FRENCH; "_s;
        QTest::newRow("an explicit collation is kept") << u"SELECT a FROM t ORDER BY a COLLATE NOCASE"_s << QString();
        QTest::newRow("order by inside a subquery and before LIMIT")
            << u"SELECT * FROM (SELECT a FROM t ORDER BY a) ORDER BY 1 LIMIT 3"_s
            << u"SELECT * FROM (SELECT a FROM t ORDER BY a COLLATE FRENCH) ORDER BY 1 COLLATE FRENCH LIMIT 3"_s;
        QTest::newRow("order by in a string is text") << u"SELECT 'ORDER BY a' FROM t"_s << QString();
        QTest::newRow("weight count statement")
            << Statements::weightCount()
            << u"SELECT COUNT(\"Modalité-Syndrome\".NumSyndrome) AS Compte, Modalités.NumModalité, "
               "IIf((COUNT(\"Modalité-Syndrome\".NumSyndrome)) < 10, 10 - (COUNT(\"Modalité-Syndrome\".NumSyndrome)), "
               "1) AS Valeurs  FROM Modalités INNER JOIN \"Modalité-Syndrome\" ON Modalités.NumModalité = "
               "\"Modalité-Syndrome\".NumModalité  GROUP BY Modalités.NumModalité  ORDER BY "
               "COUNT(\"Modalité-Syndrome\".NumSyndrome) COLLATE FRENCH, Modalités.NumModalité COLLATE FRENCH;"_s;
    }

    void rules()
    {
        QFETCH(QString, jet);
        QFETCH(QString, sqlite);
        QCOMPARE(JetTranslator::toSqlite(jet), sqlite.isEmpty() ? jet : sqlite);
    }

    // Aliases that refer to aliases double the translation with each link; past the bound
    // the statement is refused at once, before anything that large is made. Below it, every
    // alias is spelled out once per reference, and each subquery keeps its own collation.
    void boundedTranslation_data()
    {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QString>("piece"); // empty: refused; else found `times` in the translation
        QTest::addColumn<int>("times");
        QTest::newRow("a chain of 12 aliases") << chain(12) << u"(1)"_s << (1 << 13) - 2;
        QTest::newRow("a chain of 24 aliases") << chain(24) << QString() << 0;
        // Each subquery's own chain is copied into the outer chain's expansions.
        QString nested = chain(10);
        for (int level = 0; level < 6; ++level)
            nested = QStringLiteral("SELECT (%1 FROM t) AS b0, b0+b0 AS b1, b1+b1 AS b2, b2+b2 AS b3").arg(nested);
        QTest::newRow("chains within chains") << nested << QString() << 0;
        QTest::newRow("a long statement") << u"SELECT "_s + QString(JetTranslator::MaxLength, u'x') << QString() << 0;
        const auto depth = [](int n) { return u"SELECT "_s + QString(n, u'(') + u'1' + QString(n, u')'); };
        QTest::newRow("parentheses as deep as allowed") << depth(JetTranslator::MaxDepth) << u"1"_s << 1;
        QTest::newRow("parentheses deeper than allowed") << depth(JetTranslator::MaxDepth + 1) << QString() << 0;
        // Subqueries within subqueries, each with an ORDER BY; the innermost uses an alias.
        QString subqueries = u"SELECT 1 AS x, x + 1 AS y"_s;
        for (int level = 0; level < 300; ++level)
            subqueries = u"SELECT (%1) AS x, 2 AS y FROM t ORDER BY y"_s.arg(subqueries);
        QTest::newRow("300 nested subqueries") << subqueries << u" ORDER BY y COLLATE FRENCH"_s << 300;
    }
    void boundedTranslation()
    {
        QFETCH(QString, jet);
        QFETCH(QString, piece);
        QString sqlite;
        const auto e = TestSupport::failure([&] { sqlite = JetTranslator::toSqlite(jet); });
        if (piece.isEmpty())
            QVERIFY2(e && e->kind() == DatabaseError::Kind::TooComplex, "not refused as too complex");
        else {
            QVERIFY2(!e, qPrintable(e ? e->engineMessage() : QString()));
            QVERIFY(sqlite.size() <= JetTranslator::MaxLength);
            QTEST(int(sqlite.count(piece)), "times");
        }
    }
};

QTEST_GUILESS_MAIN(TestJetTranslator)
#include "tst_jettranslator.moc"
