#include "TextFold.h"
#include "TypeAhead.h"

#include <QTest>

#include <tuple>

using namespace Qt::StringLiterals;

// Finding an entry by typing: word starts, accents and case aside, and which entry a run
// of keystrokes lands on.
class TestTypeAhead : public QObject
{
    Q_OBJECT

private slots:
    void wordStarts()
    {
        for (const auto &[text, typed, matches] : std::initializer_list<std::tuple<QString, QString, bool>>{
                 {u"Pouls serré (6)"_s, u"pouls s"_s, true},    // start of the text
                 {u"Pouls serré (6)"_s, u"serré"_s, true},      // start of a later word
                 {u"Ecchymose"_s, u"écchy"_s, true},            // accent typed where the text has none
                 {u"Pouls serré (6)"_s, u"erré"_s, false},      // inside a word
                 {u"Fièvre l'après-midi"_s, u"apres"_s, true},  // after an apostrophe, accents aside
                 {u"Fièvre l’après-midi"_s, u"l'apr"_s, true},  // curly apostrophe
                 {u"Œdème des chevilles"_s, u"oedeme"_s, true}, // ligature
                 {u"Pouls"_s, u"pouls ample"_s, false},         // longer than the text
                 {u"Pouls"_s, u""_s, false}})                   // nothing typed
            QVERIFY2(TypeAhead::matches(text, typed) == matches, qPrintable(text + u" / "_s + typed));
    }

    // Each row: the keys as "text@msecs", the current entry, where each key lands.
    void keystrokes()
    {
        QStringList texts;
        for (const char *t :
             {"Pouls ample (6)", "Pouls caché (8)", "Pouls rapide (5)", "Pouls serré (6)", "Pouls superficiel (4)"})
            texts.append(TextFold::fold(QString::fromUtf8(t)));
        for (auto [keys, current, landsOn] : std::initializer_list<std::tuple<QStringList, int, QList<int>>>{
                 // one search across words
                 {{"p@0", "o@10", "u@20", "l@30", "s@40", " @50", "s@60"}, -1, {0, 0, 0, 0, 0, 0, 3}},
                 {{"s@0", "u@10"}, 0, {3, 4}},             // word start
                 {{"r@0", "c@1000"}, -1, {2, 1}},          // a pause starts again
                 {{"s@0", "s@10", "s@20"}, -1, {3, 4, 3}}, // same letter walks on
                 {{"x@0"}, 2, {-1}}}) {                    // no match stays
            TypeAhead::Buffer buffer(400);
            QList<int> found;
            for (const QString &key : keys) {
                found.append(buffer.type(key.section('@', 0, 0), key.section('@', 1).toLongLong(), texts, current));
                if (found.last() >= 0)
                    current = found.last();
            }
            QCOMPARE(found, landsOn);
        }
    }
};

QTEST_APPLESS_MAIN(TestTypeAhead)
#include "tst_typeahead.moc"
