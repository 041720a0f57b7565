#pragma once

#include <QString>

#include <functional>

class Database;

// Rebuilds the weight table from the links: one row per linked modality, weighing
// 10 − its link count, and 1 from ten links on. Runs on a connection of its own.
namespace WeightRebuild {

// Receives the progress bar's value: 10 once the results are open, then i ÷ n × 90 + 10
// after row i is appended.
using Progress = std::function<void(float)>;

// Reset and refill run in one transaction: on any failure everything is rolled back, the
// old weights stay exactly as they were, and the DatabaseError is thrown on. Returns the
// number of rows written.
int run(const QString &databasePath, const Progress &progress = {});

// The reset and refill alone, on an open database, within whatever transaction the
// caller holds (none: every row is committed on its own). Returns the rows written.
int fill(Database &db, const Progress &progress = {});

} // namespace WeightRebuild
