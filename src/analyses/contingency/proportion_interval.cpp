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

}  // namespace

ProportionInterval ExactProportionInterval(Extended x, Extended n) {
    ProportionInterval interval;
    if (x <= 0) {
        interval.lower = 0.0L;
    } else {
        const Extended f1 =
            f_for_p(DegreesOfFreedom(2 * (n - x + 1)), DegreesOfFreedom(2 * x), TailArea);
        interval.lower = x / (x + (n - x + 1) * f1);
    }
    if (x >= n) {
        interval.upper = 1.0L;
    } else {
        const Extended f2 =
            f_for_p(DegreesOfFreedom(2 * (x + 1)), DegreesOfFreedom(2 * (n - x)), TailArea);
        interval.upper = (x + 1) * f2 / ((x + 1) * f2 + (n - x));
    }
    return interval;
}

}  // namespace zelkon
