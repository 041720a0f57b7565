// The knowledge base's actions measured on synthetic bases of the bundled one's shape at
// 1×, 10× and 100× and with a million links, through the program's own code paths (the
// statement catalogue, the Jet translator, Database, DataSource and Recordset, the
// engine's ranking, rebuild and signs to check). Beside each action, on the same data in
// the same run:
//   limit  — the same answer computed by hand from tables loaded into memory once, what
//            the action would cost with no database at all;
//   naive  — the same statements through the same code on the same tables without
//            indexes.
// A summary table closes the run, with the goals.
#include "DataSource.h"
#include "Database.h"
#include "DatabaseError.h"
#include "FrenchCollation.h"
#include "JetTranslator.h"
#include "ModalityChoice.h"
#include "QueryProfile.h"
#include "Ranking.h"
#include "RebuildBaseline.h"
#include "Recordset.h"
#include "SignsToCheck.h"
#include "Statements.h"
#include "SyntheticKnowledgeBase.h"
#include "WeightRebuild.h"

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace Kb = SyntheticKnowledgeBase;

struct Scale {
    const char *name;
    Kb::Shape shape;
    bool withPeers; // build the naive peer and the in-memory limit
};

const std::vector<Scale> &scales()
{
    static const std::vector<Scale> all = {{"1x", Kb::scaled(1), true},
                                           {"10x", Kb::scaled(10), true},
                                           {"100x", Kb::scaled(100), true},
                                           {"1M", Kb::withLinks(1000000), false}};
    return all;
}

// The hand-written scorer and listings: dense arrays built once from the tables.
class Memory
{
public:
    explicit Memory(const Kb::Tables &t)
    {
        for (const auto &m : t.modalities) {
            const int i = int(m_modality.size());
            m_modalityIndex.insert(m.number, i);
            m_modality.push_back(m);
            m_weight.push_back(t.weights.value(m.number, 0));
        }
        for (const auto &s : t.syndromes) {
            m_syndromeIndex.insert(s.number, int(m_syndrome.size()));
            m_syndrome.push_back(s);
        }
        std::vector<std::vector<int>> bySign(m_modality.size()), bySyndrome(m_syndrome.size());
        for (const auto &[modality, syndrome] : t.links) {
            const int m = m_modalityIndex.value(modality, -1), s = m_syndromeIndex.value(syndrome, -1);
            if (m < 0 || s < 0)
                continue;
            bySign[m].push_back(s);
            bySyndrome[s].push_back(m);
        }
        m_bySign = std::move(bySign);
        m_bySyndrome = std::move(bySyndrome);
        m_sum.assign(m_syndrome.size(), 0);
    }

    QList<ListEntry> rank(const QList<ListEntry> &signs, const MethodTable &methods)
    {
        std::vector<int> seen;
        std::vector<int> touched;
        for (const ListEntry &sign : signs) {
            const int m = m_modalityIndex.value(sign.data, -1);
            if (m < 0 || m_weight[m] == 0 || std::find(seen.begin(), seen.end(), m) != seen.end())
                continue;
            seen.push_back(m);
            for (int s : m_bySign[m]) {
                if (methods[m_syndrome[s].method] != 1)
                    continue;
                if (m_sum[s] == 0)
                    touched.push_back(s);
                m_sum[s] += m_weight[m];
            }
        }
        std::vector<std::pair<int, int>> ranked; // (sum, syndrome)
        for (int s : touched) {
            if (m_sum[s] > Ranking::Threshold)
                ranked.emplace_back(m_sum[s], s);
            m_sum[s] = 0;
        }
        std::sort(ranked.begin(), ranked.end(), [](auto a, auto b) { return a.first > b.first; });
        QList<ListEntry> entries;
        entries.reserve(qsizetype(ranked.size()));
        for (auto [sum, s] : ranked)
            entries.append({m_syndrome[s].name + QStringLiteral("  (") + QString::number(sum) + QStringLiteral(")"),
                            m_syndrome[s].number});
        return entries;
    }

    QList<ListEntry> category(qint32 number) const
    {
        std::vector<int> rows;
        for (int m = 0; m < int(m_modality.size()); ++m)
            if (m_modality[m].category == number && m_weight[m] > 0)
                rows.push_back(m);
        return sortedEntries(std::move(rows));
    }

    QList<ListEntry> syndromeSigns(qint32 number) const
    {
        std::vector<int> rows;
        for (int m : m_bySyndrome[m_syndromeIndex.value(number)])
            if (m_weight[m] > 0)
                rows.push_back(m);
        return sortedEntries(std::move(rows));
    }

