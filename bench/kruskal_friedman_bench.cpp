// Exact P values of the Kruskal-Wallis and Friedman tests at the largest designs treated
// exactly.  Each benchmark times the count on its design and, once before it, the complete
// enumeration of a smaller design of the same shape; the counters give what the enumeration
// would take for the large design at that rate (enumeration_s) and how many times faster
// the count is (ratio).  Targets: up to four groups within 50 ms, any group shape within
// 1 s, Friedman within 50 ms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <random>
#include <vector>

#include "analyses/groups/friedman_exact.h"
#include "analyses/groups/kruskal_wallis_exact.h"
#include "core/calc_status.h"

namespace zelkon {
namespace {

using Sizes = std::vector<std::int32_t>;

/// S of one random division (the observed statistic of a typical data set).
Extended ObservedS(const Sizes& sizes) {
    std::mt19937 rng(2024);
    const std::int32_t n = std::accumulate(sizes.begin(), sizes.end(), 0);
    std::vector<std::int32_t> ranks(static_cast<std::size_t>(n));
    std::iota(ranks.begin(), ranks.end(), 1);
    std::shuffle(ranks.begin(), ranks.end(), rng);
    Extended s = 0;
    std::size_t at = 0;
    for (const std::int32_t size : sizes) {
        Extended sum = 0;
        for (std::int32_t i = 0; i < size; ++i) sum += ranks[at++];
        s += sum * sum / size;
    }
    return s;
}

/// Q of one random assignment.
Extended ObservedQ(std::int32_t rows, std::int32_t columns) {
    std::mt19937 rng(2024);
    std::vector<Extended> sums(static_cast<std::size_t>(columns), 0);
    std::vector<std::int32_t> ranks(static_cast<std::size_t>(columns));
    for (std::int32_t i = 0; i < rows; ++i) {
        std::iota(ranks.begin(), ranks.end(), 1);
        std::shuffle(ranks.begin(), ranks.end(), rng);
        for (std::size_t j = 0; j < sums.size(); ++j) sums[j] += ranks[j];
    }
    Extended q = 0;
    for (const Extended s : sums) q += s * s;
    return q;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Report(benchmark::State& state, double countSeconds, Extended arrangements,
            double enumerationSeconds, Extended smallerArrangements) {
    const double perArrangement = enumerationSeconds / static_cast<double>(smallerArrangements);
    const double extrapolated = perArrangement * static_cast<double>(arrangements);
    state.counters["arrangements"] = static_cast<double>(arrangements);
    state.counters["enumeration_s"] = extrapolated;
    state.counters["ratio"] = extrapolated / countSeconds;
}

void KruskalWallis(benchmark::State& state, Sizes sizes, Sizes smaller) {
    GlobalCalcStatus().BeginCalculation();
    const auto start = std::chrono::steady_clock::now();
    const KruskalWallisExact enumerated = EnumerateKruskalWallis(smaller, ObservedS(smaller));
    const double enumerationSeconds = Seconds(start);
    const Extended s0 = ObservedS(sizes);
    KruskalWallisExact exact;
    double total = 0;
    for (auto _ : state) {
        const auto t = std::chrono::steady_clock::now();
        exact = KruskalWallisExactP(sizes, s0);
        total += Seconds(t);
        benchmark::DoNotOptimize(exact.p);
    }
    GlobalCalcStatus().EndCalculation();
    if (exact.status != ExactStatusExact || enumerated.status != ExactStatusExact) {
        state.SkipWithError("the exact computation did not finish");
        return;
    }
    Report(state, total / static_cast<double>(state.iterations()), exact.arrangements,
           enumerationSeconds, enumerated.arrangements);
    state.SetLabel(KruskalWallisMethodText(exact.method));
}

void Friedman(benchmark::State& state, std::int32_t rows, std::int32_t columns,
              std::int32_t smallerRows) {
    GlobalCalcStatus().BeginCalculation();
    BeginExactCalculation(0.5L);
    const auto start = std::chrono::steady_clock::now();
    const FriedmanExact enumerated =
        EnumerateFriedmanCompositions(smallerRows, columns, ObservedQ(smallerRows, columns));
    const double enumerationSeconds = Seconds(start);
    const Extended q0 = ObservedQ(rows, columns);
    FriedmanExact exact;
    double total = 0;
    for (auto _ : state) {
        const auto t = std::chrono::steady_clock::now();
        exact = FriedmanExactP(rows, columns, q0);
        total += Seconds(t);
        benchmark::DoNotOptimize(exact.p);
    }
    EndExactCalculation();
    GlobalCalcStatus().EndCalculation();
    if (exact.status != ExactStatusExact || enumerated.status != ExactStatusExact) {
        state.SkipWithError("the exact computation did not finish");
        return;
    }
    Report(state, total / static_cast<double>(state.iterations()), exact.arrangements,
           enumerationSeconds, enumerated.arrangements);
}

// Up to four groups (target 50 ms): balanced groups, one large group beside small ones and
// the shapes in between that cost the most.
BENCHMARK_CAPTURE(KruskalWallis, groups_7_7_7, Sizes{7, 7, 7}, Sizes{5, 5, 5})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_16_17, Sizes{16, 17}, Sizes{10, 10})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_1000_1_1_1, Sizes{1000, 1, 1, 1}, Sizes{100, 1, 1, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_296_2_2, Sizes{296, 2, 2}, Sizes{40, 2, 2})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_92_2_2_1, Sizes{92, 2, 2, 1}, Sizes{20, 2, 2, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_50_3_2_1, Sizes{50, 3, 2, 1}, Sizes{15, 3, 2, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_33_4_2_1, Sizes{33, 4, 2, 1}, Sizes{12, 4, 2, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_29_3_2_2, Sizes{29, 3, 2, 2}, Sizes{12, 3, 2, 2})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_6_5_5_3, Sizes{6, 5, 5, 3}, Sizes{4, 4, 3, 3})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_5_5_4_4, Sizes{5, 5, 4, 4}, Sizes{4, 4, 3, 3})
    ->Unit(benchmark::kMillisecond);
// Many small groups (target 1 s).
BENCHMARK_CAPTURE(KruskalWallis, groups_22_2_2_1_1_1, Sizes{22, 2, 2, 1, 1, 1},
                  Sizes{8, 2, 2, 1, 1, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_4_4_3_2_2_1, Sizes{4, 4, 3, 2, 2, 1},
                  Sizes{3, 3, 2, 2, 1, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_6_4_3_2_1_1, Sizes{6, 4, 3, 2, 1, 1},
                  Sizes{3, 3, 2, 2, 1, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_15_3_2_1_1_1, Sizes{15, 3, 2, 1, 1, 1},
                  Sizes{6, 3, 2, 1, 1, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_1_x12, Sizes(12, 1), Sizes(10, 1))
    ->Unit(benchmark::kMillisecond);
// Friedman (target 50 ms): the largest designs for six and for three columns.
BENCHMARK_CAPTURE(Friedman, rows_3_columns_6, 3, 6, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Friedman, rows_11_columns_3, 11, 3, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Friedman, rows_6_columns_4, 6, 4, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Friedman, rows_4_columns_5, 4, 5, 3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zelkon
