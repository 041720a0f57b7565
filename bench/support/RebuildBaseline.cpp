#include "RebuildBaseline.h"

#include "Database.h"

namespace RebuildBaseline {

int runWithoutTransaction(const QString &databasePath, const WeightRebuild::Progress &progress)
{
    auto db = Database::open(databasePath);
    const int n = WeightRebuild::fill(*db, progress);
    db->close();
    return n;
}

} // namespace RebuildBaseline
