#include "FrenchCollation.h"

#include <QCollator>
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
    // Straight from UTF-8, in the order QCollator gives the decoded texts, malformed bytes included.
    void agreesWithQCollator()
    {
        QCollator collator(QLocale(QLocale::French, QLocale::France));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        const auto pieces = QByteArray("a|E|z| |é|È|ç|œ|’|\xF0\x9F\x98\x80|Pouls |e\xCC\x81| \xCC\x81|\xC3|\x80|"
                                       "\xC0\xAF|\xED\xA0\x80|\xEF\xBB\xBF")
                                .split('|');
        QRandomGenerator random(7);
        auto text = [&](QByteArray t) { // now and then past the 256 bytes decoded on the stack
            for (int n = random.bounded(random.bounded(10) ? 12 : 120); n > 0; --n)
                t += pieces[random.bounded(int(pieces.size()))];
            return t;
        };
        for (int i = 0; i < 5000; ++i) { // half of the pairs share a beginning, cut anywhere
            const QByteArray a = text({}), b = text(i % 2 ? a.left(random.bounded(int(a.size()) + 1)) : QByteArray());
            const int x = compare(a, b);
            const int y = collator.compare(QString::fromUtf8(a), QString::fromUtf8(b));
            QVERIFY2(std::clamp(x, -1, 1) == std::clamp(y, -1, 1), a.toHex() + ' ' + b.toHex());
        }
    }

    // The shortcut over a shared beginning must never change an answer: random byte strings,
    // control characters, blanks and digits included, against the comparison of the whole texts.
    void shortcutAgreesWithTheWholeTexts()
    {
        const QByteArray alphabet("\x00\x03\x05\x1F  aAeE09\xC3\xA9\xCC\x81\xC5\x93'-\x80\xFF", 22);
        QRandomGenerator random(11);
        auto text = [&](QByteArray t) {
            for (int n = random.bounded(8); n > 0; --n)
                t += alphabet[random.bounded(int(alphabet.size()))];
            return t;
        };
        for (int i = 0; i < 20000; ++i) {
            const QByteArray a = text({}), b = text(a.left(random.bounded(int(a.size()) + 1)));
            const QString x = QString::fromUtf8(a), y = QString::fromUtf8(b);
            const int whole = FrenchCollation::compare(reinterpret_cast<const char16_t *>(x.utf16()), int(x.size()),
                                                       reinterpret_cast<const char16_t *>(y.utf16()), int(y.size()));
            QVERIFY2(std::clamp(compare(a, b), -1, 1) == std::clamp(whole, -1, 1), a.toHex(' ') + " / " + b.toHex(' '));
        }
    }

    void frenchOrder()
    {
        QVERIFY(compare("2 fois par jour", "10 fois par jour") < 0);
        QVERIFY(compare("abcès", "Ecchymose") < 0 && compare("Ecchymose", "écoulement") < 0);
        QVERIFY(compare("écoulement", "Zona") < 0 && compare("Zona", "abcès") > 0);
        QCOMPARE(compare("pouls", "POULS"), 0);
    }
};

QTEST_GUILESS_MAIN(TestFrenchCollation)
#include "tst_frenchcollation.moc"
