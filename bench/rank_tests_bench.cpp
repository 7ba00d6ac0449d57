// Exact P values of the rank tests: the largest samples each test treats exactly (signed
// rank n = 29, Mann-Whitney with C(N, k) just under 2e9, Spearman N = 12), and the complete
// enumeration of every arrangement at a size where it takes about a second, with the
// counting method timed on the same problem so that the speed-up shows as a ratio.  The
// enumerations leave out the progress calls the program makes while counting, so the ratio
// understates the gain.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "analyses/groups/rank_tests.h"
#include "analyses/regression/correlation.h"
#include "core/calc_status.h"
#include "core/data_table.h"
#include "stats/exact_rank_counts.h"

namespace zelkon {
namespace {

// --- Complete enumeration, as the definitions state it ------------------------------------

std::int64_t EnumerateSignPatterns(int k, std::int64_t sum, std::int64_t threshold) {
    if (k == 0) return sum >= threshold ? 1 : 0;
    return EnumerateSignPatterns(k - 1, sum + k, threshold) + EnumerateSignPatterns(k - 1, sum, threshold);
}

std::int64_t EnumerateSubsets(int from, int n, int left, std::int64_t sum, std::int64_t limit) {
    if (left == 0) return sum <= limit ? 1 : 0;
    std::int64_t count = 0;
    for (int r = from; r <= n - left + 1; ++r) count += EnumerateSubsets(r + 1, n, left - 1, sum + r, limit);
    return count;
}

std::int64_t EnumeratePermutations(int k, int n, std::uint32_t used, std::int64_t sum, std::int64_t threshold) {
    if (k == 0) return sum >= threshold ? 1 : 0;
    std::int64_t count = 0;
    for (int i = 1; i <= n; ++i) {
        if (used & (1u << i)) continue;
        count += EnumeratePermutations(k - 1, n, used | (1u << i), sum + (i - k) * (i - k), threshold);
    }
    return count;
}

template <typename F>
double Seconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(f());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

/// Times the counting method on the same problem (best of 20) and records the ratio.
template <typename Count>
void RecordSpeedUp(benchmark::State& state, double enumerationSeconds, Count&& count) {
    double best = 1e30;
    for (int i = 0; i < 20; ++i) best = std::min(best, Seconds(count));
    state.counters["counting_us"] = best * 1e6;
    state.counters["speedup"] = enumerationSeconds / best;
}

// --- The largest exact cases, through the analyses ---------------------------------------

void BM_SignedRankTest_n29(benchmark::State& state) {
    DataTable table;
    for (int i = 0; i < 29; ++i) table.SetValue(i, 0, (i % 3 == 0 ? -1 : 1) * (i + 1.5L));
    for (auto _ : state) benchmark::DoNotOptimize(SignedRankTest(table, 0, 0, true).p);
}
BENCHMARK(BM_SignedRankTest_n29)->Unit(benchmark::kMillisecond);

void BM_MannWhitneyTest_17_16(benchmark::State& state) {
    // C(33, 17) = 1,166,803,110 subsets, the largest balanced sample under 2e9.
    DataTable table;
    for (int i = 0; i < 17; ++i) table.SetValue(i, 0, 2.0L * i);
    for (int i = 0; i < 16; ++i) table.SetValue(i, 1, 2.0L * i + 3);
    for (auto _ : state) benchmark::DoNotOptimize(MannWhitneyTest(table, 0, 1, true).p);
}
BENCHMARK(BM_MannWhitneyTest_17_16)->Unit(benchmark::kMillisecond);

void BM_MannWhitneyTest_1000_3(benchmark::State& state) {
    // The largest N: 1001 + 3 values, C(1004, 3) = 167,668,004 subsets; with the longest
    // columns (1001 + 1001) C(N, k) is far beyond the limit.
    DataTable table;
    for (int i = 0; i < 1001; ++i) table.SetValue(i, 0, i);
    for (int i = 0; i < 3; ++i) table.SetValue(i, 1, 100.5L * i);
    for (auto _ : state) benchmark::DoNotOptimize(MannWhitneyTest(table, 0, 1, true).p);
}
BENCHMARK(BM_MannWhitneyTest_1000_3)->Unit(benchmark::kMillisecond);

void BM_SpearmanCalc_N12(benchmark::State& state) {
    DataTable table;
    const int y[12] = {3, 1, 4, 2, 6, 5, 9, 7, 8, 12, 10, 11};
    for (int i = 0; i < 12; ++i) {
        table.SetValue(i, 0, i + 1);
        table.SetValue(i, 1, y[i]);
    }
    for (auto _ : state) benchmark::DoNotOptimize(SpearmanCalc(table, 0).p);
}
BENCHMARK(BM_SpearmanCalc_N12)->Unit(benchmark::kMillisecond);

void BM_CountRankPermutations_N12(benchmark::State& state) {
    // Thresholds near the middle of 0..572 keep the widest windows of running sums.
    const auto threshold = state.range(0);
    BeginExactCalculation(0.5L);
    for (auto _ : state) benchmark::DoNotOptimize(CountRankPermutations(12, threshold).counted);
    EndExactCalculation();
}
BENCHMARK(BM_CountRankPermutations_N12)->Arg(200)->Arg(300)->Arg(350)->Arg(572)->Unit(benchmark::kMillisecond);

// --- Complete enumeration against counting, same problem ---------------------------------

// The counting functions report progress against the start of the exact calculation, so
// each comparison opens one.

void BM_Enumeration_SignRank_n30(benchmark::State& state) {
    BeginExactCalculation(0.5L);
    const int n = 30;
    const std::int64_t threshold = 260;
    std::int64_t enumerated = 0;
    double seconds = 0;
    for (auto _ : state) seconds = Seconds([&] { return enumerated = EnumerateSignPatterns(n, 0, threshold); });
    RecordSpeedUp(state, seconds, [&] { return CountSignedRankPatterns(n, threshold).counted; });
    if (CountSignedRankPatterns(n, threshold).counted != enumerated) state.SkipWithError("counts differ");
    EndExactCalculation();
}
BENCHMARK(BM_Enumeration_SignRank_n30)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Enumeration_MannWhitney_32_16(benchmark::State& state) {
    BeginExactCalculation(0.5L);
    const int n = 32, k = 16;
    const std::int64_t u = 100;
    std::int64_t enumerated = 0;
    double seconds = 0;
    for (auto _ : state) seconds = Seconds([&] { return enumerated = EnumerateSubsets(1, n, k, 0, k * (k + 1) / 2 + u); });
    RecordSpeedUp(state, seconds, [&] { return CountRankSubsets(n, k, u).counted; });
    if (CountRankSubsets(n, k, u).counted != enumerated) state.SkipWithError("counts differ");
    EndExactCalculation();
}
BENCHMARK(BM_Enumeration_MannWhitney_32_16)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Enumeration_Spearman_N11(benchmark::State& state) {
    BeginExactCalculation(0.5L);
    const int n = 11;
    const std::int64_t threshold = 300;
    std::int64_t enumerated = 0;
    double seconds = 0;
    for (auto _ : state) seconds = Seconds([&] { return enumerated = EnumeratePermutations(n, n, 0, 0, threshold); });
    RecordSpeedUp(state, seconds, [&] { return CountRankPermutations(n, threshold).counted; });
    if (CountRankPermutations(n, threshold).counted != enumerated) state.SkipWithError("counts differ");
    EndExactCalculation();
}
BENCHMARK(BM_Enumeration_Spearman_N11)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zelkon
