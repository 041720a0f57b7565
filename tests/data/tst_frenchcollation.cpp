#include "FrenchCollation.h"

#include <QRandomGenerator>
#include <QTest>

// The file's texts are compared straight from their UTF-8 bytes; the order must be the
// very one of the same texts read into Qt strings, whatever the bytes hold.
class TestFrenchCollation : public QObject
{
    Q_OBJECT

    static int sign(int x) { return (x > 0) - (x < 0); }

    static int reference(const QByteArray &a, const QByteArray &b)
    {
        const QString x = QString::fromUtf8(a), y = QString::fromUtf8(b);
        return sign(FrenchCollation::compare(reinterpret_cast<const char16_t *>(x.utf16()), int(x.size()),
                                             reinterpret_cast<const char16_t *>(y.utf16()), int(y.size())));
    }

    static int fromBytes(const QByteArray &a, const QByteArray &b)
    {
        return sign(FrenchCollation::compareUtf8(a.constData(), int(a.size()), b.constData(), int(b.size())));
    }

private slots:
    void sameOrderAsQtStrings_data()
    {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<int>("expected"); // 2: whatever Qt says
        QTest::newRow("accent after letter") << QByteArray("abcès") << QByteArray("Ecchymose") << -1;
        QTest::newRow("case ignored") << QByteArray("Ecchymose") << QByteArray("écoulement") << -1;
        QTest::newRow("equal but for case") << QByteArray("pouls") << QByteArray("POULS") << 0;
        QTest::newRow("accent on a later letter") << QByteArray("Langue pâle") << QByteArray("Langue pale") << 2;
        QTest::newRow("empty") << QByteArray() << QByteArray("a") << -1;
        QTest::newRow("outside the basic plane") << QByteArray("Pouls \xF0\x9F\x98\x80") << QByteArray("Pouls a") << 2;
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBFZona") << QByteArray("Zona") << 2;
        QTest::newRow("cut sequence") << QByteArray("Pouls \xC3") << QByteArray("Pouls") << 2;
        QTest::newRow("stray continuation") << QByteArray("\x80Zona") << QByteArray("Zona") << 2;
        QTest::newRow("overlong form") << QByteArray("\xC0\xAF") << QByteArray("/") << 2;
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80x") << QByteArray("x") << 2;
        QTest::newRow("long texts") << QByteArray(300, 'a') + "é" << QByteArray(300, 'a') + "f" << -1;
        QTest::newRow("same beginning, then case")
            << QByteArray("Douleur sourde le Matin") << QByteArray("Douleur sourde le matin") << 0;
        QTest::newRow("same beginning, then accent")
            << QByteArray("Douleur sourde le \xC3\xA9t\xC3\xA9") << QByteArray("Douleur sourde le ete") << 2;
        QTest::newRow("combining accent after a blank") << QByteArray("Pouls \xCC\x81"
                                                                      "a")
                                                        << QByteArray("Pouls a") << 2;
        QTest::newRow("short against long") << QByteArray("b") << QByteArray(300, 'a') << 1;
    }

    void sameOrderAsQtStrings()
    {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(int, expected);
        QCOMPARE(fromBytes(a, b), reference(a, b));
        QCOMPARE(fromBytes(b, a), reference(b, a));
        if (expected != 2)
            QCOMPARE(fromBytes(a, b), expected);
    }

    // Texts drawn from plain and accented letters, blanks, characters of every encoded
    // length, combining accents and broken bytes, on both sides of the stack buffer's size.
    void randomTextsAgree()
    {
        const QList<QByteArray> pieces = {
            "a",    "E",    "z",      " ",       "é",         "È",         "ç",  "œ", "’", "\xF0\x9F\x98\x80",
            "\xC3", "\x80", "Pouls ", "Langue ", "e\xCC\x81", " \xCC\x81", "ch", "A"};
        QRandomGenerator random(7);
        auto text = [&] {
            QByteArray t;
            const int length = random.bounded(random.bounded(10) == 0 ? 120 : 12);
            for (int i = 0; i < length; ++i)
                t += pieces[random.bounded(int(pieces.size()))];
            return t;
        };
        for (int i = 0; i < 5000; ++i) {
            // Half of the pairs share a beginning, cut anywhere, even inside a character.
            const QByteArray a = text();
            const QByteArray b = i % 2 ? a.left(random.bounded(int(a.size()) + 1)) + text() : text();
            QVERIFY2(fromBytes(a, b) == reference(a, b), a.toHex().constData());
        }
    }
};

QTEST_GUILESS_MAIN(TestFrenchCollation)
#include "tst_frenchcollation.moc"
