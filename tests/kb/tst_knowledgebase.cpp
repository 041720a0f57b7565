#include "Database.h"
#include "KnowledgeBaseCheck.h"
#include "KnowledgeBaseLoader.h"
#include "KnowledgeBaseReader.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

// The build's own code for the bundled base: the loader refuses sources whose review
// columns disagree, and the help pages say what the built base holds. What the base itself
// must hold is the checker's, which the build runs.
class TestKnowledgeBase : public QObject
{
    Q_OBJECT

    KnowledgeBaseRows m_rows;

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(TestSupport::bundledDatabase()), "build the knowledge base first");
        m_rows = KnowledgeBaseReader::read(*Database::open(TestSupport::bundledDatabase()));
    }

    void helpPagesFitTheBase()
    {
        // The page is written from the sources by the build; it must list what the base holds.
        const QString html = QString::fromUtf8(TestSupport::readFile(QStringLiteral(TESSAVOR_BIN_DIR "/BASE.HTM")));
        // The numbers listed in the element of that id, up to its end tag.
        auto numbersIn = [&html](const QString &id, const QString &end, const QString &pattern) {
            QSet<qint32> numbers;
            const qsizetype from = html.indexOf(u"id=\""_s + id + u'"');
            const QString part = from < 0 ? QString() : html.mid(from, html.indexOf(end, from) - from);
            for (const QRegularExpressionMatch &m : QRegularExpression(pattern).globalMatch(part))
                numbers.insert(m.captured(1).toInt());
            return numbers;
        };
        QSet<qint32> linked, retired;
        for (const auto &link : m_rows.links)
            linked.insert(link.syndrome);
        QHash<int, QSet<qint32>> listed; // by method
        for (const auto &s : std::as_const(m_rows.syndromes))
            (linked.contains(s.number) ? listed[s.method] : retired).insert(s.number);
        for (int method = 1; method <= 5; ++method)
            QCOMPARE(numbersIn(u"methode-"_s + QString::number(method), u"</table>"_s, u"<tr><td>(\\d+)</td>"_s),
                     listed.value(method));
        QCOMPARE(numbersIn(u"syndromes-retires"_s, u"</ul>"_s, u"<li>(\\d+) "_s), retired);
        // A retired sign is given with the live signs that now record it.
        QVERIFY(html.contains(u"<li>4326 &ndash; Pouls fin et rapide &rarr; Pouls fin + Pouls rapide</li>"_s));
        QVERIFY(html.contains(u"aide à l'enseignement"_s));

        // The examples of the page on editing the base hold true of the base itself: the sign
        // they add does not exist yet, under a number beyond every number taken, and the link they
        // add joins a sign and a syndrome that exist and are not linked yet.
        const QString editing =
            QString::fromUtf8(TestSupport::readFile(QStringLiteral(TESSAVOR_BIN_DIR "/REGENERATION.HTM")));
        QHash<QString, QString> texts;
        QSet<qint32> categories, signs;
        QSet<std::pair<qint32, qint32>> links;
        qint32 highest = 0;
        for (const auto &m : std::as_const(m_rows.modalities)) {
            texts.insert(KnowledgeBaseCheck::folded(m.text), m.text);
            categories.insert(m.category);
            signs.insert(m.number);
            highest = std::max(highest, m.number);
        }
        for (const auto &link : std::as_const(m_rows.links))
            links.insert({link.modality, link.syndrome});
        int added = 0, joined = 0;
        for (const QRegularExpressionMatch &m :
             QRegularExpression(u"INSERT INTO Modalités \\([^)]*\\) VALUES \\((\\d+), '((?:[^']|'')*)', (\\d+)\\)"_s)
                 .globalMatch(editing)) {
            const QString text = m.captured(2).replace(u"''"_s, u"'"_s);
            const QString key = KnowledgeBaseCheck::folded(text);
            QVERIFY2(!texts.contains(key), qPrintable(text + u" is already "_s + texts.value(key)));
            QVERIFY2(m.captured(1).toInt() > highest, qPrintable(m.captured(1)));
            QVERIFY(categories.contains(m.captured(3).toInt()));
            ++added;
        }
        for (const QRegularExpressionMatch &m :
             QRegularExpression(u"INSERT INTO \"Modalité-Syndrome\" \\([^)]*\\) VALUES \\((\\d+), (\\d+)\\)"_s)
                 .globalMatch(editing)) {
            const qint32 sign = m.captured(1).toInt(), syndrome = m.captured(2).toInt();
            QVERIFY2(signs.contains(sign) && linked.contains(syndrome), qPrintable(m.captured(0)));
            QVERIFY2(!links.contains({sign, syndrome}), qPrintable(m.captured(0)));
            ++joined;
        }
        QCOMPARE(std::pair(added, joined), std::pair(1, 1));
    }

    // The review columns must repeat the other files exactly: a link's sign text, a
    // replacement's text, a replacement naming no sign.
    void loaderRejectsMismatchedReviewColumns()
    {
        const QString header = u"NumSyndrome;NumModalité;Syndrome;Modalité\n501;4301;Chaleur du Coeur;Pouls "_s;
        const QString replaced = u"NumModalité;NumRemplaçante;Modalité;Remplaçante\n"_s;
        for (const auto &[links, replacements, where] :
             {std::tuple{header + u"lent\n"_s, replaced, u"liens.csv:2"_s},
              {header + u"rapide\n"_s, replaced + u"4326;4301;Pouls fin et rapide;Pouls lent\n"_s,
               u"remplacements.csv:2"_s},
              {header + u"rapide\n"_s, replaced + u"4326;4399;Pouls fin et rapide;Pouls rapide\n"_s,
               u"remplacements.csv:2"_s}}) {
            QTemporaryDir dir;
            for (auto [name, text] :
                 {std::pair{u"categories.csv"_s, u"NumCatégorie;Nom\n43;Pouls\n"_s},
                  {u"modalites.csv"_s, u"NumModalité;NumCatégorie;Modalité\n4301;43;Pouls rapide\n4326;43;Pouls fin et "
                                       "rapide\n"_s},
                  {u"syndromes.csv"_s, u"NumSyndrome;NumMéthode;Nom\n501;5;Chaleur du Coeur\n"_s},
                  {u"liens.csv"_s, links},
                  {u"remplacements.csv"_s, replacements}})
                TestSupport::writeFile(dir.filePath(name), text.toUtf8());
            const QString problem = KnowledgeBaseLoader::load(dir.path(), dir.filePath(QStringLiteral("out.mdb")));
            QVERIFY2(problem.startsWith(where), qPrintable(problem));
        }
    }
};

QTEST_GUILESS_MAIN(TestKnowledgeBase)
#include "tst_knowledgebase.moc"