    QList<ListEntry> signSyndromes(qint32 number) const
    {
        QList<ListEntry> entries;
        for (int s : m_bySign[m_modalityIndex.value(number)])
            entries.append({m_syndrome[s].name, 0});
        return entries;
    }

private:
    QList<ListEntry> sortedEntries(std::vector<int> rows) const
    {
        std::sort(rows.begin(), rows.end(), [this](int a, int b) {
            const QString &x = m_modality[a].text, &y = m_modality[b].text;
            return FrenchCollation::compare(reinterpret_cast<const char16_t *>(x.utf16()), int(x.size()),
                                            reinterpret_cast<const char16_t *>(y.utf16()), int(y.size())) < 0;
        });
        QList<ListEntry> entries;
        entries.reserve(qsizetype(rows.size()));
        for (int m : rows)
            entries.append(
                {m_modality[m].text + QStringLiteral(" (") + QString::number(m_weight[m]) + QStringLiteral(")"),
                 m_modality[m].number});
        return entries;
    }

    QHash<qint32, int> m_modalityIndex, m_syndromeIndex;
    std::vector<Kb::Tables::Modality> m_modality;
    std::vector<int> m_weight;
    std::vector<Kb::Tables::Syndrome> m_syndrome;
    std::vector<std::vector<int>> m_bySign, m_bySyndrome;
    std::vector<int> m_sum;
};

struct Base {
    QString path;
    QString naivePath;
    Kb::Landmarks marks;
    std::unique_ptr<Memory> memory;
};

using BenchSupport::folder;

std::map<std::string, std::unique_ptr<Base>> &bases()
{
    static std::map<std::string, std::unique_ptr<Base>> all;
    return all;
}

// Each base is generated once per process, on first use.
Base &base(const Scale &scale)
{
    auto &slot = bases()[scale.name];
    if (slot)
        return *slot;
    slot = std::make_unique<Base>();
    Base &b = *slot;
    QElapsedTimer clock;
    clock.start();
    b.path = folder().filePath(QStringLiteral("Signes-%1.mdb").arg(QLatin1String(scale.name)));
    b.marks = Kb::generate(b.path, scale.shape);
    WeightRebuild::run(b.path);
    if (scale.withPeers) {
        b.naivePath = folder().filePath(QStringLiteral("Signes-%1-naive.mdb").arg(QLatin1String(scale.name)));
        Kb::generate(b.naivePath, scale.shape, false);
        WeightRebuild::run(b.naivePath);
        b.memory = std::make_unique<Memory>(Kb::load(b.path));
    }
    std::fprintf(stderr, "[%s base: %d signs, %d syndromes, %d links, generated in %.1f s]\n", scale.name,
                 b.marks.signCount, b.marks.syndromeCount, b.marks.linkCount, clock.elapsed() / 1000.0);
    return b;
}

const MethodTable AllMethods{0, 1, 1, 1, 1, 1};

// What the modality dialog does with a listing: its own loading code.
QList<ListEntry> readListing(DataSource &source, ModalityChoice choice)
{
    choice.load(source);
    return choice.entries();
}

// Equal up to the order among rows that the statement leaves open.
bool sameEntries(QList<ListEntry> a, QList<ListEntry> b)
{
    auto less = [](const ListEntry &x, const ListEntry &y) {
        return std::tie(x.text, x.data) < std::tie(y.text, y.data);
    };
    std::sort(a.begin(), a.end(), less);
    std::sort(b.begin(), b.end(), less);
    return a == b;
}

enum class Variant { Ours, Naive, Limit };

const char *variantName(Variant v)
{
    return v == Variant::Ours ? "ours" : v == Variant::Naive ? "naive" : "limit";
}

struct Listing {
    const char *name;
    ModalityChoice (*choice)(qint32);
    qint32 (*subject)(const Kb::Landmarks &);
    QList<ListEntry> (Memory::*inMemory)(qint32) const;
    bool withWeights;
};

const Listing Listings[] = {
    {"category", [](qint32 c) { return ModalityChoice::forCategory(c); },
     [](const Kb::Landmarks &m) { return m.largestCategory; }, &Memory::category, true},
    {"syndromeSigns", [](qint32 s) { return ModalityChoice::forSyndrome(s); },
     [](const Kb::Landmarks &m) { return m.busiestSyndrome; }, &Memory::syndromeSigns, true},
    {"signSyndromes", [](qint32 m) { return ModalityChoice::forSign(m); },
     [](const Kb::Landmarks &m) { return m.commonestSign; }, &Memory::signSyndromes, false},
};

