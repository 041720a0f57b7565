#include "DataSource.h"
#include "Database.h"
#include "DatabaseError.h"
#include "ModalityChoice.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QTest>

#include <optional>

using Use = ModalityChoice::Use;
using Entries = QList<ListEntry>;
using Marks = QList<bool>;
using OptionalSyndrome = std::optional<qint32>;

Q_DECLARE_METATYPE(ModalityChoice::Use)
Q_DECLARE_METATYPE(OptionalSyndrome)

// The dialog's decisions on the small fixture: which use, which statement, which entries,
// which marks, and what "Valider" makes of Signes.
class TestModalityChoice : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    DataSource m_listeValeurs;

    ModalityChoice loaded(qint32 signe, qint32 categorie, OptionalSyndrome syndrome = std::nullopt) {
        ModalityChoice choice(signe, categorie, syndrome);
        choice.load(m_listeValeurs);
        return choice;
    }

    // Signes after "Valider", the edits made on a copy of `signes`.
    static Entries validated(const ModalityChoice &choice, Entries signes, const Marks &marks) {
        ModalityChoice::apply(choice.valider(signes, marks), signes);
        return signes;
    }

    static const Entries &pouls() {
        static const Entries entries{{"Pouls fin (1)", 4303},
                                     {"Pouls glissant (1)", 4302},
                                     {"Pouls rapide (9)", 4301},
                                     {"Pouls tendu (1)", 4304}};
        return entries;
    }

