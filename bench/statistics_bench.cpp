// The summary statistics of a 100,000-case number column and of a column of 1,000
// categories, and a sort of 100,000 cases by a number column.
#include "statistics/stats_document.h"
#include "workspace/random.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace quorvel;

namespace {

constexpr int kCases = 100000;

// Column 1 holds categories (one of `categories` names), column 2 whole numbers.
void Fill(CStatsDataSet& d, int categories) {
    SeedRandom(1);
    d.Reset(kCases + kStatsBlankCases, 2);
    d.Cell(0, 2).format = static_cast<int>(StatsColumnFormat::WholeNumbers);
    for (int r = 1; r <= kCases; ++r) {
        d.Cell(r, 1).SetText("Category " + std::to_string(Rand() % categories));
        d.Cell(r, 2).SetNumber(CNumber(Rand() % 1000));
    }
}

void RecomputeNumberColumn(benchmark::State& state) {
    CStatsUnitDocument doc;
    Fill(doc.dataSet(), 1000);
    doc.dataSet().SetCurrentColumn(2);
    for (auto _ : state) {
        doc.summary().Recompute();
        benchmark::DoNotOptimize(doc.summary().mean());
    }
}
BENCHMARK(RecomputeNumberColumn)->Unit(benchmark::kMillisecond);

void RecomputeCategoryColumn(benchmark::State& state) {
    CStatsUnitDocument doc;
    Fill(doc.dataSet(), 1000);
    doc.dataSet().SetCurrentColumn(1);
    for (auto _ : state) {
        doc.summary().Recompute();
        benchmark::DoNotOptimize(doc.summary().topFrequency());
    }
}
BENCHMARK(RecomputeCategoryColumn)->Unit(benchmark::kMillisecond);

void SortByNumberColumn(benchmark::State& state) {
    // The data set alone: the summary's recompute after a sort is measured above.
    CStatsDataSet data;
    Fill(data, 1000);
    data.SetCurrentColumn(2);
    bool descending = false;
    for (auto _ : state) {
        // Each way in turn, so that no sort starts from its own result.
        data.SortByCurrentColumn(descending);
        descending = !descending;
    }
}
BENCHMARK(SortByNumberColumn)->Unit(benchmark::kMillisecond);

} // namespace
