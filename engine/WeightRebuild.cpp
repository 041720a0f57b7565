#include "WeightRebuild.h"

#include "Database.h"
#include "Recordset.h"
#include "Statements.h"

namespace WeightRebuild {

int fill(Database &db, const Progress &progress)
{
    db.execute(Statements::weightReset());
    auto counts = db.openRecordset(Statements::weightCount());
    auto weights = db.openRecordset(Statements::weightTable());
    if (progress)
        progress(10.0f);
    const int n = counts->recordCount();
    for (int i = 0; i < n; ++i) {
        weights->addNew();
        weights->setField(QStringLiteral("NumModalité"), counts->key(u"NumModalité", QStringLiteral("Modalités")));
        weights->setField(QStringLiteral("Valeur"), counts->weight(u"Valeurs", QStringLiteral("Valorisation")));
        weights->update();
        counts->moveNext();
        if (progress)
            progress(static_cast<float>(static_cast<double>(i) / n * 90.0 + 10.0));
    }
    return n;
}

int run(const QString &databasePath, const Progress &progress)
{
    auto db = Database::open(databasePath);
    db->beginTransaction();
    try {
        const int n = fill(*db, progress);
        db->commit();
        db->close();
        return n;
    } catch (...) {
        try {
            db->rollback();
        } catch (const DatabaseError &) {
            // The first failure is the one worth reporting; closing undoes the rest.
        }
        throw;
    }
}

} // namespace WeightRebuild