void registerAll()
{
    using benchmark::RegisterBenchmark;
    for (const Scale &scale : scales()) {
        const std::string s = scale.name;
        RegisterBenchmark(("rebuild/" + s + "/ours").c_str(), [&scale](benchmark::State &state) {
            const Base &b = base(scale);
            for (auto _ : state)
                benchmark::DoNotOptimize(WeightRebuild::run(b.path));
            state.counters["rows"] = double(b.marks.linkedSigns.size());
        })->Unit(benchmark::kMillisecond);
        if (scale.withPeers) {
            RegisterBenchmark(("rebuild/" + s + "/naive").c_str(), [&scale](benchmark::State &state) {
                const Base &b = base(scale);
                for (auto _ : state)
                    benchmark::DoNotOptimize(WeightRebuild::run(b.naivePath));
            })->Unit(benchmark::kMillisecond);
        }
        if (s == "1x" || s == "10x") {
            // Every row committed on its own: each one waits for the disk.
            RegisterBenchmark(("rebuild/" + s + "/baseline").c_str(),
                              [&scale](benchmark::State &state) {
                                  const Base &b = base(scale);
                                  for (auto _ : state)
                                      benchmark::DoNotOptimize(RebuildBaseline::runWithoutTransaction(b.path));
                              })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
        }
        if (!scale.withPeers)
            continue;

        for (int count : {5, 20, 50}) {
            const std::string action = "ranking" + std::to_string(count) + "/" + s + "/";
            for (Variant v : {Variant::Ours, Variant::Naive, Variant::Limit}) {
                RegisterBenchmark((action + variantName(v)).c_str(), [&scale, count, v](benchmark::State &state) {
                    Base &b = base(scale);
                    const QList<ListEntry> signs = BenchSupport::recordedSigns(b.marks, count);
                    DataSource classement;
                    classement.setDatabaseName(v == Variant::Naive ? b.naivePath : b.path);
                    const QList<ListEntry> expected = b.memory->rank(signs, AllMethods);
                    if (v != Variant::Limit &&
                        !sameEntries(Ranking::classerSyndromes(classement, signs, AllMethods), expected)) {
                        state.SkipWithError("the ranking differs from the hand-written scorer");
                        return;
                    }
                    for (auto _ : state) {
                        if (v == Variant::Limit)
                            benchmark::DoNotOptimize(b.memory->rank(signs, AllMethods));
                        else
                            benchmark::DoNotOptimize(Ranking::classerSyndromes(classement, signs, AllMethods));
                    }
                    state.counters["listed"] = double(expected.size());
                })->Unit(benchmark::kMicrosecond);
            }
        }
        // The same ranking after a change of the recorded signs: a statement text the
        // connection has not seen yet.
        RegisterBenchmark(("ranking20changed/" + s + "/ours").c_str(), [&scale](benchmark::State &state) {
            Base &b = base(scale);
            QList<ListEntry> signs = BenchSupport::recordedSigns(b.marks, 19);
            DataSource classement;
            classement.setDatabaseName(b.path);
            std::size_t next = b.marks.linkedSigns.size() / 2;
            signs.append({QString(), 0});
            for (auto _ : state) {
                signs.last().data = b.marks.linkedSigns[next++ % b.marks.linkedSigns.size()];
                benchmark::DoNotOptimize(Ranking::classerSyndromes(classement, signs, AllMethods));
            }
        })->Unit(benchmark::kMicrosecond);

        // The content of "Signes à vérifier" for a 20-sign visit, from its ranked list.
        for (Variant v : {Variant::Ours, Variant::Naive}) {
            const std::string name = "signsToCheck/" + s + "/" + variantName(v);
            RegisterBenchmark(name.c_str(), [&scale, v](benchmark::State &state) {
                Base &b = base(scale);
                const QList<ListEntry> signs = BenchSupport::recordedSigns(b.marks, 20);
                DataSource listeValeurs;
                listeValeurs.setDatabaseName(v == Variant::Naive ? b.naivePath : b.path);
                const QList<ListEntry> ranked = Ranking::classerSyndromes(listeValeurs, signs, AllMethods);
                qsizetype offered = 0;
                const QList<SignsToCheck::Group> groups = SignsToCheck::groups(listeValeurs, ranked, signs);
                for (const SignsToCheck::Group &group : groups)
                    offered += group.toCheck.size();
                for (auto _ : state)
                    benchmark::DoNotOptimize(SignsToCheck::groups(listeValeurs, ranked, signs));
                state.counters["leading"] = double(groups.size());
                state.counters["offered"] = double(offered);
            })->Unit(benchmark::kMicrosecond);
        }

        for (const Listing &listing : Listings) {
            const std::string action = std::string(listing.name) + "/" + s + "/";
            for (Variant v : {Variant::Ours, Variant::Naive, Variant::Limit}) {
                RegisterBenchmark((action + variantName(v)).c_str(), [&scale, &listing, v](benchmark::State &state) {
                    Base &b = base(scale);
                    const qint32 subject = listing.subject(b.marks);
                    const ModalityChoice choice = listing.choice(subject);
                    const QList<ListEntry> expected = ((*b.memory).*listing.inMemory)(subject);
                    DataSource listeValeurs;
                    listeValeurs.setDatabaseName(v == Variant::Naive ? b.naivePath : b.path);
                    if (v != Variant::Limit) {
                        const QList<ListEntry> got = readListing(listeValeurs, choice);
                        const bool ordered = listing.withWeights ? got == expected : true;
                        if (!ordered || !sameEntries(got, expected)) {
                            state.SkipWithError("the listing differs from the hand-written one");
                            return;
                        }
                    }
                    for (auto _ : state) {
                        if (v == Variant::Limit)
                            benchmark::DoNotOptimize(((*b.memory).*listing.inMemory)(subject));
                        else
                            benchmark::DoNotOptimize(readListing(listeValeurs, choice));
                    }
                    state.counters["rows"] = double(expected.size());
                })->Unit(benchmark::kMicrosecond);
            }
        }
    }

    // The translator alone: the weight count, a ranking of a thousand signs, and chains of
    // aliases, whose translation doubles with each link until the bound refuses it.
    std::vector<qint32> thousand(1000);
    for (int i = 0; i < 1000; ++i)
        thousand[i] = 1000 + i;
    const auto chain = [](int links) {
        QString sql = QStringLiteral("SELECT 1 AS a0");
        for (int i = 1; i <= links; ++i)
            sql += QStringLiteral(", a%1+a%1 AS a%2").arg(i - 1).arg(i);
        return sql;
    };
    const std::pair<std::string, QString> statements[] = {
        {"weightCount", Statements::weightCount()},
        {"ranking1000", Statements::ranking(Statements::rankingSignCondition(thousand),
                                            Statements::rankingMethodCondition(AllMethods))},
        {"chain12", chain(12)},
        {"chain24refused", chain(24)},
    };
    for (const auto &[name, text] : statements) {
        RegisterBenchmark(("translate/" + name + "/ours").c_str(), [text](benchmark::State &state) {
            for (auto _ : state) {
                try {
                    benchmark::DoNotOptimize(JetTranslator::toSqlite(text));
                } catch (const DatabaseError &) {
                    // The bound refuses it: that is what is timed.
                }
            }
            state.counters["chars"] = double(text.size());
        })->Unit(benchmark::kMicrosecond);
    }
}

