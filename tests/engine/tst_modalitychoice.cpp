#include "DataSource.h"
#include "Database.h"
#include "DatabaseError.h"
#include "Explanations.h"
#include "ModalityChoice.h"
#include "Ranking.h"
#include "SignSearch.h"
#include "TestSupport.h"

#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using Entries = QList<ListEntry>;
using Marks = QList<bool>;
using Syndrome = std::optional<qint32>;

Q_DECLARE_METATYPE(Syndrome)

// What the dialog lists, marks and records, on the small fixture.
class TestModalityChoice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    DataSource m_source;
    // Category 43 and syndrome 1 list these four, in this order.
    inline static const ListEntry fin{"Pouls fin (1)", 4303}, glissant{"Pouls glissant (1)", 4302},
        rapide{"Pouls rapide (5)", 4301}, tendu{"Pouls tendu (1)", 4304}, langue{"Langue pâle (9)", 1801};

private slots:
    void initTestCase()
    {
        m_source.setDatabaseName(TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql")));
        // Weights rebuilt since a visit recorded "Pouls rapide (7)".
        Database::open(m_source.databaseName())
            ->execute(QStringLiteral("UPDATE Valorisation SET Valeur = 5 WHERE NumModalité = 4301"));
    }

    // Which list the dialog shows: a sign's syndromes, else a category's signs, else the
    // selected syndrome's signs.
    void listing_data()
    {
        QTest::addColumn<qint32>("signe");
        QTest::addColumn<qint32>("categorie");
        QTest::addColumn<Syndrome>("syndrome");
        QTest::addColumn<Entries>("entries");

        QTest::newRow("a sign before a category and a syndrome")
            << 4301 << 43 << Syndrome(2) << Entries{{"Syndrome 1", 0}};
        QTest::newRow("a category before a syndrome, unweighted sign left out")
            << 0 << 43 << Syndrome(2) << Entries{fin, glissant, rapide, tendu};
        QTest::newRow("a negative sign does not count, French order")
            << -5 << 2 << Syndrome()
            << Entries{{"abcès (9)", 203}, {"Ecchymose (9)", 204}, {"écoulement (9)", 202}, {"Zona (9)", 201}};
        QTest::newRow("the selected syndrome") << 0 << 0 << Syndrome(1) << Entries{fin, glissant, rapide, tendu};
        QTest::newRow("empty category") << 0 << 62 << Syndrome() << Entries{};
        QTest::newRow("no syndrome selected") << 0 << 0 << Syndrome() << Entries{};
    }

    void listing()
    {
        QFETCH(qint32, signe);
        QFETCH(qint32, categorie);
        QFETCH(Syndrome, syndrome);
        ModalityChoice choice(signe, categorie, syndrome);
        choice.load(m_source);
        QTEST(choice.entries(), "entries");
    }

    void marksAndValider_data()
    {
        QTest::addColumn<qint32>("signe");
        QTest::addColumn<Entries>("signes");
        QTest::addColumn<Marks>("opened"); // the marks the dialog opens with
        QTest::addColumn<Marks>("marks");  // the marks when Valider is pressed
        QTest::addColumn<Entries>("expected");

        // The text decides, case included; the item data does not.
        const Entries recorded{{"pouls fin (1)", 4303}, tendu, {"Pouls glissant (1)", 9999}};
        const Marks none{false, false, false, false};
        const ListEntry before{"Pouls rapide (7)", 4301};
        QTest::newRow("exactly the recorded texts marked; unchanged, Signes stays")
            << 0 << recorded << Marks{false, true, false, true} << Marks{false, true, false, true} << recorded;
        QTest::newRow("unmarking removes the first equal entry only")
            << 0 << Entries{fin, tendu, langue, fin} << Marks{true, false, false, true} << none << Entries{langue, fin};
        QTest::newRow("marking appends in alphabetical order")
            << 0 << Entries{langue} << none << Marks{false, true, true, false} << Entries{langue, glissant, rapide};
        QTest::newRow("a rebuilt weight: not marked, recorded a second time")
            << 0 << Entries{before} << none << Marks{false, false, true, false} << Entries{before, rapide};
        QTest::newRow("syndromes of a sign: never marked, Valider changes nothing")
            << 4301 << Entries{{"Syndrome 1", 0}, rapide} << Marks{false} << Marks{false}
            << Entries{{"Syndrome 1", 0}, rapide};
    }

    void marksAndValider()
    {
        QFETCH(qint32, signe);
        QFETCH(Entries, signes);
        QFETCH(Marks, marks);

        ModalityChoice choice(signe, 43, std::nullopt);
        choice.load(m_source);
        QTEST(choice.initialMarks(signes), "opened");
        ModalityChoice::apply(choice.valider(signes, marks), signes);
        QTEST(signes, "expected");
    }

    // The search: every typed word begins a word of the sign's text or of its category's
    // name, accents and case aside; results by category, then text, in French order.
    void searchFinds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");

        const QStringList pulses{"Pouls fin (1)", "Pouls glissant (1)", "Pouls rapide (5)", "Pouls tendu (1)"};
        QTest::newRow("two word starts") << "pouls rap" << QStringList{"Pouls rapide (5)"};
        QTest::newRow("case and accents aside") << "POULS RÂP" << QStringList{"Pouls rapide (5)"};
        QTest::newRow("accent not typed") << "pale" << QStringList{"Langue pâle (9)"};
        QTest::newRow("not inside a word") << "ouls" << QStringList{};
        QTest::newRow("the category's name lists it, French order")
            << "teint" << QStringList{"abcès (9)", "Ecchymose (9)", "écoulement (9)", "Zona (9)"};
        QTest::newRow("category and text taken together") << "teint ecou" << QStringList{"écoulement (9)"};
        QTest::newRow("every word required") << "langue rapide" << QStringList{};
        QTest::newRow("by category, then text") << "pouls" << pulses;
        QTest::newRow("a sign without weight is not recordable") << "sans lien" << QStringList{};
        QTest::newRow("no word") << " -' " << QStringList{};
        QTest::newRow("the index's own syntax is only words")
            << "\"pouls\" * (rap)^" << QStringList{"Pouls rapide (5)"};
    }

    void searchFinds()
    {
        QFETCH(QString, typed);
        ModalityChoice choice = ModalityChoice::forSearch();
        choice.load(m_source);
        choice.find(typed);
        QStringList texts;
        for (const ListEntry &entry : choice.entries())
            texts.append(entry.text);
        QTEST(texts, "found");
        QCOMPARE(choice.categories().size(), texts.size());
        QCOMPARE(choice.more(), 0);
    }

    // The same sign found by the search and by its category is the same entry; the search
    // reads the file as it stands when it opens, and lists no more than it may.
    void searchEntriesAndLimit()
    {
        ModalityChoice category(0, 43, std::nullopt);
        category.load(m_source);
        ModalityChoice search = ModalityChoice::forSearch();
        search.load(m_source);
        search.find(QStringLiteral("pouls"));
        QCOMPARE(search.entries(), category.entries());
        QCOMPARE(search.categories(), QStringList(4, QStringLiteral("Pouls")));

        QTemporaryDir dir;
        DataSource source;
        source.setDatabaseName(TestSupport::makeDatabase(dir, QStringLiteral("small.sql")));
        Database::open(source.databaseName())
            ->executeNative(
                QStringLiteral("WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 450) "
                               "INSERT INTO Modalités SELECT 5000 + n, 'Pouls n° ' || n, 43 FROM s; "
                               "INSERT INTO Valorisation SELECT NumModalité, 3 FROM Modalités "
                               "WHERE NumModalité > 5000;"));
        ModalityChoice many = ModalityChoice::forSearch();
        many.load(source);
        many.find(QStringLiteral("pouls"));
        QCOMPARE(many.entries().size(), SignSearch::Shown);
        QCOMPARE(many.more(), 454 - SignSearch::Shown);
        QCOMPARE(many.entries().value(2).text, QStringLiteral("Pouls n° 1 (3)"));
        QCOMPARE(many.entries().value(11).text, QStringLiteral("Pouls n° 10 (3)")); // numbers as numbers
    }

    // A sign or syndrome number that does not fit 32 bits is a damaged base, refused with its
    // table and value by every reader: cut down, 4294967805 would read as sign 509.
    void numbersPast32BitsAreRefused_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("value");
        QTest::newRow("the category listing") << u"listing"_s << u"Modalités"_s << u"4294967805"_s;
        QTest::newRow("the search") << u"search"_s << u"Modalités"_s << u"4294967805"_s;
        QTest::newRow("the ranking") << u"ranking"_s << u"Syndromes"_s << u"4294967298"_s;
        QTest::newRow("the signs of a syndrome") << u"explanation"_s << u"Modalités"_s << u"4294967805"_s;
    }
    void numbersPast32BitsAreRefused()
    {
        QFETCH(QString, reader);
        QTemporaryDir dir;
        DataSource source;
        source.setDatabaseName(TestSupport::makeDatabase(dir, u"small.sql"_s));
        Database::open(source.databaseName())
            ->executeNative(u"UPDATE Modalités SET NumModalité = 4294967805 WHERE NumModalité = 201;"
                            "UPDATE Valorisation SET NumModalité = 4294967805 WHERE NumModalité = 201;"
                            "UPDATE \"Modalité-Syndrome\" SET NumModalité = 4294967805 WHERE NumModalité = 201;"
                            "UPDATE Syndromes SET NumSyndrome = 4294967298 WHERE NumSyndrome = 2;"
                            "UPDATE \"Modalité-Syndrome\" SET NumSyndrome = 4294967298 WHERE NumSyndrome = 2;"_s);
        ModalityChoice choice =
            reader == u"search"_s ? ModalityChoice::forSearch() : ModalityChoice(0, 2, std::nullopt);
        if (reader == u"search"_s)
            choice.load(source);
        const auto e = TestSupport::failure([&] {
            if (reader == u"listing"_s)
                choice.load(source);
            else if (reader == u"search"_s)
                choice.find(u"zona"_s);
            else if (reader == u"ranking"_s)
                Ranking::classerSyndromes(source, {{u"écoulement (9)"_s, 202}}, {0, 1, 1, 1, 1, 1});
            else
                Explanations::syndromeSigns(source, 3, {});
        });
        QVERIFY2(e, "the number was read");
        QCOMPARE(e->kind(), DatabaseError::Kind::BadKey);
        QTEST(e->details().value(0).table, "table");
        QTEST(e->details().value(0).value, "value");
        QVERIFY(choice.entries().isEmpty());
    }

    // "Valider" in the search touches the signs it listed and those whose mark was changed
    // during the opening, never another recorded sign.
    void searchValider_data()
    {
        QTest::addColumn<QStringList>("steps"); // "words" searches; "+n" / "-n" marks or unmarks entry n
        QTest::addColumn<Entries>("expected");

        const ListEntry abces{"abcès (9)", 203}, ecou{"écoulement (9)", 202};
        QTest::newRow("unlisted recorded signs stay") << QStringList{"pouls", "-0"} << Entries{langue};
        QTest::newRow("unchanged: nothing moves") << QStringList{"pouls"} << Entries{fin, langue};
        QTest::newRow("marks of earlier searches count")
            << QStringList{"pouls rap", "+0", "teint", "+0", "+2"} << Entries{fin, langue, rapide, abces, ecou};
        QTest::newRow("a mark changed back")
            << QStringList{"pouls", "+2", "teint", "pouls", "-2"} << Entries{fin, langue};
        QTest::newRow("unmarked in an earlier search") << QStringList{"fin", "-0", "langue"} << Entries{langue};
    }

    void searchValider()
    {
        QFETCH(QStringList, steps);
        Entries signes{fin, langue};
        ModalityChoice choice = ModalityChoice::forSearch();
        choice.load(m_source);
        Marks marks;
        for (const QString &step : steps) {
            if (step.startsWith('+') || step.startsWith('-')) {
                marks[step.mid(1).toInt()] = step.startsWith('+');
                choice.setMark(step.mid(1).toInt(), step.startsWith('+'));
            } else {
                choice.find(step);
                marks = choice.initialMarks(signes);
            }
        }
        ModalityChoice::apply(choice.valider(signes, marks), signes);
        QTEST(signes, "expected");
    }
};

QTEST_GUILESS_MAIN(TestModalityChoice)
#include "tst_modalitychoice.moc"
