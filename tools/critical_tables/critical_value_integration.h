// Upper percentage points of the studentized range and of Dunnett's two-sided statistic,
// computed from the distributions by numerical integration in extended precision.  Used by
// the table generator only; the program itself reads the generated tables.
#pragma once

#include <cstdint>
#include <vector>

namespace zelkon::tables {

using Real = long double;

/// Degrees of freedom that stand for infinity (the s of the statistic is then exactly 1).
inline constexpr std::int32_t InfiniteDf = 0;

/// Standard normal distribution function, from the complementary error function.
Real NormalCdf(Real x);

/// Nodes and weights of an n-point Gauss-Legendre rule on [-1, 1].
struct GaussLegendreRule {
    std::vector<Real> nodes;
    std::vector<Real> weights;
};
GaussLegendreRule MakeGaussLegendreRule(int n);

/// Density of s = sqrt(chi-square(df) / df), the scale that turns a normal statistic into
/// its studentized form.
Real ScaleDensity(Real s, std::int32_t df);

/// A statistic X / s, where X is a function of independent standard normal variables with
/// distribution function G and s is independent of X with `ScaleDensity`.  Its upper tail is
/// P(X / s > c) = integral of (1 - G(x)) f(x / c) / c dx; the values of 1 - G on a fixed
/// grid of Gauss-Legendre nodes are computed once, so that every degrees of freedom and
/// probability reuses them.
class StudentizedStatistic {
  public:
    virtual ~StudentizedStatistic() = default;
    /// 1 - G(x), computed directly by quadrature.
    virtual Real UpperTailOfNumerator(Real x) const = 0;

    /// P(X / s > c) with df degrees of freedom (`InfiniteDf`: s = 1).
    Real UpperTail(Real c, std::int32_t df) const;
    /// The c with P(X / s > c) = alpha, to a relative accuracy of about 1e-14.
    Real UpperPoint(Real alpha, std::int32_t df) const;

  protected:
    /// Fills the grid of 1 - G; called by the constructors of the derived classes.
    void Tabulate();

  private:
    std::vector<Real> gridX_;
    std::vector<Real> gridWeightedTail_;  // Gauss-Legendre weight x (1 - G(x))
};

/// The range of k independent standard normal variables: G(w) =
/// k integral phi(z) (Phi(z) - Phi(z - w))^(k-1) dz.  Its studentized form is the
/// studentized range q.
class StudentizedRange : public StudentizedStatistic {
  public:
    explicit StudentizedRange(std::int32_t k);
    Real UpperTailOfNumerator(Real w) const override;

  private:
    std::int32_t k_;
};

/// max |Y_i - Y_0| over K = k - 1 treatments, Y standard normal: G(x) =
/// integral phi(y) (Phi(y + x) - Phi(y - x))^K dy.  Dunnett's two-sided statistic for k
/// means (control included), with correlation 1/2 between the comparisons, is this
/// variable divided by sqrt(2) s.
class DunnettMaximum : public StudentizedStatistic {
  public:
    explicit DunnettMaximum(std::int32_t k);
    Real UpperTailOfNumerator(Real x) const override;

  private:
    std::int32_t comparisons_;
};

/// The upper alpha point of the studentized range for k means and df degrees of freedom.
Real StudentizedRangePoint(Real alpha, std::int32_t k, std::int32_t df);
/// The two-sided alpha critical value of Dunnett's statistic for k means (control
/// included) and df degrees of freedom.
Real DunnettPoint(Real alpha, std::int32_t k, std::int32_t df);

}  // namespace zelkon::tables