private slots:
    // The listings only read the fixture; the one case that changes it works on a copy.
    void initTestCase() { m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql")); }
    void init() { m_listeValeurs.setDatabaseName(m_path); }

    void useAndStatement_data() {
        QTest::addColumn<qint32>("signe");
        QTest::addColumn<qint32>("categorie");
        QTest::addColumn<OptionalSyndrome>("syndrome");
        QTest::addColumn<Use>("use");
        QTest::addColumn<QString>("statement");

        QTest::newRow("a sign wins over a category and a syndrome")
            << 4302 << 43 << OptionalSyndrome(2) << Use::SyndromesOfSign << Statements::signSyndromes(4302);
        QTest::newRow("a category wins over a syndrome")
            << 0 << 43 << OptionalSyndrome(2) << Use::SignsOfCategory << Statements::categoryListing(43);
        QTest::newRow("a negative sign does not count")
            << -5 << 18 << OptionalSyndrome() << Use::SignsOfCategory << Statements::categoryListing(18);
        QTest::newRow("neither: the selected syndrome")
            << 0 << 0 << OptionalSyndrome(2) << Use::SignsOfSyndrome << Statements::syndromeSigns(2);
        QTest::newRow("neither and no syndrome selected: nothing to ask")
            << 0 << 0 << OptionalSyndrome() << Use::SignsOfSyndrome << QString();
    }

    void useAndStatement() {
        QFETCH(qint32, signe);
        QFETCH(qint32, categorie);
        QFETCH(OptionalSyndrome, syndrome);
        QFETCH(Use, use);
        QFETCH(QString, statement);

        m_listeValeurs.setRecordSource(QStringLiteral("untouched"));
        const ModalityChoice choice = loaded(signe, categorie, syndrome);
        QCOMPARE(choice.use(), use);
        QCOMPARE(choice.statement(), statement);
        QCOMPARE(m_listeValeurs.recordSource(), statement.isEmpty() ? QStringLiteral("untouched") : statement);
    }

    void numbersStandWhereTheDatabaseExpectsThem() {
        loaded(0, 43);
        QVERIFY(m_listeValeurs.recordSource().endsWith(
            QStringLiteral("AND Catégories.NumCatégorie = 43 ORDER BY Modalités.Modalité; ")));
        loaded(0, 0, 2);
        QVERIFY(m_listeValeurs.recordSource().endsWith(
            QStringLiteral("AND [Modalité-Syndrome].NumSyndrome =  2 ORDER BY Modalités.Modalité;")));
        loaded(4302, 0);
        QVERIFY(
            m_listeValeurs.recordSource().endsWith(QStringLiteral("WHERE [Modalité-Syndrome].NumModalité = 4302;")));
    }

    void entries_data() {
        QTest::addColumn<qint32>("signe");
        QTest::addColumn<qint32>("categorie");
        QTest::addColumn<OptionalSyndrome>("syndrome");
        QTest::addColumn<Entries>("entries");

        // A modality without weight (4305) is never listed.
        QTest::newRow("category, in text order, weight in parentheses") << 0 << 43 << OptionalSyndrome() << pouls();
        QTest::newRow("category, French order")
            << 0 << 2 << OptionalSyndrome()
            << Entries{{"abcès (9)", 203}, {"Ecchymose (9)", 204}, {"écoulement (9)", 202}, {"Zona (9)", 201}};
        QTest::newRow("signs of a syndrome")
            << 0 << 0 << OptionalSyndrome(2)
            << Entries{{"abcès (9)", 203},      {"écoulement (9)", 202},      {"Langue pâle (9)", 1801},
                       {"Pouls fin (1)", 4303}, {"Pouls glissant (1)", 4302}, {"Pouls tendu (1)", 4304}};
        QTest::newRow("syndromes of a sign: names without item data")
            << 4301 << 0 << OptionalSyndrome() << Entries{{"Syndrome 1", 0}};
        QTest::newRow("empty category") << 0 << 62 << OptionalSyndrome() << Entries{};
        QTest::newRow("sign without link") << 4305 << 0 << OptionalSyndrome() << Entries{};
        QTest::newRow("syndrome without sign") << 0 << 0 << OptionalSyndrome(99) << Entries{};
        QTest::newRow("no syndrome selected") << 0 << 0 << OptionalSyndrome() << Entries{};
    }

    void entries() {
        QFETCH(qint32, signe);
        QFETCH(qint32, categorie);
        QFETCH(OptionalSyndrome, syndrome);
        QFETCH(Entries, entries);

        const ModalityChoice choice = loaded(signe, categorie, syndrome);
        QCOMPARE(choice.entries(), entries);
        QCOMPARE(choice.nombreEntrees(), entries.size());
        QCOMPARE(choice.entriesCarryItemData(), signe <= 0);
    }

    void syndromesOfASignComeAllWhateverTheMethod() {
        const ModalityChoice choice = loaded(4302, 0);
        QStringList names;
        for (const ListEntry &entry : choice.entries())
            names.append(entry.text);
        names.sort();
        QCOMPARE(names, QStringList({"Syndrome 1", "Syndrome 2", "Syndrome 3", "Syndrome 4", "Syndrome 5", "Syndrome 6",
                                     "Syndrome 7", "Syndrome 8", "Syndrome 9"}));
    }

    void marks_data() {
        QTest::addColumn<qint32>("signe");
        QTest::addColumn<Entries>("signes");
        QTest::addColumn<Marks>("marks");

        QTest::newRow("nothing recorded") << 0 << Entries{} << Marks{false, false, false, false};
        QTest::newRow("exactly the recorded ones")
            << 0 << Entries{{"Langue pâle (9)", 1801}, {"Pouls tendu (1)", 4304}, {"Pouls fin (1)", 4303}}
            << Marks{true, false, false, true};
        QTest::newRow("the text decides, not the item data")
            << 0 << Entries{{"Pouls glissant (1)", 9999}} << Marks{false, true, false, false};
        QTest::newRow("case counts") << 0 << Entries{{"pouls fin (1)", 4303}} << Marks{false, false, false, false};
        QTest::newRow("a rebuilt weight no longer matches")
            << 0 << Entries{{"Pouls rapide (7)", 4301}} << Marks{false, false, false, false};
        QTest::newRow("syndromes of a sign: never marked") << 4301 << Entries{{"Syndrome 1", 0}} << Marks{false};
    }

    void marks() {
        QFETCH(qint32, signe);
        QFETCH(Entries, signes);
        QFETCH(Marks, marks);

        const ModalityChoice choice = loaded(signe, 43);
        QCOMPARE(choice.initialMarks(signes), marks);
    }

    void valider_data() {
        QTest::addColumn<qint32>("signe");
        QTest::addColumn<OptionalSyndrome>("syndrome");
        QTest::addColumn<Entries>("signes");
        QTest::addColumn<Marks>("marks"); // nullopt marks: as opened
        QTest::addColumn<Entries>("expected");

        const Entries recorded{{"Langue pâle (9)", 1801}, {"Pouls tendu (1)", 4304}, {"Pouls fin (1)", 4303}};
        QTest::newRow("unchanged marks keep Signes as it was")
            << 0 << OptionalSyndrome() << recorded << Marks{true, false, false, true} << recorded;
        QTest::newRow("unmarking removes") << 0 << OptionalSyndrome() << recorded << Marks{true, false, false, false}
                                           << Entries{{"Langue pâle (9)", 1801}, {"Pouls fin (1)", 4303}};
        QTest::newRow("only the first equal entry goes")
            << 0 << OptionalSyndrome()
            << Entries{{"Pouls fin (1)", 4303}, {"Langue pâle (9)", 1801}, {"Pouls fin (1)", 4303}}
            << Marks{false, false, false, false} << Entries{{"Langue pâle (9)", 1801}, {"Pouls fin (1)", 4303}};
        QTest::newRow("marking appends in the dialog's order")
            << 0 << OptionalSyndrome() << Entries{{"Langue pâle (9)", 1801}} << Marks{false, true, true, false}
            << Entries{{"Langue pâle (9)", 1801}, {"Pouls glissant (1)", 4302}, {"Pouls rapide (9)", 4301}};
        QTest::newRow("marking into an empty Signes")
            << 0 << OptionalSyndrome() << Entries{} << Marks{true, false, false, true}
            << Entries{{"Pouls fin (1)", 4303}, {"Pouls tendu (1)", 4304}};
        QTest::newRow("a rebuilt weight is recorded a second time")
            << 0 << OptionalSyndrome() << Entries{{"Pouls rapide (7)", 4301}} << Marks{false, false, true, false}
            << Entries{{"Pouls rapide (7)", 4301}, {"Pouls rapide (9)", 4301}};
        QTest::newRow("signs of a syndrome: the same rules")
            << 0 << OptionalSyndrome(2) << Entries{{"abcès (9)", 203}, {"Pouls rapide (9)", 4301}}
            << Marks{false, false, true, false, false, false}
            << Entries{{"Pouls rapide (9)", 4301}, {"Langue pâle (9)", 1801}};
        QTest::newRow("syndromes of a sign: Valider changes nothing")
            << 4301 << OptionalSyndrome() << Entries{{"Syndrome 1", 0}, {"Pouls rapide (9)", 4301}} << Marks{false}
            << Entries{{"Syndrome 1", 0}, {"Pouls rapide (9)", 4301}};
        QTest::newRow("syndromes of a sign: even when marked")
            << 4301 << OptionalSyndrome() << Entries{} << Marks{true} << Entries{};
    }

    void valider() {
        QFETCH(qint32, signe);
        QFETCH(OptionalSyndrome, syndrome);
        QFETCH(Entries, signes);
        QFETCH(Marks, marks);
        QFETCH(Entries, expected);

        const ModalityChoice choice = loaded(signe, syndrome ? 0 : 43, syndrome);
        QCOMPARE(marks.size(), choice.nombreEntrees());
        QCOMPARE(validated(choice, signes, marks), expected);
    }

    void editsNameTheirPlaceInSignes() {
        const ModalityChoice choice = loaded(0, 43);
        const Entries signes{{"Langue pâle (9)", 1801}, {"Pouls tendu (1)", 4304}, {"Pouls fin (1)", 4303}};
        using Edit = ModalityChoice::Edit;
        // Entry by entry: "Pouls fin" unmarked goes from index 2, "Pouls glissant" marked
        // comes at the end, "Pouls tendu" unmarked then leaves from index 1.
        QCOMPARE(choice.valider(signes, {false, true, false, false}),
                 QList<Edit>({{Edit::Kind::Remove, 2, {}},
                              {Edit::Kind::Append, 2, {"Pouls glissant (1)", 4302}},
                              {Edit::Kind::Remove, 1, {}}}));
    }

    void weightRebuiltSinceRecording() {
        const QString rebuilt =
            TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"), QStringLiteral("rebuilt.mdb"));
        {
            auto db = Database::open(rebuilt);
            db->execute(QStringLiteral("UPDATE Valorisation SET Valeur = 5 WHERE NumModalité = 4301"));
        }
        m_listeValeurs.setDatabaseName(rebuilt);
        const ModalityChoice choice = loaded(0, 43);
        QCOMPARE(choice.entries().at(2), ListEntry({"Pouls rapide (5)", 4301}));
        const Entries signes{{"Pouls rapide (7)", 4301}};
        const Marks marks = choice.initialMarks(signes);
        QVERIFY(!marks.contains(true));
        Marks marked = marks;
        marked[2] = true;
        QCOMPARE(validated(choice, signes, marked), Entries({{"Pouls rapide (7)", 4301}, {"Pouls rapide (5)", 4301}}));
    }

    void databaseFailureLeavesNoEntry() {
        QVERIFY(loaded(0, 43).nombreEntrees() > 0);
        m_listeValeurs.setDatabaseName(m_dir.filePath(QStringLiteral("absent.mdb")));
        ModalityChoice choice(0, 43, std::nullopt);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, choice.load(m_listeValeurs));
        QCOMPARE(choice.nombreEntrees(), 0);
        QVERIFY(choice.valider({{"Pouls fin (1)", 4303}}, {}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestModalityChoice)
#include "tst_modalitychoice.moc"
