// The linear solver and the matrix inverse.
#include "analyses/regression/linear_solver.h"

#include <algorithm>
#include <cmath>

namespace zelkon {

namespace {

int ClampSize(int size) {
    return std::clamp(size, 0, SquareMatrix::MaxSize);
}

bool SizeInRange(int m) {
    return m >= 1 && m <= SquareMatrix::MaxSize;
}

/// The row from `column` down holding the largest magnitude in that column (the first
/// one on ties).
int PivotRow(const SquareMatrix& a, int column) {
    int best = column;
    for (int r = column + 1; r <= a.Size(); ++r) {
        if (std::fabs(a(r, column)) > std::fabs(a(best, column))) best = r;
    }
    return best;
}

}  // namespace

SquareMatrix::SquareMatrix(int size)
    : size_(ClampSize(size)),
      cells_(static_cast<std::size_t>(size_) * static_cast<std::size_t>(size_), 0.0L) {}

void SquareMatrix::SwapRows(int a, int b) {
    if (a == b) return;
    for (int c = 1; c <= size_; ++c) std::swap((*this)(a, c), (*this)(b, c));
}

ExtendedVector::ExtendedVector(int size)
    : entries_(static_cast<std::size_t>(ClampSize(size)), 0.0L) {}

std::int32_t SolveLinearSystem(const SquareMatrix& matrix, const ExtendedVector& rhs,
                               ExtendedVector& x) {
    const int m = matrix.Size();
    if (!SizeInRange(m) || rhs.Size() != m) return SolverBadSize;
    x = ExtendedVector(m);
    SquareMatrix a = matrix;
    ExtendedVector b = rhs;
    if (m == 1) {
        if (std::fabs(a(1, 1)) < SingularPivot) return SolverSingular;
        x(1) = b(1) / a(1, 1);
        return SolverSuccess;
    }
    for (int c = 1; c < m; ++c) {
        const int p = PivotRow(a, c);
        if (p != c) {
            a.SwapRows(p, c);
            std::swap(b(p), b(c));
        }
        // A pivot too small to divide by is singular whether or not rows were exchanged.
        if (std::fabs(a(c, c)) < SingularPivot) return SolverSingular;
        const Extended* pivotRow = a.Row(c);
        for (int r = c + 1; r <= m; ++r) {
            Extended* row = a.Row(r);
            if (std::fabs(row[c - 1]) <= SingularPivot) continue;
            const Extended f = -row[c - 1] / pivotRow[c - 1];
            for (int j = c - 1; j < m; ++j) row[j] += f * pivotRow[j];
            b(r) += f * b(c);
        }
    }
    if (std::fabs(a(m, m)) < SingularPivot) return SolverSingular;
    for (int i = m; i >= 1; --i) {
        Extended s = b(i);
        for (int j = i + 1; j <= m; ++j) s -= a(i, j) * x(j);
        x(i) = s / a(i, i);
    }
    return SolverSuccess;
}

std::int32_t InvertMatrix(const SquareMatrix& matrix, SquareMatrix& inverse) {
    const int m = matrix.Size();
    if (!SizeInRange(m)) return SolverBadSize;
    SquareMatrix a = matrix;
    inverse = SquareMatrix(m);
    for (int i = 1; i <= m; ++i) inverse(i, i) = 1.0L;
    for (int c = 1; c <= m; ++c) {
        const int p = PivotRow(a, c);
        a.SwapRows(p, c);
        inverse.SwapRows(p, c);
        const Extended pivot = a(c, c);
        if (std::fabs(pivot) < SingularPivot) return SolverSingular;
        Extended* pivotRow = a.Row(c);
        Extended* pivotInverse = inverse.Row(c);
        for (int j = 0; j < m; ++j) {
            pivotRow[j] /= pivot;
            pivotInverse[j] /= pivot;
        }
        for (int r = 1; r <= m; ++r) {
            if (r == c) continue;
            Extended* row = a.Row(r);
            Extended* rowInverse = inverse.Row(r);
            const Extended f = row[c - 1];
            if (f == 0.0L) continue;
            for (int j = 0; j < m; ++j) {
                row[j] -= f * pivotRow[j];
                rowInverse[j] -= f * pivotInverse[j];
            }
        }
    }
    return SolverSuccess;
}

}  // namespace zelkon
