// CNumber speed: fraction addition and multiplication, reading texts, formatting. Each
// benchmark runs over a fixed set of values and reports items per second.
#include "numbers/number.h"
#include "numbers/number_text.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

using namespace quorvel;

namespace {

constexpr int kCount = 4096;

// Fractions of the size pupils type and machines make (parts up to `limit`).
std::vector<CNumber> Fractions(int limit, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> numerator(-limit, limit);
    std::uniform_int_distribution<int> denominator(2, limit);
    std::vector<CNumber> out;
    while (static_cast<int>(out.size()) < kCount) {
        const CNumber x(numerator(rng), denominator(rng));
        if (x.kind() == NumberKind::Fraction)
            out.push_back(x);
    }
    return out;
}

template <class Op> void RunPairs(benchmark::State& state, int limit, Op op) {
    const std::vector<CNumber> a = Fractions(limit, 1);
    const std::vector<CNumber> b = Fractions(limit, 2);
    for (auto _ : state) {
        for (int i = 0; i < kCount; ++i) {
            CNumber r = op(a[i], b[i]);
            benchmark::DoNotOptimize(r);
        }
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

void FractionAdd(benchmark::State& state) {
    RunPairs(state, static_cast<int>(state.range(0)),
             [](const CNumber& x, const CNumber& y) { return x + y; });
}
BENCHMARK(FractionAdd)->Arg(100)->Arg(30000);

void FractionMultiply(benchmark::State& state) {
    RunPairs(state, static_cast<int>(state.range(0)),
             [](const CNumber& x, const CNumber& y) { return x * y; });
}
BENCHMARK(FractionMultiply)->Arg(100)->Arg(30000);

void FractionDivide(benchmark::State& state) {
    RunPairs(state, static_cast<int>(state.range(0)),
             [](const CNumber& x, const CNumber& y) { return x / y; });
}
BENCHMARK(FractionDivide)->Arg(100);

// What pupils type on number cards: whole numbers, fractions, mixed numbers, decimals.
std::vector<std::string> Texts(int which) {
    static const char* const integers[] = {"12", "-7", "0", "144", "2147483647", " 35 "};
    static const char* const fractions[] = {"3/4", "-6/8", "1 / 2", "22/7", "5/-10", "7/3"};
    static const char* const mixed[] = {"2 1/2", "-1 3/4", "10 5/8", "3 2/6", "1 1/3", "7 7/9"};
    static const char* const decimals[] = {"1.5", "-0.25", "3.14159", ".5", "100.125", "2."};
    std::vector<std::string> out;
    for (int i = 0; i < 6; ++i) {
        if (which == 0 || which == 4)
            out.emplace_back(integers[i]);
        if (which == 1 || which == 4)
            out.emplace_back(fractions[i]);
        if (which == 2 || which == 4)
            out.emplace_back(mixed[i]);
        if (which == 3 || which == 4)
            out.emplace_back(decimals[i]);
    }
    return out;
}

void ReadText(benchmark::State& state) {
    const std::vector<std::string> texts = Texts(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const std::string& t : texts) {
            CNumber x(t);
            benchmark::DoNotOptimize(x);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
    static const char* const names[] = {"integers", "fractions", "mixed", "decimals", "all"};
    state.SetLabel(names[state.range(0)]);
}
BENCHMARK(ReadText)->DenseRange(0, 4);

void Format(benchmark::State& state) {
    std::vector<CNumber> values = Fractions(1000, 3);
    for (int i = 0; i < kCount; i += 3)
        values[i] = CNumber(i * 37 - 50000);
    for (int i = 1; i < kCount; i += 7)
        values[i] = CNumber(i / 7.0);
    for (auto _ : state) {
        for (const CNumber& x : values) {
            std::string s = x.Format();
            benchmark::DoNotOptimize(s);
        }
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(Format);

void FormatDecimalFifteen(benchmark::State& state) {
    std::vector<double> values;
    for (int i = 0; i < kCount; ++i)
        values.push_back(i / 16.0 - 100.0);
    std::string out;
    for (auto _ : state) {
        for (double v : values) {
            FormatDecimal(out, v, 15);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(FormatDecimalFifteen);

} // namespace
