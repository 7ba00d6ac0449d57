// Timing of the distribution module: the P value of t and of chi-square, and the t
// bisection that the post tests call.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "stats/pvalue.h"

namespace zelkon {
namespace {

// P of t over a spread of degrees of freedom and statistics.
void BM_PFromT(benchmark::State& state) {
    const auto df = static_cast<std::int32_t>(state.range(0));
    Extended t = 0.5L;
    for (auto _ : state) {
        benchmark::DoNotOptimize(p_from_t(df, t));
        t = t < 6.0L ? t + 0.37L : 0.5L;
    }
}
BENCHMARK(BM_PFromT)->Arg(1)->Arg(10)->Arg(100)->Arg(1000);

// P of chi-square: the series below a + 1, the continued fraction above.
void BM_PFromChi2(benchmark::State& state) {
    const auto df = static_cast<std::int32_t>(state.range(0));
    Extended chi2 = 0.5L;
    for (auto _ : state) {
        benchmark::DoNotOptimize(p_from_chi2(df, chi2));
        chi2 = chi2 < 2.5L * df + 10.0L ? chi2 * 1.3L : 0.5L;
    }
}
BENCHMARK(BM_PFromChi2)->Arg(1)->Arg(4)->Arg(30)->Arg(500);

// The critical t of a Bonferroni post test with ten comparisons.
void BM_TForP(benchmark::State& state) {
    const auto df = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(t_for_p(df, 0.05L / 20.0L));
}
BENCHMARK(BM_TForP)->Arg(5)->Arg(60);

}  // namespace
}  // namespace zelkon
