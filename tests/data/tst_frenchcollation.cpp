#include "FrenchCollation.h"

#include <QRandomGenerator>
#include <QTest>

static int compare(const QByteArray &a, const QByteArray &b)
{
    return FrenchCollation::compareUtf8(a, int(a.size()), b, int(b.size()));
}

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

    // The shortcut over a shared beginning and the decoding on the stack must never change
    // an answer: random byte strings (control characters, blanks, digits, combining accents,
    // malformed and surrogate sequences, byte-order marks, now and then past the 256 bytes decoded on the
    // stack) against the comparison of the whole decoded texts.
    void utf8AgreesWithTheWholeTexts()
    {
        static const char raw[] = "\x00|\x03|\x1F| |a|A|e|E|0|9|'|-|é|È|œ|’|\xF0\x9F\x98\x80|Pouls |e\xCC\x81|"
                                  " \xCC\x81|\xC3|\x80|\xFF|\xC0\xAF|\xED\xA0\x80|\xEF\xBB\xBF";
        const QList<QByteArray> pieces = QByteArray(raw, sizeof raw - 1).split('|');
        QRandomGenerator random(11);
        auto text = [&](QByteArray t) {
            for (int n = random.bounded(random.bounded(10) ? 8 : 120); n > 0; --n)
                t += pieces[random.bounded(int(pieces.size()))];
            return t;
        };
        for (int i = 0; i < 20000; ++i) { // most pairs share a beginning, cut anywhere
            const QByteArray a = text({}), b = text(i % 4 ? a.left(random.bounded(int(a.size()) + 1)) : QByteArray());
            const QString x = QString::fromUtf8(a), y = QString::fromUtf8(b);
            const int whole = FrenchCollation::compare(reinterpret_cast<const char16_t *>(x.utf16()), int(x.size()),
                                                       reinterpret_cast<const char16_t *>(y.utf16()), int(y.size()));
            QVERIFY2(std::clamp(compare(a, b), -1, 1) == std::clamp(whole, -1, 1), a.toHex(' ') + " / " + b.toHex(' '));
        }
    }
};

QTEST_GUILESS_MAIN(TestFrenchCollation)
#include "tst_frenchcollation.moc"
