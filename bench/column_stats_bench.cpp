// Benchmark of the column summaries refresh on a full table: 26 columns of 1000 values, every
// column flagged as changed, so each pass recomputes all statistics and normality tests.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/data_table.h"
#include "stats/column_stats.h"

namespace {

// A deterministic, roughly bell-shaped value from a linear congruential sequence (sum of
// four uniforms), so that the normality test runs on every column.
class ValueSource {
public:
    long double Next() {
        long double sum = 0;
        for (int k = 0; k < 4; ++k) {
            state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
            sum += static_cast<long double>(state_ >> 11) / 9007199254740992.0L;
        }
        return 100 + 10 * sum;
    }

private:
    std::uint64_t state_ = 12345;
};

void BM_UpdateColumnSummariesFullTable(benchmark::State& state) {
    zelkon::DataTable table;
    ValueSource source;
    for (int c = 0; c < zelkon::DataColumns; ++c) {
        for (int r = 0; r < zelkon::ShownRows; ++r) table.SetValue(r, c, source.Next());
        table.SetNoRawData(c, false);
    }
    for (auto _ : state) {
        for (int c = 0; c < zelkon::DataColumns; ++c) table.SetChanged(c, true);
        zelkon::UpdateColumnSummaries(table);
        benchmark::DoNotOptimize(table.Record(25).ksp);
    }
}
BENCHMARK(BM_UpdateColumnSummariesFullTable)->Unit(benchmark::kMillisecond);

}  // namespace
