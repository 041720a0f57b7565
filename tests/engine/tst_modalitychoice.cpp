#include "DataSource.h"
#include "Database.h"
#include "DatabaseError.h"
#include "Explanations.h"
#include "ModalityChoice.h"
#include "Ranking.h"
#include "RecordedSigns.h"
#include "SignSearch.h"
#include "TestSupport.h"
#include "WeightRebuild.h"

#include <QRegularExpression>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using Entries = QList<ListEntry>;
using Marks = QList<bool>;
using Syndrome = std::optional<qint32>;

Q_DECLARE_METATYPE(Syndrome)
Q_DECLARE_METATYPE(DatabaseError::Kind)

// What the dialog lists, marks and records, on the small fixture.
class TestModalityChoice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    DataSource m_source;
    // Category 43 and syndrome 1 list these four, in this order.
    inline static const ListEntry fin{"Pouls fin (1)", 4303}, glissant{"Pouls glissant (1)", 4302},
        rapide{"Pouls rapide (5)", 4301}, tendu{"Pouls tendu (1)", 4304}, langue{"Langue pâle (9)", 1801};

    // "1001": the first and last entries marked.
    static Marks marks(const char *bits)
    {
        Marks list;
        for (const char *b = bits; *b; ++b)
            list.append(*b == '1');
        return list;
    }

