// The exact (Clopper-Pearson) 95% confidence interval of a proportion x / n, from the
// critical values of the F distribution.
#pragma once

#include "core/types.h"

namespace zelkon {

struct ProportionInterval {
    Extended lower = MissingValue;
    Extended upper = MissingValue;
};

/// The exact 95% interval of x / n (0 <= x <= n, n > 0, whole numbers held as extended):
/// lower = x / (x + (n - x + 1) F1), F1 = f_for_p(2 (n - x + 1), 2 x, 0.025), 0 when x = 0;
/// upper = (x + 1) F2 / ((x + 1) F2 + (n - x)), F2 = f_for_p(2 (x + 1), 2 (n - x), 0.025),
/// 1 when x = n.  Degrees of freedom beyond the 32-bit range are taken at its largest value.
ProportionInterval ExactProportionInterval(Extended x, Extended n);

}  // namespace zelkon
