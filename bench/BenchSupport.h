#pragma once

// What the benchmark programs share: the recorded signs of a typical visit and a
// reporter that keeps every figure for the summary printed at the end.

#include "ListEntry.h"
#include "SyntheticKnowledgeBase.h"

#include <QList>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace BenchSupport {

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
