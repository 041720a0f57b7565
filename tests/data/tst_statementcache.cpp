#include "Database.h"
#include "Recordset.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QTest>

class TestStatementCache : public QObject
{
    Q_OBJECT

private slots:
    // A statement run again after the bounded cache was emptied still gives its rows, in French order.
    void resultsStayRightPastTheCapacity()
    {
        QTemporaryDir dir;
        auto db = Database::open(TestSupport::makeDatabase(dir, QStringLiteral("small.sql")));
        auto listing = [&](qint32 category) {
            QStringList names;
            for (auto rs = db->openRecordset(Statements::categoryListing(category)); !rs->isEof(); rs->moveNext())
                names.append(rs->field(u"Modalité").toString());
            return names;
        };
        const QStringList teint{"abcès", "Ecchymose", "écoulement", "Zona"}; // stored in another order
        for (int n = 0; n <= 200; ++n) // far more distinct statements than the cache holds
            QVERIFY(n % 50 ? listing(1000 + n).isEmpty() : listing(2) == teint);
    }
};

QTEST_GUILESS_MAIN(TestStatementCache)
#include "tst_statementcache.moc"
