// Writing and reading a large document in memory: 10,000 line manipulatives of four
// segments each. Reports bytes per second.
#include "geometry/geometry_document.h"
#include "workspace/archive.h"

#include <benchmark/benchmark.h>

using namespace quorvel;

namespace {

CGeometryUnitDocument& LargeDocument() {
    static std::unique_ptr<CGeometryUnitDocument> doc = [] {
        auto d = std::make_unique<CGeometryUnitDocument>();
        for (int i = 0; i < 10000; ++i) {
            const int x = (i % 100) * 30, y = (i / 100) * 30;
            d->AddManipulative(std::make_unique<CLineManipulative>(
                std::vector<CLine>{CLine(CPoint{x, y}, CPoint{x + 20, y}),
                                   CLine(CPoint{x + 20, y}, CPoint{x + 20, y + 20}),
                                   CLine(CPoint{x + 20, y + 20}, CPoint{x, y + 20}),
                                   CLine(CPoint{x, y + 20}, CPoint{x, y})}));
        }
        return d;
    }();
    return *doc;
}

void WriteDocument(benchmark::State& state) {
    CGeometryUnitDocument& doc = LargeDocument();
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto out = doc.SaveToBytes();
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["document_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(WriteDocument)->Unit(benchmark::kMillisecond);

void ReadDocument(benchmark::State& state) {
    const auto bytes = LargeDocument().SaveToBytes();
    for (auto _ : state) {
        CGeometryUnitDocument doc;
        if (doc.LoadFromBytes(bytes) != OpenResult::Opened)
            state.SkipWithError("document did not read back");
        benchmark::DoNotOptimize(doc.manipulatives().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ReadDocument)->Unit(benchmark::kMillisecond);

} // namespace