// Prints the summary once every figure is in.
class SummaryReporter : public FigureReporter
{
public:
    void printSummary() const
    {
        struct Row {
            std::string action, scale;
        };
        std::vector<Row> rows;
        for (const auto &[name, ms] : m_ms) {
            const auto first = name.find('/'), second = name.find('/', first + 1);
            Row row{name.substr(0, first), name.substr(first + 1, second - first - 1)};
            if (std::none_of(rows.begin(), rows.end(),
                             [&](const Row &r) { return r.action == row.action && r.scale == row.scale; }))
                rows.push_back(row);
        }
        const std::vector<std::string> order = {"rebuild",       "ranking5",         "ranking20",
                                                "ranking50",     "ranking20changed", "category",
                                                "syndromeSigns", "signSyndromes",    "signsToCheck"};
        const std::vector<std::string> scaleOrder = {"1x", "10x", "100x", "1M"};
        auto rank = [&](const std::vector<std::string> &list, const std::string &x) {
            return std::find(list.begin(), list.end(), x) - list.begin();
        };
        std::sort(rows.begin(), rows.end(), [&](const Row &a, const Row &b) {
            return std::pair(rank(order, a.action), rank(scaleOrder, a.scale)) <
                   std::pair(rank(order, b.action), rank(scaleOrder, b.scale));
        });
        auto figure = [&](const Row &r, const char *variant) {
            const auto it = m_ms.find(r.action + "/" + r.scale + "/" + variant);
            return it == m_ms.end() ? -1.0 : it->second;
        };
        auto cell = [](double ms) {
            char text[32];
            if (ms < 0)
                std::snprintf(text, sizeof text, "%12s", "-");
            else if (ms < 1)
                std::snprintf(text, sizeof text, "%9.1f µs", ms * 1e3);
            else
                std::snprintf(text, sizeof text, "%9.2f ms", ms);
            return std::string(text);
        };
        auto ratio = [](double a, double b) {
            char text[32];
            if (a < 0 || b <= 0)
                std::snprintf(text, sizeof text, "%10s", "-");
            else
                std::snprintf(text, sizeof text, "%9.1f×", a / b);
            return std::string(text);
        };
        std::printf("\nSummary (time per action)\n");
        std::printf("%-18s %-5s %12s %12s %12s %12s %10s %10s %10s  %s\n", "action", "scale", "ours", "limit", "naive",
                    "baseline", "ours/lim", "naive/our", "base/our", "goal");
        for (const Row &r : rows) {
            const double ours = figure(r, "ours"), limit = figure(r, "limit"), naive = figure(r, "naive"),
                         baseline = figure(r, "baseline");
            std::string goal;
            if (r.action == "rebuild")
                goal = r.scale != "1M" ? "" : ours >= 0 && ours < 3000 ? "< 3 s: met" : "< 3 s: MISSED";
            else if (r.action == "ranking20" && r.scale == "100x")
                goal = ours >= 0 && ours < 5 ? "< 5 ms: met" : "< 5 ms: MISSED";
            else if (r.action == "signsToCheck" && r.scale == "100x") // one display frame
                goal = ours >= 0 && ours < 16 ? "< 16 ms: met" : "< 16 ms: MISSED";
            else if (r.scale == "100x")
                goal = ours >= 0 && ours < 50 ? "< 50 ms: met" : "< 50 ms: MISSED";
            std::printf("%-18s %-5s %s %s %s %s %s %s %s  %s\n", r.action.c_str(), r.scale.c_str(), cell(ours).c_str(),
                        cell(limit).c_str(), cell(naive).c_str(), cell(baseline).c_str(), ratio(ours, limit).c_str(),
                        ratio(naive, ours).c_str(), ratio(baseline, ours).c_str(), goal.c_str());
        }
    }
};

