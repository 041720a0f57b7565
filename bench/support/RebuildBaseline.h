#pragma once

#include "WeightRebuild.h"

#include <QString>

// The weight rebuild as the command first ran it: no transaction, every row committed on
// its own. The benchmarks' baseline for the rebuild.
namespace RebuildBaseline {

int runWithoutTransaction(const QString &databasePath, const WeightRebuild::Progress &progress = {});

} // namespace RebuildBaseline
