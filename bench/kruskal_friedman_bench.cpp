// Exact P values of the Kruskal-Wallis and Friedman tests at the designs that take longest.
// The Kruskal-Wallis benchmarks time the count on the slowest shapes of group sizes; the
// Friedman benchmarks time the count on the largest designs and, once before it, the
// enumeration over compositions of a smaller design; their counters give what the
// enumeration would take for the large design at that rate (enumeration_s) and how many
// times faster the count is (ratio).  Targets: every design within 50 ms.
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
Extended ObservedS(const Sizes& sizes, unsigned seed) {
    std::mt19937 rng(2024 + seed);
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

/// One exact count per iteration, the observed statistic taken in turn from three random
/// divisions (the time of a count depends a little on it).
void KruskalWallis(benchmark::State& state, Sizes sizes) {
    GlobalCalcStatus().BeginCalculation();
    std::vector<Extended> observed;
    for (unsigned seed = 1; seed <= 3; ++seed) observed.push_back(ObservedS(sizes, seed));
    KruskalWallisExact exact;
    std::size_t next = 0;
    bool finished = true;
    for (auto _ : state) {
        exact = KruskalWallisExactP(sizes, observed[next]);
        next = (next + 1) % observed.size();
        finished = finished && exact.status == ExactStatusExact;
        benchmark::DoNotOptimize(exact.p);
    }
    GlobalCalcStatus().EndCalculation();
    if (!finished) {
        state.SkipWithError("the exact computation did not finish");
        return;
    }
    state.counters["arrangements"] = static_cast<double>(exact.arrangements);
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

// The 20 slowest of the 10,820 shapes within the limit, as zelkon-exact-shapes found them
// ("zelkon-exact-shapes kruskal-wallis"), slowest first (target: every shape within 50 ms).
BENCHMARK_CAPTURE(KruskalWallis, groups_5_4_3_3_2, Sizes{5, 4, 3, 3, 2})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_6_3_3_3_2, Sizes{6, 3, 3, 3, 2})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_4_4_4_4_1, Sizes{4, 4, 4, 4, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_5_3_3_2_2_1, Sizes{5, 3, 3, 2, 2, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_9_2_2_2_2_1, Sizes{9, 2, 2, 2, 2, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_14_2_2_2_1_1, Sizes{14, 2, 2, 2, 1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_13_2_2_2_1_1, Sizes{13, 2, 2, 2, 1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_4_4_3_2_2_1, Sizes{4, 4, 3, 2, 2, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_16_2_2_2_2, Sizes{16, 2, 2, 2, 2})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_15_2_2_2_2, Sizes{15, 2, 2, 2, 2})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_7_3_2_2_2_1, Sizes{7, 3, 2, 2, 2, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_4_4_3_3_1_1, Sizes{4, 4, 3, 3, 1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_4_3_3_3_3, Sizes{4, 3, 3, 3, 3})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_205_1_1_1_1, Sizes{205, 1, 1, 1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_206_1_1_1_1, Sizes{206, 1, 1, 1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_207_1_1_1_1, Sizes{207, 1, 1, 1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_203_1_1_1_1, Sizes{203, 1, 1, 1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_204_1_1_1_1, Sizes{204, 1, 1, 1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_202_1_1_1_1, Sizes{202, 1, 1, 1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KruskalWallis, groups_201_1_1_1_1, Sizes{201, 1, 1, 1, 1})->Unit(benchmark::kMillisecond);
// Friedman (target 50 ms): the largest designs for six and for three columns.
BENCHMARK_CAPTURE(Friedman, rows_3_columns_6, 3, 6, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Friedman, rows_11_columns_3, 11, 3, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Friedman, rows_6_columns_4, 6, 4, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Friedman, rows_4_columns_5, 4, 5, 3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zelkon
