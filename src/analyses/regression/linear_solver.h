// The linear solver and the matrix inverse of the regressions: Gaussian elimination and
// Gauss-Jordan elimination with partial pivoting on square extended matrices of up to
// 400 x 400, addressed from 1.
#pragma once

#include <cstdint>
#include <vector>

#include "core/types.h"

namespace zelkon {

/// A square matrix of extended values, rows and columns numbered 1 to Size().
class SquareMatrix {
  public:
    static constexpr int MaxSize = 400;

    /// A matrix of zeros; the size is kept within 0 to MaxSize.
    explicit SquareMatrix(int size = 0);
    int Size() const { return size_; }
    Extended& operator()(int row, int column) { return cells_[Index(row, column)]; }
    Extended operator()(int row, int column) const { return cells_[Index(row, column)]; }
    /// Exchanges two whole rows.
    void SwapRows(int a, int b);
    /// Row i as a contiguous array: element j - 1 is column j.
    Extended* Row(int i) { return cells_.data() + Index(i, 1); }
    const Extended* Row(int i) const { return cells_.data() + Index(i, 1); }

  private:
    std::size_t Index(int row, int column) const {
        return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(size_) +
               static_cast<std::size_t>(column - 1);
    }
    int size_ = 0;
    std::vector<Extended> cells_;
};

/// A vector of extended values, entries numbered 1 to Size().
class ExtendedVector {
  public:
    /// A vector of zeros; the size is kept within 0 to SquareMatrix::MaxSize.
    explicit ExtendedVector(int size = 0);
    int Size() const { return static_cast<int>(entries_.size()); }
    Extended& operator()(int i) { return entries_[static_cast<std::size_t>(i - 1)]; }
    Extended operator()(int i) const { return entries_[static_cast<std::size_t>(i - 1)]; }

  private:
    std::vector<Extended> entries_;
};

/// What the solver and the inverse report.
inline constexpr std::int32_t SolverSuccess = 0;
/// The size is below 1 (or beyond the 400 the solver works on).
inline constexpr std::int32_t SolverBadSize = 1;
/// A pivot of magnitude below `SingularPivot` was met.
inline constexpr std::int32_t SolverSingular = 2;

/// Pivots smaller than this in magnitude count as zero.
inline constexpr Extended SingularPivot = 1E-18L;

/// Solves a x = b by elimination with partial pivoting (the first row of the largest
/// magnitude on ties) and back substitution.  `a` and `b` are copied, so the caller's
/// values stay unchanged; `x` is resized to the size of `a`.  A size that differs between
/// `a` and `b` counts as a bad size.
std::int32_t SolveLinearSystem(const SquareMatrix& a, const ExtendedVector& b, ExtendedVector& x);

/// The inverse of `a` by Gauss-Jordan elimination with partial pivoting; `a` is copied and
/// `inverse` is resized to its size.  On failure `inverse` holds no meaningful values.
std::int32_t InvertMatrix(const SquareMatrix& a, SquareMatrix& inverse);

}  // namespace zelkon
