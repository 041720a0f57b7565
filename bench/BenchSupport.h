#pragma once

// What the benchmark programs share: the recorded signs of a typical visit and a
// reporter that keeps every figure for the summary printed at the end.

#include "DatabaseError.h"
#include "ListEntry.h"
#include "SyntheticKnowledgeBase.h"
#include "WeightRebuild.h"

#include <QElapsedTimer>
#include <QList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace BenchSupport {

// Where the synthetic bases are written; removed when the program ends.
inline QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

struct Base {
    QString path;
    SyntheticKnowledgeBase::Landmarks marks;
};

// A synthetic base of `factor` times the bundled one's shape, weights rebuilt as the
// program rebuilds them; generated once per process, on first use, under `name`.
inline const Base &syntheticBase(const std::string &name, double factor)
{
    static std::map<std::string, std::unique_ptr<Base>> bases;
    auto &slot = bases[name];
    if (!slot) {
        QElapsedTimer clock;
        clock.start();
        slot = std::make_unique<Base>();
        slot->path = folder().filePath(QStringLiteral("Signes-%1.mdb").arg(QString::fromStdString(name)));
        slot->marks = SyntheticKnowledgeBase::generate(slot->path, SyntheticKnowledgeBase::scaled(factor));
        WeightRebuild::run(slot->path);
        std::fprintf(stderr, "[%s base: %d signs, generated in %.1f s]\n", name.c_str(), slot->marks.signCount,
                     clock.elapsed() / 1000.0);
    }
    return *slot;
}

// Runs what `registerAll` registers with `reporter`, then `finish`; a database failure
// ends the program with its message. The caller has initialised the benchmark library
// and made the application object.
template <class Reporter, class Register, class Finish>
int runAll(Reporter &reporter, Register registerAll, Finish finish)
{
    if (!folder().isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    try {
        registerAll();
        benchmark::RunSpecifiedBenchmarks(&reporter);
        finish();
    } catch (const DatabaseError &e) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(e.path()), qPrintable(e.engineMessage()));
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}

// A visit's recorded signs: one in five among the common signs, the rest among the others.
inline QList<ListEntry> recordedSigns(const SyntheticKnowledgeBase::Landmarks &marks, int count)
{
    QList<ListEntry> signs;
    const int common = std::max(1, count / 5);
    for (int i = 0; i < common && i < int(marks.commonSigns.size()); ++i)
        signs.append({QString(), marks.commonSigns[i]});
    for (qint32 sign : marks.linkedSigns) {
        if (signs.size() >= count)
            break;
        if (std::none_of(signs.begin(), signs.end(), [sign](const ListEntry &e) { return e.data == sign; }))
            signs.append({QString(), sign});
    }
    return signs;
}

} // namespace BenchSupport

// The console output as usual, and the wall-clock time of each benchmark kept by name, in
// milliseconds per iteration.
class FigureReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            m_ms[run.run_name.function_name] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
        }
    }

    const std::map<std::string, double> &figures() const { return m_ms; }

protected:
    std::map<std::string, double> m_ms;
};
