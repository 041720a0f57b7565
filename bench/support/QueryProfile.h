#pragma once

#include <QString>
#include <QStringList>

// Where a statement's time goes, for the benchmarks' report. Each step is timed alone on
// a connection of its own: the translation from the Jet dialect, the preparation (parse
// and plan), the stepping through every row without reading it, and, within the stepping,
// the French collation that orders the rows.
namespace QueryProfile {

struct Profile {
    double translateUs = 0;
    double prepareUs = 0;
    double stepUs = 0; // includes the collation
    double collationUs = 0;
    double collationCalls = 0;
    int rows = 0;
    QStringList plan; // the engine's query plan, one line per step
};

// Averages over `runs` runs. Throws DatabaseError.
Profile measure(const QString &path, const QString &jetStatement, int runs = 20);

} // namespace QueryProfile
