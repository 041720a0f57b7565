#include "WeightRebuild.h"

#include "Database.h"
#include "Recordset.h"
#include "Statements.h"
#include "Workspace.h"

namespace {

int rebuild(Database &db, const WeightRebuild::Progress &progress)
{
    db.execute(Statements::weightReset());
    auto counts = db.openRecordset(Statements::weightCount());
    auto weights = db.openRecordset(Statements::weightTable());
    if (progress)
        progress(10.0f);
    const int n = counts->recordCount();
    counts->moveFirst();
    for (int i = 0; i < n; ++i) {
        weights->addNew();
        weights->setField(QStringLiteral("NumModalité"), counts->field(u"NumModalité"));
        weights->setField(QStringLiteral("Valeur"), counts->field(u"Valeurs"));
        weights->update();
        counts->moveNext();
        if (progress)
            progress(static_cast<float>(static_cast<double>(i) / n * 90.0 + 10.0));
    }
    return n;
}

template <typename Body> int withConnection(const QString &path, Body body)
{
    auto workspace = DbEngine::instance().createWorkspace(QString(), QStringLiteral("admin"), QString());
    auto db = workspace->openDatabase(path);
    const int n = body(*db);
    db->close();
    workspace->close();
    return n;
}

} // namespace

namespace WeightRebuild {

int run(const QString &databasePath, const Progress &progress)
{
    return withConnection(databasePath, [&](Database &db) {
        db.beginTransaction();
        try {
            const int n = rebuild(db, progress);
            db.commit();
            return n;
        } catch (...) {
            try {
                db.rollback();
            } catch (const DatabaseError &) {
                // The first failure is the one worth reporting; closing undoes the rest.
            }
            throw;
        }
    });
}

int runWithoutTransaction(const QString &databasePath, const Progress &progress)
{
    return withConnection(databasePath, [&](Database &db) { return rebuild(db, progress); });
}

} // namespace WeightRebuild
