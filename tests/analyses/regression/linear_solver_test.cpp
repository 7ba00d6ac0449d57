// The linear solver and the matrix inverse: exact small systems, pivoting, the singular and
// size flags, unchanged arguments, the Hilbert inverse and a 400 x 400 system.
#include "analyses/regression/linear_solver.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/fp_guard.h"

namespace zelkon {
namespace {

SquareMatrix MatrixOf(std::initializer_list<std::initializer_list<Extended>> rows) {
    SquareMatrix a(static_cast<int>(rows.size()));
    int i = 1;
    for (const auto& row : rows) {
        int j = 1;
        for (Extended v : row) a(i, j++) = v;
        ++i;
    }
    return a;
}

ExtendedVector VectorOf(std::initializer_list<Extended> values) {
    ExtendedVector v(static_cast<int>(values.size()));
    int i = 1;
    for (Extended x : values) v(i++) = x;
    return v;
}

TEST(LinearSolver, SolvesSmallSystemsExactly) {
    // Hand calculation: x = (1, 2, 3) gives 2+2+3 = 7, 1+6+6 = 13, 1.
    const SquareMatrix a = MatrixOf({{2, 1, 1}, {1, 3, 2}, {1, 0, 0}});
    const ExtendedVector b = VectorOf({7, 13, 1});
    ExtendedVector x;
    ASSERT_EQ(SolveLinearSystem(a, b, x), SolverSuccess);
    ASSERT_EQ(x.Size(), 3);
    for (int i = 1; i <= 3; ++i) EXPECT_NEAR(static_cast<double>(x(i)), i, 1e-17);
    // The arguments are copies: unchanged.
    EXPECT_EQ(a(1, 1), 2.0L);
    EXPECT_EQ(a(3, 1), 1.0L);
    EXPECT_EQ(b(1), 7.0L);
    // A zero on the diagonal needs a row exchange.
    ASSERT_EQ(SolveLinearSystem(MatrixOf({{0, 1}, {1, 0}}), VectorOf({2, 3}), x), SolverSuccess);
    EXPECT_EQ(x(1), 3.0L);
    EXPECT_EQ(x(2), 2.0L);
    // One equation.
    ASSERT_EQ(SolveLinearSystem(MatrixOf({{4}}), VectorOf({2}), x), SolverSuccess);
    EXPECT_EQ(x(1), 0.5L);
}

TEST(LinearSolver, Flags) {
    ExtendedVector x;
    EXPECT_EQ(SolveLinearSystem(SquareMatrix(0), ExtendedVector(0), x), SolverBadSize);
    EXPECT_EQ(SolveLinearSystem(SquareMatrix(2), ExtendedVector(3), x), SolverBadSize);
    SquareMatrix inverse;
    EXPECT_EQ(InvertMatrix(SquareMatrix(0), inverse), SolverBadSize);
    // The size is kept within the 400 the solver works on.
    EXPECT_EQ(SquareMatrix(401).Size(), 400);

    FpFaultGuard guard;
    EXPECT_EQ(SolveLinearSystem(MatrixOf({{1e-19L}}), VectorOf({1}), x), SolverSingular);
    EXPECT_EQ(SolveLinearSystem(MatrixOf({{1, 2}, {2, 4}}), VectorOf({1, 2}), x), SolverSingular);
    EXPECT_EQ(
        SolveLinearSystem(MatrixOf({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}), VectorOf({1, 2, 3}), x),
        SolverSingular);
    // A column whose largest entry is tiny is singular also when rows are exchanged.
    EXPECT_EQ(SolveLinearSystem(MatrixOf({{1e-20L, 1}, {2e-20L, 1}}), VectorOf({1, 2}), x),
              SolverSingular);
    EXPECT_EQ(InvertMatrix(MatrixOf({{1e-19L}}), inverse), SolverSingular);
    EXPECT_EQ(InvertMatrix(MatrixOf({{1, 2}, {2, 4}}), inverse), SolverSingular);
    EXPECT_EQ(guard.FaultCode(), 0);
}

TEST(MatrixInverse, HilbertAndPivoting) {
    // The inverse of the 4 x 4 Hilbert matrix (entries 1 / (i + j - 1)) is the integer
    // matrix of the closed form (-1)^(i+j) (i+j-1) C(n+i-1, n-j) C(n+j-1, n-i) C(i+j-2, i-1)^2.
    SquareMatrix h(4);
    for (int i = 1; i <= 4; ++i) {
        for (int j = 1; j <= 4; ++j) h(i, j) = 1.0L / static_cast<Extended>(i + j - 1);
    }
    const Extended expected[4][4] = {{16, -120, 240, -140},
                                     {-120, 1200, -2700, 1680},
                                     {240, -2700, 6480, -4200},
                                     {-140, 1680, -4200, 2800}};
    SquareMatrix inverse;
    ASSERT_EQ(InvertMatrix(h, inverse), SolverSuccess);
    for (int i = 1; i <= 4; ++i) {
        for (int j = 1; j <= 4; ++j) {
            EXPECT_NEAR(static_cast<double>(inverse(i, j) / expected[i - 1][j - 1]), 1.0, 1e-14)
                << i << "," << j;
        }
    }
    EXPECT_EQ(h(1, 1), 1.0L);  // unchanged
    ASSERT_EQ(InvertMatrix(MatrixOf({{0, 2}, {4, 0}}), inverse), SolverSuccess);
    EXPECT_EQ(inverse(1, 1), 0.0L);
    EXPECT_EQ(inverse(1, 2), 0.25L);
    EXPECT_EQ(inverse(2, 1), 0.5L);
    EXPECT_EQ(inverse(2, 2), 0.0L);
    ASSERT_EQ(InvertMatrix(MatrixOf({{8}}), inverse), SolverSuccess);
    EXPECT_EQ(inverse(1, 1), 0.125L);
}

TEST(LinearSolver, FourHundredUnknowns) {
    // A diagonally dominant system with the known solution x(i) = i.
    const int m = SquareMatrix::MaxSize;
    SquareMatrix a(m);
    for (int i = 1; i <= m; ++i) {
        for (int j = 1; j <= m; ++j) {
            a(i, j) = i == j ? 2.0L * m : 1.0L / static_cast<Extended>((i * 7 + j * 3) % 11 + 1);
        }
    }
    ExtendedVector b(m);
    for (int i = 1; i <= m; ++i) {
        Extended s = 0.0L;
        for (int j = 1; j <= m; ++j) s += a(i, j) * static_cast<Extended>(j);
        b(i) = s;
    }
    ExtendedVector x;
    ASSERT_EQ(SolveLinearSystem(a, b, x), SolverSuccess);
    for (int i = 1; i <= m; ++i) {
        ASSERT_NEAR(static_cast<double>(x(i) / static_cast<Extended>(i)), 1.0, 1e-15) << i;
    }
    SquareMatrix inverse;
    ASSERT_EQ(InvertMatrix(a, inverse), SolverSuccess);
    // Rows of A times columns of the inverse give the identity.
    for (int i : {1, 57, 400}) {
        for (int j : {1, 200, 399}) {
            Extended s = 0.0L;
            for (int l = 1; l <= m; ++l) s += a(i, l) * inverse(l, j);
            EXPECT_NEAR(static_cast<double>(s), i == j ? 1.0 : 0.0, 1e-15);
        }
    }
}

}  // namespace
}  // namespace zelkon