// Where the time of each statement goes, on the largest base measured with its peers.
// `figures`: the summary's, to set each statement's parts beside the whole action.
void printProfiles(const std::map<std::string, double> &figures)
{
    const Scale *largest = nullptr;
    for (const Scale &scale : scales())
        if (scale.withPeers && bases().count(scale.name))
            largest = &scale;
    if (!largest)
        return;
    const Base &b = *bases().at(largest->name);
    QList<ListEntry> signs = BenchSupport::recordedSigns(b.marks, 20);
    std::vector<qint32> numbers;
    for (const ListEntry &e : signs)
        numbers.push_back(e.data);
    struct Case {
        const char *name;
        QString statement;
        const char *action; // the summary's action that runs it, once prepared
    };
    const Case cases[] = {
        {"weight count (2)", Statements::weightCount(), "rebuild"},
        {"ranking, 20 signs (4)",
         Statements::ranking(Statements::rankingSignCondition(numbers), Statements::rankingMethodCondition(AllMethods)),
         "ranking20"},
        {"category (5)", Statements::categoryListing(b.marks.largestCategory), "category"},
        {"syndrome signs (6)", Statements::syndromeSigns(b.marks.busiestSyndrome), "syndromeSigns"},
        {"sign syndromes (7)", Statements::signSyndromes(b.marks.commonestSign), "signSyndromes"},
    };
    std::printf("\nWhere the time goes, %s base, per run. Step includes the collation; the action runs the\n"
                "statement prepared once (translation and preparation are paid on a new text only) and adds\n"
                "the reading of the rows into the program's values and lists.\n",
                largest->name);
    std::printf("%-22s %11s %11s %11s %11s %9s %7s %12s\n", "statement", "translate", "prepare", "step", "collation",
                "compares", "rows", "action");
    for (const Case &c : cases) {
        const QueryProfile::Profile p = QueryProfile::measure(b.path, c.statement);
        const auto whole = figures.find(std::string(c.action) + "/" + largest->name + "/ours");
        char action[32] = "-";
        if (whole != figures.end())
            std::snprintf(action, sizeof action, "%9.1f µs", whole->second * 1e3);
        std::printf("%-22s %8.1f µs %8.1f µs %8.1f µs %8.1f µs %9.0f %7d %12s\n", c.name, p.translateUs, p.prepareUs,
                    p.stepUs, p.collationUs, p.collationCalls, p.rows, action);
        for (const QString &line : p.plan)
            std::printf("    plan: %s\n", qPrintable(line));
    }
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    QCoreApplication app(argc, argv);
    SummaryReporter reporter;
    return BenchSupport::runAll(reporter, registerAll, [&] {
        reporter.printSummary();
        printProfiles(reporter.figures());
    });
}
