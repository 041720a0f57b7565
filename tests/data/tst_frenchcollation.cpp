#include "FrenchCollation.h"

#include <QTest>

static int compare(const QByteArray &a, const QByteArray &b)
{
    return FrenchCollation::compareUtf8(a, int(a.size()), b, int(b.size()));
}

// (That the comparison of a file's bytes answers as the comparison of the whole decoded
// texts, whatever the bytes, is the fuzz target fuzz/fuzz_collation.cpp's.)
class TestFrenchCollation : public QObject
{
    Q_OBJECT

private slots:
    // The order a French reader expects of a list of signs, each row in increasing order
    // (or, for "equal", all the same). Accents in different places are not compared here:
    // French dictionaries do not agree on "côte" against "coté".
    void frenchOrder_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("equal");
        QTest::newRow("accented letters among their base letters")
            << QStringList{"abcès", "Ecchymose", "écoulement", "été", "étude", "Zona"} << false;
        QTest::newRow("unaccented first, accents only break ties")
            << QStringList{"a", "à", "cote", "côte", "eleve", "élève", "élever"} << false;
        QTest::newRow("acute before circumflex") << QStringList{"pêche", "pécher", "pêcher"} << false;
        QTest::newRow("case is ignored") << QStringList{"pouls", "Pouls", "POULS"} << true;
        QTest::newRow("capitals sort with their letter") << QStringList{"abcès", "Zona", "zonal"} << false;
        QTest::newRow("œ as oe") << QStringList{"odeur", "Œdème", "oeil", "ongle"} << false;
        QTest::newRow("œ and æ inside a word")
            << QStringList{"cadre", "cæcum", "cafard", "cobalt", "cœur", "coffre"} << false;
        QTest::newRow("word by word: a blank")
            << QStringList{"Pouls lent", "Pouls lent et fin", "Pouls lents"} << false;
        QTest::newRow("word by word: a hyphen") << QStringList{"arc-en-ciel", "arcade", "archer"} << false;
        QTest::newRow("word by word: an apostrophe")
            << QStringList{"à l'effort", "à la chaleur", "chez l'enfant", "chez la femme"} << false;
        QTest::newRow("numbers by their value, before letters")
            << QStringList{"2 fois par jour", "10 fois par jour", "fièvre",
                           "Règles 3 jours",  "Règles 28 jours",  "Règles abondantes"}
            << false;
    }

    void frenchOrder()
    {
        QFETCH(QStringList, texts);
        QFETCH(bool, equal);
        for (qsizetype i = 0; i + 1 < texts.size(); ++i) {
            const QByteArray a = texts[i].toUtf8(), b = texts[i + 1].toUtf8();
            const int forward = compare(a, b), backward = compare(b, a);
            QVERIFY2(equal ? forward == 0 && backward == 0 : forward < 0 && backward > 0, a + " / " + b);
        }
    }
};

QTEST_GUILESS_MAIN(TestFrenchCollation)
#include "tst_frenchcollation.moc"
