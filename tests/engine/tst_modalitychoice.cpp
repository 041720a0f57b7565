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

#include <list>
#include <optional>
#include <tuple>

using namespace Qt::StringLiterals;
using Entries = QList<ListEntry>;
using Marks = QList<bool>;

// What the dialog lists, marks and records, on the small fixture.
class TestModalityChoice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::list<DataSource> m_sources; // the first: the small fixture, its pulse 4301 reweighed
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

    // The small fixture in a file of its own, changed by `sql` if any.
    DataSource &changed(const QString &sql)
    {
        DataSource &source = m_sources.emplace_back();
        source.setDatabaseName(TestSupport::makeDatabase(m_dir, u"small.sql"_s, u"%1.mdb"_s.arg(m_sources.size())));
        if (!sql.isEmpty())
            Database::open(source.databaseName())->executeNative(sql);
        return source;
    }

    static ModalityChoice search(DataSource &source, const QString &typed, SignSearchCache *cache = nullptr)
    {
        ModalityChoice choice = ModalityChoice::forSearch(cache);
        choice.load(source);
        choice.find(typed);
        return choice;
    }

    ModalityChoice loaded(ModalityChoice choice)
    {
        choice.load(m_sources.front());
        return choice;
    }

private slots:
    // Weights rebuilt since a visit recorded "Pouls rapide (7)".
    void initTestCase() { changed(u"UPDATE Valorisation SET Valeur = 5 WHERE NumModalité = 4301"_s); }

    // What each use lists: a sign's syndromes, a category's signs (the unweighted one left
    // out, French order), the selected syndrome's signs, or nothing.
    void listing()
    {
        QCOMPARE(loaded(ModalityChoice::forSign(4301)).entries(), (Entries{{"Syndrome 1", 0}}));
        QCOMPARE(loaded(ModalityChoice::forCategory(43)).entries(), (Entries{fin, glissant, rapide, tendu}));
        QCOMPARE(loaded(ModalityChoice::forCategory(2)).entries(),
                 (Entries{{"abcès (9)", 203}, {"Ecchymose (9)", 204}, {"écoulement (9)", 202}, {"Zona (9)", 201}}));
        QCOMPARE(loaded(ModalityChoice::forSyndrome(1)).entries(), (Entries{fin, glissant, rapide, tendu}));
        QCOMPARE(loaded(ModalityChoice::forCategory(62)).entries(), Entries{});
        QCOMPARE(loaded(ModalityChoice::forSyndrome(std::nullopt)).entries(), Entries{});
    }

    // The number decides, whatever the text says. Each row: the recorded signs, the marks the
    // dialog opens with, the marks when Valider is pressed, the recorded signs after.
    void marksAndValider()
    {
        const Entries recorded{{"pouls fin (1)", 4303}, tendu, {"Pouls glissant (1)", 9999}};
        const ListEntry before{"Pouls rapide (7)", 4301}; // recorded before its weight was rebuilt
        const Marks none = marks("0000");
        const ModalityChoice category = loaded(ModalityChoice::forCategory(43));
        for (const auto &[signes, opened, pressed, expected] :
             std::initializer_list<std::tuple<Entries, Marks, Marks, Entries>>{
                 // exactly the recorded numbers marked; unchanged, Signes stays
                 {recorded, marks("1001"), marks("1001"), recorded},
                 // unmarking removes the sign
                 {{fin, tendu, langue}, marks("1001"), none, {langue}},
                 // marking appends in alphabetical order
                 {{langue}, none, marks("0110"), {langue, glissant, rapide}},
                 // a rebuilt weight: the same sign, marked, kept once; unmarking removes it
                 {{before}, marks("0010"), marks("0010"), {before}},
                 {{langue, before}, marks("0010"), none, {langue}}}) {
            QCOMPARE(category.initialMarks(signes), opened);
            QCOMPARE(category.valider(signes, pressed), expected);
        }
        // The syndromes of a sign are never marked, and Valider changes nothing.
        const ModalityChoice syndromes = loaded(ModalityChoice::forSign(4301));
        const Entries signes{{"Syndrome 1", 0}, rapide};
        QCOMPARE(syndromes.initialMarks(signes), marks("0"));
        QCOMPARE(syndromes.valider(signes, marks("0")), signes);
    }

    // A recorded sign whose links changed: once the weights are rebuilt it reads as the
    // base now weighs it, a sign left without a link leaves the visit, and the dialog of
    // its category lists it marked.
    void recordedSignsAfterARebuild()
    {
        DataSource &source = changed(u"INSERT INTO \"Modalité-Syndrome\" VALUES (201, 4), (201, 5);"
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
    void searchFinds()
    {
        const QString unlinked = "Pouls sans lien : ne correspond à aucun syndrome de la base";
        for (const auto &[typed, found] : std::initializer_list<std::pair<QString, QStringList>>{
                 {"pouls rap", {"Pouls rapide (5)"}}, // two word starts
                 {"POULS RÂP", {"Pouls rapide (5)"}}, // case and accents aside
                 {"pale", {"Langue pâle (9)"}},       // accent not typed
                 {"ouls", {}},                        // not inside a word
                 // only the category's name: shorter first
                 {"teint", {"Zona (9)", "abcès (9)", "Ecchymose (9)", "écoulement (9)"}},
                 {"teint ecou", {"écoulement (9)"}}, // category and text taken together
                 {"langue rapide", {}},              // every word required
                 // shorter texts first, retired signs after live ones
                 {"pouls", {"Pouls fin (1)", "Pouls tendu (1)", "Pouls rapide (5)", "Pouls glissant (1)", unlinked}},
                 {"langue", {"Langue pâle (9)", "Langue rouge (9)"}}, // as long: French order
                 {"sans lien", {unlinked}}, // a sign without weight that nothing replaces: said so
                 {" -' ", {}},              // no word
                 {"\"pouls\" * (rap)^", {"Pouls rapide (5)"}}}) { // the index's own syntax is only words
            const ModalityChoice choice = search(m_sources.front(), typed);
            QStringList texts;
            for (const ListEntry &entry : choice.entries())
                texts.append(entry.text);
            QCOMPARE(texts, found);
            QCOMPARE(choice.categories().size(), texts.size());
            QCOMPARE(choice.more(), 0);
        }
    }

    // What a practitioner types and the sign meant, which must come first: on the bundled
    // base, so that the order is checked on the texts it is made for. Each row names the
    // signs it depends on: keep it in step when the base renames or retires one.
    void searchPutsTheMeantSignFirst()
    {
        DataSource bundled;
        bundled.setDatabaseName(TestSupport::bundledDatabase());
        SignSearchCache cache; // read once for every row
        for (const auto &[typed, first] : std::initializer_list<std::pair<QString, QString>>{
                 // the whole text (511) before a longer one; the whole text (3801) before a later word
                 {"vertiges", "Vertiges"},
                 {"toux", "Toux"},
                 // two whole words (1804); a word and a beginning (4304)
                 {"langue rouge", "Langue rouge"},
                 {"pouls rap", "Pouls rapide"},
                 // the beginning (1001) before words out of order (1009), and the other way round
                 {"nez bou", "Nez bouché"},
                 {"bou nez", "Bout du nez rouge"},
                 // the beginning (3113) before a shorter later word (3112)
                 {"cheveux", "Cheveux secs et ternes"},
                 // the text out of order (5211), or the text (2801), before a shorter sign of the category
                 {"abdomen froid", "Sensation de froid dans l'abdomen"},
                 {"selles", "Selles molles"},
                 // a retired sign by its own words (4326 → 4311 + 4304); a retired sign (3103 → 511)
                 {"pouls fin et rap", "Pouls fin et rapide → Pouls fin + Pouls rapide"},
                 {"etourdissements", "Étourdissements → Vertiges"},
                 // a live sign (4311) before a retired one that begins the same
                 {"pouls fin", "Pouls fin"}}) {
            const Entries found = search(bundled, typed, &cache).entries();
            QVERIFY2(!found.isEmpty(), qPrintable(typed));
            QCOMPARE(QString(found.first().text).remove(QRegularExpression(u" \\(\\d+\\)$"_s)), first);
        }
    }

    // The same sign found by the search and by its category is the same entry; the search
    // reads the file as it stands when it opens, and lists no more than it may.
    void searchEntriesAndLimit()
    {
        const ModalityChoice pouls = search(m_sources.front(), u"pouls"_s);
        Entries live;
        for (int i = 0; i < pouls.entries().size(); ++i)
            if (!pouls.isRetired(i))
                live.append(pouls.entries()[i]);
        std::ranges::sort(live, {}, &ListEntry::data);
        QCOMPARE(live, (Entries{rapide, glissant, fin, tendu})); // as the category lists them, by number
        QCOMPARE(pouls.categories(), QStringList(5, u"Pouls"_s));

        const ModalityChoice many = search(
            changed(u"WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 450) "
                    "INSERT INTO Modalités SELECT 5000 + n, 'Pouls n° ' || n, 43 FROM s; "
                    "INSERT INTO Valorisation SELECT NumModalité, 3 FROM Modalités WHERE NumModalité > 5000;"_s),
            u"pouls"_s);
        QCOMPARE(many.entries().size(), SignSearch::Shown);
        QCOMPARE(many.more(), 455 - SignSearch::Shown);
        // "Pouls fin", then the texts of ten letters, then those of eleven.
        QCOMPARE(many.entries().value(1).text, u"Pouls n° 1 (3)"_s);
        QCOMPARE(many.entries().value(10).text, u"Pouls n° 10 (3)"_s);
        QCOMPARE(many.entries().value(100).text, u"Pouls tendu (1)"_s);
    }

    // A retired sign is found by its own words, as one entry for the live signs that now
    // record it: marked when all of them are recorded; marking it records those missing,
    // once, and marks them wherever they are listed; unmarking it removes nothing. One
    // that no live sign records cannot be marked. A base without the table of
    // replacements lists no retired sign.
    void retiredSigns()
    {
        DataSource &source = changed(u"UPDATE Valorisation SET Valeur = 5 WHERE NumModalité = 4301;"
                                     "INSERT INTO Modalités VALUES (4306, 'Pouls fin et rapide', 43);"
                                     "INSERT INTO Remplacements VALUES (4306, 4303), (4306, 4301);"_s);
        // "pouls": fin, tendu, rapide, glissant, then the retired "sans lien" (4) and "fin et rapide" (5).
        // Each row: the recorded signs; "+n" / "-n" marks or unmarks entry n; the marks then shown,
        // entry by entry; the recorded signs after Valider.
        for (const auto &[signes, steps, shown, expected] :
             std::initializer_list<std::tuple<Entries, QStringList, Marks, Entries>>{
                 // opens unmarked, one of its signs missing; opens marked, all of its signs recorded
                 {{fin}, {}, marks("100000"), {fin}},
                 {{rapide, fin}, {}, marks("101001"), {rapide, fin}},
                 // marked: the missing sign recorded once, marked where listed; unmarked: nothing removed
                 {{fin}, {"+5"}, marks("101001"), {fin, rapide}},
                 {{rapide, fin}, {"-5"}, marks("101000"), {rapide, fin}},
                 // marked, then one of its signs unmarked; its signs marked one by one mark it
                 {{}, {"+5", "-0"}, marks("001000"), {rapide}},
                 {{}, {"+0", "+2"}, marks("101001"), {fin, rapide}},
                 // nothing records it: not markable
                 {{}, {"+4"}, marks("000000"), {}}}) {
            ModalityChoice choice = search(source, u"pouls"_s);
            QCOMPARE(choice.entries().value(5).text, u"Pouls fin et rapide → Pouls fin + Pouls rapide"_s);
            QVERIFY(choice.isMarkable(5) && !choice.isMarkable(4));
            for (const QString &step : steps)
                choice.setMark(step.mid(1).toInt(), step.startsWith('+'));
            QCOMPARE(choice.initialMarks(signes), shown);
            QCOMPARE(choice.valider(signes, shown), expected);
        }
        Database::open(source.databaseName())->executeNative(u"DROP TABLE Remplacements;"_s);
        QCOMPARE(search(source, u"pouls"_s).entries().size(), 4);
    }

    // The search's index is read once and kept while the file is unchanged; a change of
    // the file (an outside edit, a rebuild, a replacement) or forget() has it read again.
    void searchIndexKeptWhileTheBaseIsUnchanged()
    {
        DataSource &source = changed({});
        SignSearchCache cache;
        const std::shared_ptr<const SignSearch> first = cache.search(source);
        QCOMPARE(cache.search(source), first);
        QCOMPARE(search(source, u"zona"_s, &cache).entries().size(), 1);
        Database::open(source.databaseName())
            ->executeNative(u"INSERT INTO Modalités VALUES (205, 'Zona ophtalmique', 2);"
                            "INSERT INTO Valorisation VALUES (205, 8);"_s);
        QCOMPARE(search(source, u"zona"_s, &cache).entries().size(), 2);
        const std::shared_ptr<const SignSearch> second = cache.search(source);
        QVERIFY(second != first);
        cache.forget();
        QVERIFY(cache.search(source) != second);
    }

    // A sign or syndrome number that does not fit 32 bits, or a weight that is empty, not
    // whole or past 32 bits, is a damaged base, refused with its table and value by every
    // reader: cut down, 4294967805 would read as sign 509, and a weight of 1e300 as a huge
    // negative number.
    void damagedNumbersAreRefused()
    {
        // The reader, the damage, then the error's kind, table and value.
        const auto check = [this](const QString &reader, const QString &damage, DatabaseError::Kind kind,
                                  const QString &table, const QString &value) {
            DataSource &source = changed(damage);
            auto choice = reader == u"search"_s ? ModalityChoice::forSearch() : ModalityChoice::forCategory(2);
            const auto e = TestSupport::failure([&] {
                if (reader == u"listing"_s || reader == u"search"_s)
                    choice.load(source);
                else if (reader == u"ranking"_s)
                    Ranking::classerSyndromes(
                        source, {{u"écoulement (9)"_s, 202}, {u"Zona (9)"_s, 201}, {u"Ecchymose (9)"_s, 204}},
                        {0, 1, 1, 1, 1, 1});
                else
                    Explanations::syndromeSigns(source, 3, {});
            });
            QVERIFY2(e, qPrintable(u"the number was read: "_s + reader + u" / "_s + damage));
            QCOMPARE(e->kind(), kind);
            QCOMPARE(e->details().value(0).table, table);
            QCOMPARE(e->details().value(0).value, value);
            QVERIFY(choice.entries().isEmpty());
        };
        const QString sign = u"UPDATE Modalités SET NumModalité = 4294967805 WHERE NumModalité = 201;"
                             "UPDATE Valorisation SET NumModalité = 4294967805 WHERE NumModalité = 201;"
                             "UPDATE \"Modalité-Syndrome\" SET NumModalité = 4294967805 WHERE NumModalité = 201;"_s;
        const QString syndrome = u"UPDATE Syndromes SET NumSyndrome = 4294967298 WHERE NumSyndrome = 2;"
                                 "UPDATE \"Modalité-Syndrome\" SET NumSyndrome = 4294967298 WHERE NumSyndrome = 2;"_s;
        const auto weight = [](const char *value) {
            return u"UPDATE Valorisation SET Valeur = %1 WHERE NumModalité = 201;"_s.arg(QLatin1String(value));
        };
        const auto key = DatabaseError::Kind::BadKey, bad = DatabaseError::Kind::BadWeight;
        // A number, read by the listing, the search, the ranking and the signs of a syndrome.
        check(u"listing"_s, sign, key, u"Modalités"_s, u"4294967805"_s);
        check(u"search"_s, sign, key, u"Modalités"_s, u"4294967805"_s);
        check(u"ranking"_s, syndrome, key, u"Syndromes"_s, u"4294967298"_s);
        check(u"explanation"_s, sign, key, u"Modalités"_s, u"4294967805"_s);
        // An empty weight, a text, a weight of 1e300, a sum that is no whole number.
        check(u"listing"_s, weight("NULL"), bad, u"Valorisation"_s, QString());
        check(u"search"_s, weight("'lourd'"), bad, u"Valorisation"_s, u"lourd"_s);
        check(u"explanation"_s, weight("1e300"), bad, u"Valorisation"_s, u"1e+300"_s);
        check(u"ranking"_s, weight("2.5"), bad, u"Valorisation"_s, u"11.5"_s);
    }

    // "Valider" in the search touches the signs it listed and those whose mark was changed
    // during the opening, never another recorded sign. Each row: "words" searches, "+n" / "-n"
    // marks or unmarks entry n; then the recorded signs after Valider.
    void searchValider()
    {
        const ListEntry abces{"abcès (9)", 203}, ecou{"écoulement (9)", 202};
        const Entries signes{fin, langue};
        for (const auto &[steps, expected] : std::initializer_list<std::pair<QStringList, Entries>>{
                 // unlisted recorded signs stay; unchanged, nothing moves
                 {{"pouls", "-0"}, {langue}},
                 {{"pouls"}, {fin, langue}},
                 // marks of earlier searches count; a mark changed back
                 {{"pouls rap", "+0", "teint", "+1", "+3"}, {fin, langue, rapide, abces, ecou}},
                 {{"pouls", "+2", "teint", "pouls", "-2"}, {fin, langue}},
                 // unmarked in an earlier search
                 {{"fin", "-0", "langue"}, {langue}}}) {
            ModalityChoice choice = loaded(ModalityChoice::forSearch());
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
            QCOMPARE(choice.valider(signes, marks), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestModalityChoice)
#include "tst_modalitychoice.moc"
