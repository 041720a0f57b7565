#include "Database.h"
#include "Recordset.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QTest>

// A connection keeps the statements it prepared and their translations, within a bound:
// a long session of ever new statements (a ranking per set of signs) must keep giving the
// right rows while old statements are let go and prepared again.
class TestStatementCache : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QStringList texts(Recordset &rs, QStringView column)
    {
        QStringList values;
        for (int i = 0; i < rs.recordCount(); ++i, rs.moveNext())
            values.append(rs.field(column).toString());
        return values;
    }

private slots:
    void manyStatementsStayRight_data()
    {
        QTest::addColumn<int>("distinct");
        QTest::newRow("within the bound") << 10;
        QTest::newRow("far beyond it") << 500;
    }

    void manyStatementsStayRight()
    {
        QFETCH(int, distinct);
        auto db = Database::open(TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql")));
        const QStringList teint{QStringLiteral("abcès"), QStringLiteral("Ecchymose"), QStringLiteral("écoulement"),
                                QStringLiteral("Zona")};
        for (int round = 0; round < 2; ++round) {
            for (int n = 0; n < distinct; ++n) {
                // Categories without signs, each a new text, between two listings that
                // must keep their rows.
                auto empty = db->openRecordset(Statements::categoryListing(1000 + n));
                QCOMPARE(empty->recordCount(), 0);
                if (n % 7 == 0) {
                    auto rs = db->openRecordset(Statements::categoryListing(2));
                    QCOMPARE(texts(*rs, u"Modalité"), teint);
                }
            }
            // The appending result prepares its own statement on the same connection.
            db->execute(Statements::weightReset());
            auto table = db->openRecordset(Statements::weightTable());
            for (qint32 m : {201, 202, 203, 204}) {
                table->addNew();
                table->setField(QStringLiteral("NumModalité"), m);
                table->setField(QStringLiteral("Valeur"), 9);
                table->update();
                db->openRecordset(Statements::categoryListing(5000 + m + round * 10000));
            }
            auto rs = db->openRecordset(Statements::categoryListing(2));
            QCOMPARE(texts(*rs, u"Modalité"), teint);
        }
    }
};

QTEST_GUILESS_MAIN(TestStatementCache)
#include "tst_statementcache.moc"