private slots:
    void initTestCase()
    {
        m_source.setDatabaseName(TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql")));
        // Weights rebuilt since a visit recorded "Pouls rapide (7)".
        Database::open(m_source.databaseName())
            ->execute(QStringLiteral("UPDATE Valorisation SET Valeur = 5 WHERE NumModalité = 4301"));
    }

    // What each use lists: a sign's syndromes, a category's signs (the unweighted one left
    // out, French order), the selected syndrome's signs, or nothing.
    void listing_data()
    {
        QTest::addColumn<int>("use");
        QTest::addColumn<Syndrome>("number");
        QTest::addColumn<Entries>("entries");

        const auto sign = int(ModalityChoice::Use::SyndromesOfSign),
                   category = int(ModalityChoice::Use::SignsOfCategory),
                   syndrome = int(ModalityChoice::Use::SignsOfSyndrome);
        QTest::newRow("a sign's syndromes") << sign << Syndrome(4301) << Entries{{"Syndrome 1", 0}};
        QTest::newRow("a category, unweighted sign left out")
            << category << Syndrome(43) << Entries{fin, glissant, rapide, tendu};
        QTest::newRow("French order") << category << Syndrome(2)
                                      << Entries{{"abcès (9)", 203},
                                                 {"Ecchymose (9)", 204},
                                                 {"écoulement (9)", 202},
                                                 {"Zona (9)", 201}};
        QTest::newRow("the selected syndrome") << syndrome << Syndrome(1) << Entries{fin, glissant, rapide, tendu};
        QTest::newRow("empty category") << category << Syndrome(62) << Entries{};
        QTest::newRow("no syndrome selected") << syndrome << Syndrome() << Entries{};
    }

    void listing()
    {
        QFETCH(int, use);
        QFETCH(Syndrome, number);
        ModalityChoice choice = use == int(ModalityChoice::Use::SyndromesOfSign) ? ModalityChoice::forSign(*number)
                                : use == int(ModalityChoice::Use::SignsOfCategory)
                                    ? ModalityChoice::forCategory(*number)
                                    : ModalityChoice::forSyndrome(number);
        choice.load(m_source);
        QTEST(choice.entries(), "entries");
    }

    void marksAndValider_data()
    {
        QTest::addColumn<bool>("syndromesOfSign");
        QTest::addColumn<Entries>("signes");
        QTest::addColumn<Marks>("opened"); // the marks the dialog opens with
        QTest::addColumn<Marks>("marks");  // the marks when Valider is pressed
        QTest::addColumn<Entries>("expected");

        // The number decides, whatever the text says.
        const Entries recorded{{"pouls fin (1)", 4303}, tendu, {"Pouls glissant (1)", 9999}};
        const Marks none = marks("0000");
        const ListEntry before{"Pouls rapide (7)", 4301};
        QTest::newRow("exactly the recorded numbers marked; unchanged, Signes stays")
            << false << recorded << marks("1001") << marks("1001") << recorded;
        QTest::newRow("unmarking removes the sign")
            << false << Entries{fin, tendu, langue} << marks("1001") << none << Entries{langue};
        QTest::newRow("marking appends in alphabetical order")
            << false << Entries{langue} << none << marks("0110") << Entries{langue, glissant, rapide};
        // Recorded before its weight was rebuilt: the same sign, marked, recorded once.
        QTest::newRow("a rebuilt weight: marked, kept once")
            << false << Entries{before} << marks("0010") << marks("0010") << Entries{before};
        QTest::newRow("a rebuilt weight: unmarking removes it")
            << false << Entries{langue, before} << marks("0010") << none << Entries{langue};
        QTest::newRow("syndromes of a sign: never marked, Valider changes nothing")
            << true << Entries{{"Syndrome 1", 0}, rapide} << marks("0") << marks("0")
            << Entries{{"Syndrome 1", 0}, rapide};
    }

    void marksAndValider()
    {
        QFETCH(bool, syndromesOfSign);
        QFETCH(Entries, signes);
        QFETCH(Marks, marks);

        ModalityChoice choice = syndromesOfSign ? ModalityChoice::forSign(4301) : ModalityChoice::forCategory(43);
        choice.load(m_source);
        QTEST(choice.initialMarks(signes), "opened");
        QTEST(choice.valider(signes, marks), "expected");
    }

    // A recorded sign whose links changed: once the weights are rebuilt it reads as the
    // base now weighs it, a sign left without a link leaves the visit, and the dialog of
    // its category lists it marked.
    void recordedSignsAfterARebuild()
    {
        QTemporaryDir dir;
        DataSource source;
        source.setDatabaseName(TestSupport::makeDatabase(dir, u"small.sql"_s));
        Database::open(source.databaseName())
            ->executeNative(u"INSERT INTO \"Modalité-Syndrome\" VALUES (201, 4), (201, 5);"
                            "DELETE FROM \"Modalité-Syndrome\" WHERE NumModalité = 203;"_s);
        WeightRebuild::run(source.databaseName());
        const Entries recorded{{u"Zona (9)"_s, 201}, {u"abcès (9)"_s, 203}, {u"écoulement (9)"_s, 202}};
        const RecordedSigns::Refreshed refreshed = RecordedSigns::refresh(source, recorded);
        QCOMPARE(refreshed.signes, (Entries{{u"Zona (7)"_s, 201}, {u"écoulement (9)"_s, 202}}));
        QCOMPARE(refreshed.gone, QStringList{u"abcès (9)"_s});

        ModalityChoice teint = ModalityChoice::forCategory(2);
        teint.load(source);
        QCOMPARE(teint.entries().value(2), (ListEntry{u"Zona (7)"_s, 201}));
        QCOMPARE(teint.initialMarks(recorded), (Marks{false, true, true}));
        QCOMPARE(teint.valider(recorded, {false, true, true}), recorded);
    }

    // The search: every typed word begins a word of the sign's text or of its category's
    // name, accents and case aside; the best match first: the sign's own text over its
    // category's name, then shorter texts, then French order.
    void searchFinds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");

        QTest::newRow("two word starts") << "pouls rap" << QStringList{"Pouls rapide (5)"};
        QTest::newRow("case and accents aside") << "POULS RÂP" << QStringList{"Pouls rapide (5)"};
        QTest::newRow("accent not typed") << "pale" << QStringList{"Langue pâle (9)"};
        QTest::newRow("not inside a word") << "ouls" << QStringList{};
        QTest::newRow("only the category's name: shorter first")
            << "teint" << QStringList{"Zona (9)", "abcès (9)", "Ecchymose (9)", "écoulement (9)"};
        QTest::newRow("category and text taken together") << "teint ecou" << QStringList{"écoulement (9)"};
        QTest::newRow("every word required") << "langue rapide" << QStringList{};
        const QString unlinked = "Pouls sans lien : ne correspond à aucun syndrome de la base";
        QTest::newRow("shorter texts first, retired signs after live ones")
            << "pouls"
            << QStringList{"Pouls fin (1)", "Pouls tendu (1)", "Pouls rapide (5)", "Pouls glissant (1)", unlinked};
        QTest::newRow("as long: French order") << "langue" << QStringList{"Langue pâle (9)", "Langue rouge (9)"};
        QTest::newRow("a sign without weight that nothing replaces: said so") << "sans lien" << QStringList{unlinked};
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

    // What a practitioner types and the sign meant, which must come first: on the bundled
    // base, so that the order is checked on the texts it is made for. Each row names the
    // signs it depends on: keep it in step when the base renames or retires one.
    void searchPutsTheMeantSignFirst_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("first");

        for (const auto &[name, typed, first] : std::initializer_list<std::tuple<const char *, QString, QString>>{
                 {"the whole text (511) before a longer one", "vertiges", "Vertiges"},
                 {"the whole text (3801) before a later word", "toux", "Toux"},
                 {"two whole words (1804)", "langue rouge", "Langue rouge"},
                 {"a word and a beginning (4304)", "pouls rap", "Pouls rapide"},
                 {"the beginning (1001) before words out of order (1009)", "nez bou", "Nez bouché"},
                 {"words in order (1009) before words out of order (1001)", "bou nez", "Bout du nez rouge"},
                 {"the beginning (3113) before a shorter later word (3112)", "cheveux", "Cheveux secs et ternes"},
                 {"the text out of order (5211) before a shorter sign of the category", "abdomen froid",
                  "Sensation de froid dans l'abdomen"},
                 {"the text (2801) before a shorter sign of the category Selles", "selles", "Selles molles"},
                 {"a retired sign by its own words (4326 → 4311 + 4304)", "pouls fin et rap",
                  "Pouls fin et rapide → Pouls fin + Pouls rapide"},
                 {"a retired sign (3103 → 511)", "etourdissements", "Étourdissements → Vertiges"},
                 {"a live sign (4311) before a retired one that begins the same", "pouls fin", "Pouls fin"}})
            QTest::newRow(name) << typed << first;
    }
    void searchPutsTheMeantSignFirst()
    {
        QFETCH(QString, typed);
        DataSource bundled;
        bundled.setDatabaseName(TestSupport::bundledDatabase());
        static SignSearchCache cache; // read once for every row
        ModalityChoice choice = ModalityChoice::forSearch(&cache);
        choice.load(bundled);
        choice.find(typed);
        QVERIFY(!choice.entries().isEmpty());
        QTEST(QString(choice.entries().first().text).remove(QRegularExpression(u" \\(\\d+\\)$"_s)), "first");
    }

    // The same sign found by the search and by its category is the same entry; the search
    // reads the file as it stands when it opens, and lists no more than it may.
    void searchEntriesAndLimit()
    {
        ModalityChoice category = ModalityChoice::forCategory(43);
        category.load(m_source);
        ModalityChoice search = ModalityChoice::forSearch();
        search.load(m_source);
        search.find(QStringLiteral("pouls"));
        Entries live;
        for (int i = 0; i < search.entries().size(); ++i)
            if (!search.isRetired(i))
                live.append(search.entries()[i]);
        const auto byNumber = [](Entries entries) {
            std::sort(entries.begin(), entries.end(),
                      [](const ListEntry &a, const ListEntry &b) { return a.data < b.data; });
            return entries;
        };
        QCOMPARE(byNumber(live), byNumber(category.entries()));
        QCOMPARE(search.categories(), QStringList(5, QStringLiteral("Pouls")));

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
        QCOMPARE(many.more(), 455 - SignSearch::Shown);
        // "Pouls fin", then the texts of ten letters, then those of eleven.
        QCOMPARE(many.entries().value(1).text, QStringLiteral("Pouls n° 1 (3)"));
        QCOMPARE(many.entries().value(10).text, QStringLiteral("Pouls n° 10 (3)"));
        QCOMPARE(many.entries().value(100).text, QStringLiteral("Pouls tendu (1)"));
    }

    // A retired sign is found by its own words, as one entry for the live signs that now
    // record it: marked when all of them are recorded; marking it records those missing,
    // once, and marks them wherever they are listed; unmarking it removes nothing. One
    // that no live sign records cannot be marked. A base without the table of
    // replacements lists no retired sign.
    void retiredSigns_data()
    {
        QTest::addColumn<Entries>("signes");
        QTest::addColumn<QStringList>("steps"); // "+n" / "-n" marks or unmarks entry n of the search "pouls"
        QTest::addColumn<Marks>("shown");       // the marks then shown, entry by entry
        QTest::addColumn<Entries>("expected");  // the recorded signs after Valider

        // "pouls": fin, tendu, rapide, glissant, then the retired "sans lien" (4) and "fin et rapide" (5).
        QTest::newRow("opens unmarked, one of its signs missing")
            << Entries{fin} << QStringList{} << marks("100000") << Entries{fin};
        QTest::newRow("opens marked, all of its signs recorded")
            << Entries{rapide, fin} << QStringList{} << marks("101001") << Entries{rapide, fin};
        QTest::newRow("marked: the missing sign recorded once, marked where listed")
            << Entries{fin} << QStringList{"+5"} << marks("101001") << Entries{fin, rapide};
        QTest::newRow("unmarked: nothing removed")
            << Entries{rapide, fin} << QStringList{"-5"} << marks("101000") << Entries{rapide, fin};
        QTest::newRow("marked, then one of its signs unmarked")
            << Entries{} << QStringList{"+5", "-0"} << marks("001000") << Entries{rapide};
        QTest::newRow("its signs marked one by one mark it")
            << Entries{} << QStringList{"+0", "+2"} << marks("101001") << Entries{fin, rapide};
        QTest::newRow("nothing records it: not markable")
            << Entries{} << QStringList{"+4"} << marks("000000") << Entries{};
    }
    void retiredSigns()
    {
        QFETCH(Entries, signes);
        QFETCH(QStringList, steps);
        QTemporaryDir dir;
        DataSource source;
        source.setDatabaseName(TestSupport::makeDatabase(dir, u"small.sql"_s));
        Database::open(source.databaseName())
            ->executeNative(u"UPDATE Valorisation SET Valeur = 5 WHERE NumModalité = 4301;"
                            "INSERT INTO Modalités VALUES (4306, 'Pouls fin et rapide', 43);"
                            "INSERT INTO Remplacements VALUES (4306, 4303), (4306, 4301);"_s);
        ModalityChoice choice = ModalityChoice::forSearch();
        choice.load(source);
        choice.find(u"pouls"_s);
        QCOMPARE(choice.entries().value(5).text, u"Pouls fin et rapide → Pouls fin + Pouls rapide"_s);
        QCOMPARE(choice.isMarkable(5), true);
        QCOMPARE(choice.isMarkable(4), false);
        for (const QString &step : steps)
            choice.setMark(step.mid(1).toInt(), step.startsWith('+'));
        const Marks shown = choice.initialMarks(signes);
        QTEST(shown, "shown");
        QTEST(choice.valider(signes, shown), "expected");

        Database::open(source.databaseName())->executeNative(u"DROP TABLE Remplacements;"_s);
        ModalityChoice older = ModalityChoice::forSearch();
        older.load(source);
        older.find(u"pouls"_s);
        QCOMPARE(older.entries().size(), 4);
    }

    // The search's index is read once and kept while the file is unchanged; a change of
    // the file (an outside edit, a rebuild, a replacement) or forget() has it read again.
    void searchIndexKeptWhileTheBaseIsUnchanged()
    {
        QTemporaryDir dir;
        DataSource source;
        source.setDatabaseName(TestSupport::makeDatabase(dir, u"small.sql"_s));
        SignSearchCache cache;
        const auto finds = [&](const QString &typed) {
            ModalityChoice choice = ModalityChoice::forSearch(&cache);
            choice.load(source);
            choice.find(typed);
            return choice.entries().size();
        };
        const std::shared_ptr<const SignSearch> first = cache.search(source);
        QCOMPARE(cache.search(source), first);
        QCOMPARE(finds(u"zona"_s), 1);
        Database::open(source.databaseName())
            ->executeNative(u"INSERT INTO Modalités VALUES (205, 'Zona ophtalmique', 2);"
                            "INSERT INTO Valorisation VALUES (205, 8);"_s);
        QCOMPARE(finds(u"zona"_s), 2);
        const std::shared_ptr<const SignSearch> second = cache.search(source);
        QVERIFY(second != first);
        cache.forget();
        QVERIFY(cache.search(source) != second);
    }

    // A sign or syndrome number that does not fit 32 bits, or a weight that is empty, not
    // whole or past 32 bits, is a damaged base, refused with its table and value by every
    // reader: cut down, 4294967805 would read as sign 509, and a weight of 1e300 as a huge
    // negative number.
    void damagedNumbersAreRefused_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<DatabaseError::Kind>("kind");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("value");
        const QString sign = u"UPDATE Modalités SET NumModalité = 4294967805 WHERE NumModalité = 201;"
                             "UPDATE Valorisation SET NumModalité = 4294967805 WHERE NumModalité = 201;"
                             "UPDATE \"Modalité-Syndrome\" SET NumModalité = 4294967805 WHERE NumModalité = 201;"_s;
        const QString syndrome = u"UPDATE Syndromes SET NumSyndrome = 4294967298 WHERE NumSyndrome = 2;"
                                 "UPDATE \"Modalité-Syndrome\" SET NumSyndrome = 4294967298 WHERE NumSyndrome = 2;"_s;
        const auto weight = [](const char *value) {
            return u"UPDATE Valorisation SET Valeur = %1 WHERE NumModalité = 201;"_s.arg(QLatin1String(value));
        };
        const auto key = DatabaseError::Kind::BadKey, bad = DatabaseError::Kind::BadWeight;
        QTest::newRow("a number: the listing") << u"listing"_s << sign << key << u"Modalités"_s << u"4294967805"_s;
        QTest::newRow("a number: the search") << u"search"_s << sign << key << u"Modalités"_s << u"4294967805"_s;
        QTest::newRow("a number: the ranking") << u"ranking"_s << syndrome << key << u"Syndromes"_s << u"4294967298"_s;
        QTest::newRow("a number: the signs of a syndrome")
            << u"explanation"_s << sign << key << u"Modalités"_s << u"4294967805"_s;
        QTest::newRow("an empty weight") << u"listing"_s << weight("NULL") << bad << u"Valorisation"_s << QString();
        QTest::newRow("a text weight") << u"search"_s << weight("'lourd'") << bad << u"Valorisation"_s << u"lourd"_s;
        QTest::newRow("a weight of 1e300")
            << u"explanation"_s << weight("1e300") << bad << u"Valorisation"_s << u"1e+300"_s;
        QTest::newRow("a sum that is no whole number")
            << u"ranking"_s << weight("2.5") << bad << u"Valorisation"_s << u"11.5"_s;
    }
    void damagedNumbersAreRefused()
    {
        QFETCH(QString, reader);
        QFETCH(QString, damage);
        QTemporaryDir dir;
        DataSource source;
        source.setDatabaseName(TestSupport::makeDatabase(dir, u"small.sql"_s));
        Database::open(source.databaseName())->executeNative(damage);
        ModalityChoice choice = reader == u"search"_s ? ModalityChoice::forSearch() : ModalityChoice::forCategory(2);
        const auto e = TestSupport::failure([&] {
            if (reader == u"listing"_s || reader == u"search"_s)
                choice.load(source);
            else if (reader == u"ranking"_s)
                Ranking::classerSyndromes(source,
                                          {{u"écoulement (9)"_s, 202}, {u"Zona (9)"_s, 201}, {u"Ecchymose (9)"_s, 204}},
                                          {0, 1, 1, 1, 1, 1});
            else
                Explanations::syndromeSigns(source, 3, {});
        });
        QVERIFY2(e, "the number was read");
        QTEST(e->kind(), "kind");
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
            << QStringList{"pouls rap", "+0", "teint", "+1", "+3"} << Entries{fin, langue, rapide, abces, ecou};
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
        QTEST(choice.valider(signes, marks), "expected");
    }
};

QTEST_GUILESS_MAIN(TestModalityChoice)
#include "tst_modalitychoice.moc"
