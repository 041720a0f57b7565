#include "Database.h"
#include "Recordset.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = DatabaseError::Kind;
using TestSupport::failure;

// The catalogue's statements, word for word and in their meaning on a small fixture, the
// result sets they give, and the ways a file fails to open or to serve.
class TestDatabase : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

private slots:
    void init()
    {
        QFile::remove(m_dir.filePath(QStringLiteral("Signes.mdb")));
        m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"));
    }

    // Blanks, case and the order of the pieces are what the database receives, on the
    // statements with the most pieces; index 0 of the method table is never read. (The other
    // statements' texts are compared, translated, by the translator's test.)
    void statementTexts()
    {
        QCOMPARE(Statements::ranking(Statements::rankingSignCondition(std::vector<qint32>{12, 40, 7}),
                                     Statements::rankingMethodCondition({1, 1, 0, 1, 0, 1})),
                 u"SELECT Sum(Valorisation.Valeur) AS SommeDeValeur, Syndromes.Nom, Syndromes.NumSyndrome "
                 "FROM Syndromes INNER JOIN ([Modalité-Syndrome] INNER JOIN Valorisation ON "
                 "[Modalité-Syndrome].NumModalité = Valorisation.NumModalité) ON Syndromes.NumSyndrome = "
                 "[Modalité-Syndrome].NumSyndrome Where Valorisation.NumModalité= 12 OR "
                 "Valorisation.NumModalité=40 OR Valorisation.NumModalité=7 GROUP BY Syndromes.Nom, "
                 "Syndromes.NumSyndrome, Syndromes.NumMéthode HAVING Syndromes.NumMéthode= 1 OR "
                 "Syndromes.NumMéthode=3 OR Syndromes.NumMéthode=5 ORDER BY Sum(Valorisation.Valeur) DESC ;"_s);
        QCOMPARE(Statements::categoryListing(18),
                 u"SELECT Modalités.Modalité, Modalités.NumModalité, Valorisation.Valeur  FROM Catégories, "
                 "Modalités, Valorisation  WHERE Catégories.NumCatégorie = Modalités.NumCatégorie AND "
                 "Modalités.NumModalité = Valorisation.NumModalité AND Catégories.NumCatégorie = 18 "
                 "ORDER BY Modalités.Modalité; "_s);
        QCOMPARE(Statements::syndromeSigns(12),
                 u"SELECT Modalités.Modalité, Modalités.NumModalité, `Modalité-Syndrome`.NumSyndrome, "
                 "Valorisation.Valeur  FROM Modalités, `Modalité-Syndrome`, Valorisation  WHERE "
                 "Modalités.NumModalité = [Modalité-Syndrome].NumModalité  AND Modalités.NumModalité = "
                 "Valorisation.NumModalité AND [Modalité-Syndrome].NumSyndrome =  12 ORDER BY "
                 "Modalités.Modalité;"_s);
    }

    void movingThroughResults()
    {
        auto db = Database::open(m_path);
        auto rs = db->openRecordset(Statements::categoryListing(18));
        QCOMPARE(rs->recordCount(), 2);
        for (int i = 0; i < 3; ++i)
            rs->moveNext();
        QVERIFY(rs->isEof());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, rs->field(u"Modalité"));
        // Moving on an empty result is harmless.
        auto none = db->openRecordset(Statements::categoryListing(62));
        QCOMPARE(none->recordCount(), 0);
        none->moveNext();
        QVERIFY(none->isEof());

        // A statement run again on the same connection after its bounded cache of prepared
        // statements was emptied still gives its rows, in French order.
        const auto listing = [&](qint32 category) {
            QStringList names;
            for (auto rs = db->openRecordset(Statements::categoryListing(category)); !rs->isEof(); rs->moveNext())
                names.append(rs->field(u"Modalité").toString());
            return names;
        };
        const QStringList teint{"abcès", "Ecchymose", "écoulement", "Zona"}; // stored in another order
        for (int n = 0; n <= 200; ++n) // far more distinct statements than the cache holds
            QVERIFY(n % 50 ? listing(1000 + n).isEmpty() : listing(2) == teint);
    }

    void openFailures()
    {
        const QString missing = m_dir.filePath(QStringLiteral("absent.mdb"));
        QCOMPARE(failure([&] { Database::open(missing); }).value().kind(), Kind::Missing);
        QVERIFY(!QFile::exists(missing));
        const QByteArray jet = QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2000, '\x11');
        // A newer Access file is one to convert too, not "no database".
        const QByteArray ace = QByteArray("\x00\x01\x00\x00Standard ACE DB\x00\x02", 21) + QByteArray(2000, '\x11');
        // A damaged file passes the header test and is caught at open.
        const QByteArray truncated = QByteArray("SQLite format 3\0", 16) + QByteArray(134, '\0');
        for (const auto &[bytes, kind] : {std::pair{jet, Kind::AccessFile},
                                          {ace, Kind::AccessFile},
                                          {QByteArray(4096, 'x'), Kind::NotDatabase},
                                          {QByteArray(), Kind::NotDatabase},
                                          {truncated, Kind::NotDatabase}}) {
            const QString path = TestSupport::writeFile(m_dir.filePath(QStringLiteral("other.mdb")), bytes);
            QCOMPARE(failure([&] { Database::open(path); }).value().kind(), kind);
            QCOMPARE(TestSupport::readFile(path), bytes); // nothing written into it
        }
    }

    // What went wrong, told by kind and place, with the engine's own words beside them. The
    // file is damaged, emptied of a table or column, or made to refuse writing or room by
    // the engine itself (never by file permissions: the tests run as root).
    void failuresSayWhatWentWrong_data()
    {
        QTest::addColumn<QString>("injury"); // SQLite, run on the fixture first
        QTest::addColumn<QString>("action"); // what the program then does
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("where");  // table|column
        QTest::addColumn<QString>("engine"); // the engine's words, kept as they are

        const auto row = [](const char *name, const QString &injury, const char *action, Kind kind, const char *where,
                            const char *engine) {
            QTest::newRow(name) << injury << QString(action) << kind << QString(where) << QString(engine);
        };
        const QString noTable = u"DROP TABLE Valorisation"_s,
                      noColumn = u"ALTER TABLE Valorisation DROP COLUMN Valeur"_s;
        row("a missing table", noTable, "listing", Kind::NoSuchTable, "Valorisation|", "no such table: Valorisation");
        row("a missing column, qualified", noColumn, "ranking", Kind::NoSuchColumn, "Valorisation|Valeur",
            "no such column: Valorisation.Valeur");
        row("a missing column, appending", noColumn, "append", Kind::NoSuchColumn, "Valorisation|Valeur",
            "table Valorisation has no column named Valeur");
        row("read only", u"PRAGMA query_only = 1"_s, "reset", Kind::ReadOnly, "|",
            "attempt to write a readonly database");
        row("disk full", u"PRAGMA max_page_count = 8"_s, "fill", Kind::DiskFull, "|", "database or disk is full");
        row("damaged", u"damage"_s, "listing", Kind::Damaged, "|", "database disk image is malformed");
        row("a column the result lacks", {}, "field", Kind::NoSuchColumn, "|Absente",
            "colonne inconnue dans le résultat : Absente");
    }
    void failuresSayWhatWentWrong()
    {
        QFETCH(QString, injury);
        QFETCH(QString, action);
        if (injury == QLatin1String("damage")) { // every page after the first (the schema's) overwritten
            QFile file(m_path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4096));
            file.write(QByteArray(file.size() - 4096, '\x5a'));
        }
        auto db = Database::open(m_path);
        if (!injury.isEmpty() && injury != QLatin1String("damage"))
            db->executeNative(injury);
        const auto e = failure([&] {
            if (action == QLatin1String("listing"))
                db->openRecordset(Statements::categoryListing(2));
            else if (action == QLatin1String("ranking"))
                db->openRecordset(Statements::ranking(QStringLiteral("201"), QStringLiteral("1")));
            else if (action == QLatin1String("reset"))
                db->execute(Statements::weightReset());
            else if (action == QLatin1String("field"))
                db->openRecordset(Statements::categoryListing(2))->field(u"Absente");
            else if (action == QLatin1String("fill"))
                db->executeNative(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
                                  "INSERT INTO Modalités SELECT 10000 + i, printf('%.200c', 'x'), 2 FROM n"_s);
            else { // append, through the weight table as the regeneration does
                auto table = db->openRecordset(Statements::weightTable());
                table->addNew();
                table->setField(u"NumModalité"_s, 4305);
                table->setField(u"Valeur"_s, 9);
                table->update();
            }
        });
        QVERIFY2(e, "no failure");
        QTEST(e->kind(), "kind");
        QCOMPARE(e->path(), m_path);
        QTEST(e->engineMessage(), "engine");
        QTEST(e->details().value(0).table + u'|' + e->details().value(0).column, "where");
    }

    // A number that identifies a row fits a signed 32-bit whole number, or the base is
    // damaged: refused with the table and the value, never cut down.
    void keysFitOrAreRefused_data()
    {
        QTest::addColumn<QString>("value"); // as SQLite writes it
        QTest::addColumn<QString>("found"); // the value the refusal names; empty: no refusal

        QTest::newRow("largest") << u"2147483647"_s << QString();
        QTest::newRow("smallest") << u"-2147483648"_s << QString();
        QTest::newRow("one past the largest") << u"2147483648"_s << u"2147483648"_s;
        QTest::newRow("one past the smallest") << u"-2147483649"_s << u"-2147483649"_s;
        QTest::newRow("text") << u"'abc'"_s << u"abc"_s;
        QTest::newRow("a fraction") << u"12.5"_s << u"12.5"_s;
        QTest::newRow("empty") << u"NULL"_s << u"(null)"_s;
    }
    void keysFitOrAreRefused()
    {
        QFETCH(QString, value);
        QFETCH(QString, found);
        auto rs = Database::open(m_path)->openNative(QStringLiteral("SELECT %1 AS NumModalité").arg(value));
        qint32 key = 0;
        const auto e = failure([&] { key = rs->key(u"NumModalité", QStringLiteral("Modalités")); });
        if (found.isEmpty()) {
            QVERIFY2(!e, qPrintable(e ? e->engineMessage() : QString()));
            QCOMPARE(QString::number(key), value);
            return;
        }
        QVERIFY2(e, qPrintable(QString::number(key)));
        QCOMPARE(e->kind(), Kind::BadKey);
        const DatabaseError::Detail d = e->details().value(0);
        QCOMPARE(QStringList({e->path(), d.table, d.column, d.value.isEmpty() ? "(null)" : d.value}),
                 QStringList({m_path, "Modalités", "NumModalité", found}));
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
