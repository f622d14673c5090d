// Machine tables at the size of a long series of runs: sorting 10,000 rows by a column, and the
// row a run adds to such a table (a new row, then the machine's inputs and output).
#include "patterns/machine_table.h"
#include "patterns/number_machine.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace quorvel;

namespace {

constexpr int kRows = 10'000;

struct Recorded {
    CNumberMachine machine{CPoint{0, 0}};
    CTableManipulative table{CPoint{300, 0}};

    Recorded() {
        for (int kind : {kColumnInput1, kColumnInput2, kColumnOutput})
            table.AttachColumn(&machine, kind);
        std::mt19937 random(11);
        for (int i = 0; i < kRows; ++i)
            Run(static_cast<int>(random() % 1000) - 500);
        table.grid().SetSelectedColumn(3);
    }
    void Run(int v) {
        table.PrepareRun();
        table.AddEntry(&machine, kColumnInput1, CNumber(v));
        table.AddEntry(&machine, kColumnInput2, CNumber(1, 3));
        table.AddEntry(&machine, kColumnOutput, CNumber(v / 3.0));
    }
};

void SortTenThousandRows(benchmark::State& state) {
    Recorded r;
    bool largestFirst = false;
    for (auto _ : state) {
        r.table.Sort(largestFirst);
        largestFirst = !largestFirst;
    }
    state.counters["rows"] = r.table.grid().dataRows();
}
BENCHMARK(SortTenThousandRows)->Unit(benchmark::kMillisecond);

void AddARowDuringARun(benchmark::State& state) {
    Recorded r;
    int v = 0;
    for (auto _ : state)
        r.Run(++v);
    state.counters["rows"] = r.table.grid().dataRows();
}
// The table grows from 10,000 rows to 30,000 meanwhile.
BENCHMARK(AddARowDuringARun)->Unit(benchmark::kMicrosecond)->Iterations(20'000);

} // namespace
