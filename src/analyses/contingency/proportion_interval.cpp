// The exact confidence interval of a proportion.
#include "analyses/contingency/proportion_interval.h"

#include <cstdint>
#include <limits>

#include "stats/pvalue.h"

namespace zelkon {

namespace {

constexpr Extended TailArea = 0.025L;

// Degrees of freedom as the distribution module takes them.  Counts so large that twice
// them leaves the 32-bit range are held at its largest value; the F quantile hardly moves
// there.
std::int32_t DegreesOfFreedom(Extended df) {
    constexpr Extended largest = std::numeric_limits<std::int32_t>::max();
    return df >= largest ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(df);
}

// The F with upper-tail probability p.  The distribution module's inverse stops when its
// bracket is 0.01 wide, which moves the limits of a proportion in their third or fourth
// printed digit; the root it brackets is refined here until the bracket no longer shrinks.
Extended FQuantile(std::int32_t df1, std::int32_t df2, Extended p) {
    const Extended rough = f_for_p(df1, df2, p);
    Extended lo = rough > 0.01L ? rough - 0.01L : 0.0L;
    Extended hi = rough + 0.01L;
    // The bracket must hold the root: widen it should the rough value sit at its edge.
    for (int i = 0; i < 200 && p_from_f(df1, df2, hi) > p; ++i) hi *= 2;
    for (int i = 0; i < 200 && lo > 0 && p_from_f(df1, df2, lo) < p; ++i) lo /= 2;
    for (int i = 0; i < 200; ++i) {
        const Extended mid = lo + (hi - lo) / 2;
        if (mid <= lo || mid >= hi) break;
        if (p_from_f(df1, df2, mid) > p) {
            lo = mid;
        } else {
            hi = mid;
        }
        if (hi - lo <= 1e-15L * hi) break;
    }
    return lo + (hi - lo) / 2;
}

}  // namespace

ProportionInterval ExactProportionInterval(Extended x, Extended n) {
    ProportionInterval interval;
    if (x <= 0) {
        interval.lower = 0.0L;
    } else {
        const Extended f1 =
            FQuantile(DegreesOfFreedom(2 * (n - x + 1)), DegreesOfFreedom(2 * x), TailArea);
        interval.lower = x / (x + (n - x + 1) * f1);
    }
    if (x >= n) {
        interval.upper = 1.0L;
    } else {
        const Extended f2 =
            FQuantile(DegreesOfFreedom(2 * (x + 1)), DegreesOfFreedom(2 * (n - x)), TailArea);
        interval.upper = (x + 1) * f2 / ((x + 1) * f2 + (n - x));
    }
    return interval;
}

}  // namespace zelkon
