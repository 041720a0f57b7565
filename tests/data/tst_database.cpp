#include "DataSource.h"
#include "Database.h"
#include "Recordset.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QFile>
#include <QTest>

// The seven statements on a small fixture, with the meaning the program relies on, and
// the ways a file can fail to open.
class TestDatabase : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

    QStringList column(Recordset &rs, QStringView name)
    {
        QStringList values;
        rs.moveFirst();
        for (int i = 0; i < rs.recordCount(); ++i, rs.moveNext())
            values.append(rs.field(name).toString());
        return values;
    }

private slots:
    void init()
    {
        QFile::remove(m_dir.filePath(QStringLiteral("Signes.mdb")));
        m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"));
    }

    void weightCountFollowsTheRule()
    {
        auto db = Database::open(m_path);
        auto rs = db->openRecordset(Statements::weightCount());
        // Ascending link count, then modality number.
        QCOMPARE(column(*rs, u"NumModalité"),
                 QStringList({"201", "202", "203", "204", "1801", "1802", "4301", "4302", "4303", "4304"}));
        QCOMPARE(column(*rs, u"Compte"), QStringList({"1", "1", "1", "1", "1", "1", "1", "9", "10", "25"}));
        QCOMPARE(column(*rs, u"Valeurs"), QStringList({"9", "9", "9", "9", "9", "9", "9", "1", "1", "1"}));
    }

    void resetThenAppend()
    {
        auto db = Database::open(m_path);
        db->execute(Statements::weightReset());
        auto table = db->openRecordset(Statements::weightTable());
        QCOMPARE(table->recordCount(), 0);
        table->addNew();
        table->setField(QStringLiteral("NumModalité"), 4301);
        table->setField(QStringLiteral("Valeur"), 9);
        table->update();
        auto check = db->openRecordset(QStringLiteral("SELECT NumModalité, Valeur FROM Valorisation"));
        QCOMPARE(check->recordCount(), 1);
        QCOMPARE(check->field(u"Valeur").toInt(), 9);
    }

    void categoryListingInFrenchOrder()
    {
        DataSource source;
        source.setDatabaseName(m_path);
        source.setRecordSource(Statements::categoryListing(2));
        source.refresh();
        QCOMPARE(column(*source.recordset(), u"Modalité"), QStringList({"abcès", "Ecchymose", "écoulement", "Zona"}));
        // A modality without a weight row is never listed.
        source.setRecordSource(Statements::categoryListing(43));
        source.refresh();
        QVERIFY(!column(*source.recordset(), u"Modalité").contains(QStringLiteral("Pouls sans lien")));
    }

    void syndromeSignsAcceptTwoBlanks()
    {
        auto db = Database::open(m_path);
        auto rs = db->openRecordset(Statements::syndromeSigns(2));
        QCOMPARE(column(*rs, u"Modalité"),
                 QStringList({"abcès", "écoulement", "Langue pâle", "Pouls fin", "Pouls glissant", "Pouls tendu"}));
        QCOMPARE(column(*rs, u"Valeur"), QStringList({"9", "9", "9", "1", "1", "1"}));
        // Statement 7: the syndromes of a sign, whatever their method.
        QCOMPARE(db->openRecordset(Statements::signSyndromes(4303))->recordCount(), 10);
    }

    void rankingSumsAndOrders()
    {
        DataSource source;
        source.setDatabaseName(m_path);
        const std::vector<qint32> signs{202, 203, 4302, 4302};
        source.setRecordSource(Statements::ranking(Statements::rankingSignCondition(signs),
                                                   Statements::rankingMethodCondition({0, 1, 1, 1, 1, 1})));
        source.refresh();
        Recordset &rs = *source.recordset();
        QCOMPARE(rs.field(u"Nom").toString(), QStringLiteral("Syndrome 2"));
        // 9 + 9 + 1: the sign recorded twice counts once.
        QCOMPARE(rs.field(u"SommeDeValeur").toInt(), 19);
        QCOMPARE(rs.recordCount(), 9);
    }

    void emptyWeightTableGivesEmptyListings()
    {
        auto db = Database::open(m_path);
        db->execute(Statements::weightReset());
        for (const QString &sql : {Statements::categoryListing(2), Statements::syndromeSigns(2),
                                   Statements::ranking(QStringLiteral("201"), QStringLiteral("1"))}) {
            auto rs = db->openRecordset(sql);
            QCOMPARE(rs->recordCount(), 0);
            // Moving on an empty result is harmless.
            rs->moveLast();
            rs->moveFirst();
            rs->moveNext();
            QVERIFY(rs->isEof());
        }
    }

    void movingPastTheEnd()
    {
        auto db = Database::open(m_path);
        auto rs = db->openRecordset(Statements::categoryListing(18));
        QCOMPARE(rs->recordCount(), 2);
        rs->moveNext();
        rs->moveNext();
        QVERIFY(rs->isEof());
        rs->moveNext();
        QVERIFY(rs->isEof());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, rs->field(u"Modalité"));
        rs->moveLast();
        QCOMPARE(rs->field(u"Modalité").toString(), QStringLiteral("Langue rouge"));
    }

    void openFailures()
    {
        const QString missing = m_dir.filePath(QStringLiteral("absent.mdb"));
        try {
            Database::open(missing);
            QFAIL("a missing file opened");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::Missing);
        }
        QVERIFY(!QFile::exists(missing));

        auto writeFile = [this](const QString &name, const QByteArray &bytes) {
            QFile f(m_dir.filePath(name));
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
            return f.fileName();
        };
        QByteArray jet("\x00\x01\x00\x00Standard Jet DB\x00", 20);
        jet.append(QByteArray(2000, '\x11'));
        const struct {
            QString path;
            DatabaseError::Kind kind;
        } cases[] = {
            {writeFile(QStringLiteral("access.mdb"), jet), DatabaseError::Kind::AccessFile},
            {writeFile(QStringLiteral("garbage.mdb"), QByteArray(4096, 'x')), DatabaseError::Kind::NotDatabase},
            {writeFile(QStringLiteral("empty.mdb"), QByteArray()), DatabaseError::Kind::NotDatabase},
            // A damaged file passes the header test and is caught at open.
            {writeFile(QStringLiteral("truncated.mdb"), QByteArray("SQLite format 3\0", 16) + QByteArray(134, '\0')),
             DatabaseError::Kind::NotDatabase},
        };
        for (const auto &c : cases) {
            const qint64 size = QFileInfo(c.path).size();
            try {
                Database::open(c.path);
                QFAIL(qPrintable(c.path + QStringLiteral(" opened")));
            } catch (const DatabaseError &e) {
                QCOMPARE(e.kind(), c.kind);
            }
            QCOMPARE(QFileInfo(c.path).size(), size); // nothing written into it
        }
    }

    // What went wrong, told by kind and place, with the engine's own words beside them. The
    // file is damaged, emptied of a table or column, or made to refuse writing or room by
    // the engine itself (never by file permissions: the tests run as root).
    void failuresSayWhatWentWrong_data()
    {
        QTest::addColumn<QString>("injury"); // SQLite, run on the fixture first
        QTest::addColumn<QString>("action"); // what the program then does
        QTest::addColumn<DatabaseError::Kind>("kind");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("engine"); // the engine's words, kept as they are

        using Kind = DatabaseError::Kind;
        QTest::newRow("a missing table") << "DROP TABLE Valorisation"
                                         << "listing" << Kind::NoSuchTable << "Valorisation"
                                         << ""
                                         << "no such table: Valorisation";
        QTest::newRow("a missing column, qualified") << "ALTER TABLE Valorisation DROP COLUMN Valeur"
                                                     << "ranking" << Kind::NoSuchColumn << "Valorisation"
                                                     << "Valeur"
                                                     << "no such column: Valorisation.Valeur";
        QTest::newRow("a missing column, appending") << "ALTER TABLE Valorisation DROP COLUMN Valeur"
                                                     << "append" << Kind::NoSuchColumn << "Valorisation"
                                                     << "Valeur"
                                                     << "table Valorisation has no column named Valeur";
        QTest::newRow("a missing table, appending") << "DROP TABLE Valorisation"
                                                    << "append" << Kind::NoSuchTable << "Valorisation"
                                                    << ""
                                                    << "no such table: Valorisation";
        QTest::newRow("read only") << "PRAGMA query_only = 1"
                                   << "reset" << Kind::ReadOnly << ""
                                   << ""
                                   << "attempt to write a readonly database";
        QTest::newRow("disk full") << "PRAGMA max_page_count = 8"
                                   << "fill" << Kind::DiskFull << ""
                                   << ""
                                   << "database or disk is full";
        QTest::newRow("damaged") << "damage"
                                 << "listing" << Kind::Damaged << ""
                                 << ""
                                 << "database disk image is malformed";
        QTest::newRow("a column the result lacks") << ""
                                                   << "field" << Kind::NoSuchColumn << ""
                                                   << "Absente"
                                                   << "colonne inconnue dans le résultat : Absente";
    }
    void failuresSayWhatWentWrong()
    {
        QFETCH(QString, injury);
        QFETCH(QString, action);
        QFETCH(DatabaseError::Kind, kind);
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, engine);

        if (injury == QLatin1String("damage")) {
            // Every page after the first (the schema's) overwritten.
            QFile file(m_path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            const qint64 size = file.size();
            file.seek(4096);
            file.write(QByteArray(size - 4096, '\x5a'));
        }
        auto db = Database::open(m_path);
        if (!injury.isEmpty() && injury != QLatin1String("damage"))
            db->executeNative(injury);
        try {
            if (action == QLatin1String("listing")) {
                db->openRecordset(Statements::categoryListing(2));
            } else if (action == QLatin1String("ranking")) {
                db->openRecordset(Statements::ranking(QStringLiteral("201"), QStringLiteral("1")));
            } else if (action == QLatin1String("append")) {
                auto table = db->openRecordset(Statements::weightTable());
                table->addNew();
                table->setField(QStringLiteral("NumModalité"), 4305);
                table->setField(QStringLiteral("Valeur"), 9);
                table->update();
            } else if (action == QLatin1String("reset")) {
                db->execute(Statements::weightReset());
            } else if (action == QLatin1String("fill")) {
                db->executeNative(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                                 "WHERE i < 5000) INSERT INTO Modalités SELECT 10000 + i, "
                                                 "printf('%.200c', 'x'), 2 FROM n"));
            } else if (action == QLatin1String("field")) {
                db->openRecordset(Statements::categoryListing(2))->field(u"Absente");
            }
            QFAIL("no failure");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), kind);
            QCOMPARE(e.path(), m_path);
            QCOMPARE(e.engineMessage(), engine);
            QCOMPARE(e.details().value(0).table, table);
            QCOMPARE(e.details().value(0).column, column);
        }
    }

    // A number that identifies a row fits a signed 32-bit whole number, or the base is
    // damaged: refused with the table and the value, never cut down.
    void keysFitOrAreRefused_data()
    {
        QTest::addColumn<QString>("value"); // as SQLite writes it
        QTest::addColumn<bool>("fits");
        QTest::addColumn<QString>("found"); // the value the refusal names

        QTest::newRow("largest") << "2147483647" << true << "";
        QTest::newRow("smallest") << "-2147483648" << true << "";
        QTest::newRow("one past the largest") << "2147483648" << false << "2147483648";
        QTest::newRow("one past the smallest") << "-2147483649" << false << "-2147483649";
        QTest::newRow("would read as 509") << "4294967805" << false << "4294967805";
        QTest::newRow("text") << "'abc'" << false << "abc";
        QTest::newRow("a fraction") << "12.5" << false << "12.5";
        QTest::newRow("empty") << "NULL" << false << "";
    }
    void keysFitOrAreRefused()
    {
        QFETCH(QString, value);
        QFETCH(bool, fits);
        QFETCH(QString, found);
        auto db = Database::open(m_path);
        auto rs = db->openNative(QStringLiteral("SELECT %1 AS NumModalité").arg(value));
        try {
            const qint32 key = rs->key(u"NumModalité", QStringLiteral("Modalités"));
            QVERIFY2(fits, qPrintable(QString::number(key)));
            QCOMPARE(QString::number(key), value);
        } catch (const DatabaseError &e) {
            QVERIFY2(!fits, qPrintable(e.engineMessage()));
            QCOMPARE(e.kind(), DatabaseError::Kind::BadKey);
            QCOMPARE(e.path(), m_path);
            QCOMPARE(e.details().value(0).table, QStringLiteral("Modalités"));
            QCOMPARE(e.details().value(0).column, QStringLiteral("NumModalité"));
            QCOMPARE(e.details().value(0).value, found);
        }
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
