#include "TextFold.h"
#include "TypeAhead.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Finding an entry by typing: word starts, accents and case aside, and which entry a run
// of keystrokes lands on.
class TestTypeAhead : public QObject
{
    Q_OBJECT

private slots:
    void wordStarts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("matches");

        QTest::newRow("start of the text") << u"Pouls serré (6)"_s << u"pouls s"_s << true;
        QTest::newRow("start of a later word") << u"Pouls serré (6)"_s << u"serré"_s << true;
        QTest::newRow("accent typed where the text has none") << u"Ecchymose"_s << u"écchy"_s << true;
        QTest::newRow("inside a word") << u"Pouls serré (6)"_s << u"erré"_s << false;
        QTest::newRow("after an apostrophe, accents aside") << u"Fièvre l'après-midi"_s << u"apres"_s << true;
        QTest::newRow("curly apostrophe") << u"Fièvre l’après-midi"_s << u"l'apr"_s << true;
        QTest::newRow("ligature") << u"Œdème des chevilles"_s << u"oedeme"_s << true;
        QTest::newRow("longer than the text") << u"Pouls"_s << u"pouls ample"_s << false;
        QTest::newRow("nothing typed") << u"Pouls"_s << u""_s << false;
    }

    void wordStarts()
    {
        QFETCH(QString, text);
        QFETCH(QString, typed);
        QTEST(TypeAhead::matches(text, typed), "matches");
    }

    void keystrokes_data()
    {
        QTest::addColumn<QStringList>("keys"); // "text@msecs"
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("landsOn");

        // 0 Pouls ample, 1 Pouls caché, 2 Pouls rapide, 3 Pouls serré, 4 Pouls superficiel
        QTest::newRow("one search across words") << QStringList{"p@0", "o@10", "u@20", "l@30", "s@40", " @50", "s@60"}
                                                 << -1 << QList<int>{0, 0, 0, 0, 0, 0, 3};
        QTest::newRow("word start") << QStringList{"s@0", "u@10"} << 0 << QList<int>{3, 4};
        QTest::newRow("a pause starts again") << QStringList{"r@0", "c@1000"} << -1 << QList<int>{2, 1};
        QTest::newRow("same letter walks on") << QStringList{"s@0", "s@10", "s@20"} << -1 << QList<int>{3, 4, 3};
        QTest::newRow("no match stays") << QStringList{"x@0"} << 2 << QList<int>{-1};
    }

    void keystrokes()
    {
        QFETCH(QStringList, keys);
        QFETCH(int, current);
        QFETCH(QList<int>, landsOn);

        QStringList texts;
        for (const char *t :
             {"Pouls ample (6)", "Pouls caché (8)", "Pouls rapide (5)", "Pouls serré (6)", "Pouls superficiel (4)"})
            texts.append(TextFold::fold(QString::fromUtf8(t)));
        TypeAhead::Buffer buffer(400);
        for (int k = 0; k < keys.size(); ++k) {
            const QStringList key = keys[k].split('@');
            const int found = buffer.type(key[0], key[1].toLongLong(), texts, current);
            QCOMPARE(found, landsOn[k]);
            if (found >= 0)
                current = found;
        }
    }
};

QTEST_APPLESS_MAIN(TestTypeAhead)
#include "tst_typeahead.moc"
