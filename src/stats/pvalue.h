// The distribution module: P values from t, F, z and chi-square, their inverses, and the
// critical-value tables.  Pure functions without state.
#pragma once

#include <cstdint>

#include "core/types.h"

namespace zelkon {

/// ln Gamma(x) for x > 0 (six-term series).
Extended gamma_ln(Extended x);
/// Continued fraction of the incomplete beta function (at most 200 iterations).
Extended beta_cf(Extended a, Extended b, Extended x);
/// Regularised incomplete beta I_x(a, b), 0 <= x <= 1.
Extended incomplete_beta(Extended a, Extended b, Extended x);
/// Lower regularised incomplete gamma P(a, x) by its series.
Extended gamma_series(Extended a, Extended x);
/// Upper regularised incomplete gamma Q(a, x) by its continued fraction (0 without convergence).
Extended GCF(Extended a, Extended x);
/// Q(a, x) = 1 - P(a, x).
Extended gamma_q(Extended a, Extended x);

/// Upper-tail P of F with df1 (numerator) and df2 (denominator) degrees of freedom.
Extended p_from_f(std::int32_t df1, std::int32_t df2, Extended f);
/// Two-tailed P of t with df degrees of freedom.
Extended p_from_t(std::int32_t df, Extended t);
/// Two-tailed P of a standard normal deviate (taken as t with 5000 df).
Extended p_from_z(Extended z);
/// Upper-tail P of chi-square with df degrees of freedom (0 above 1000 and below 0).
Extended p_from_chi2(std::int32_t df, Extended chi2);

/// z with one-tailed P equal to p (bisection on [0, 8]).
Extended z_for_p(Extended p);
/// t with one-tailed P equal to p.
Extended t_for_p(std::int32_t df, Extended p);
/// F with upper-tail P equal to p.
Extended f_for_p(std::int32_t df1, std::int32_t df2, Extended p);

/// Two-tailed 95% critical t: table to 30 df, then linear pieces, 1.96 above 120.
Extended t_crit95(std::int32_t df);
/// Two-tailed 95% critical t for the t tests' confidence intervals.
Extended t_crit_ci(std::int32_t df);
/// Normal critical value from the fixed table; 0 for an alpha or tails not in it.
Extended critical_z(std::int32_t tails, Extended alpha);

}  // namespace zelkon
