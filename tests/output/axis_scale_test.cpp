// Nice axis ranges and axis label formats, against scales and labels worked out by hand.
#include "output/axis_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelkon {
namespace {

void ExpectScale(const AxisScale& s, double min, double max, double step, int decimals) {
    EXPECT_DOUBLE_EQ(s.minimum, min);
    EXPECT_DOUBLE_EQ(s.maximum, max);
    EXPECT_DOUBLE_EQ(s.step, step);
    EXPECT_EQ(s.decimals, decimals);
    ASSERT_FALSE(s.ticks.empty());
    EXPECT_DOUBLE_EQ(s.ticks.front(), min);
    EXPECT_DOUBLE_EQ(s.ticks.back(), max);
    EXPECT_EQ(s.ticks.size(), static_cast<std::size_t>(std::lround((max - min) / step)) + 1);
}

TEST(NiceAxis, SmallestNiceStepWithinTheTickCount) {
    // 0..10 in at most 5 intervals: step 1 needs 10, step 2 needs 5.
    ExpectScale(NiceAxis(0, 10, 5), 0, 10, 2, 0);
    // 0..0.944 in 5: 0.1 needs 10, 0.2 needs ceil(4.72) = 5.
    ExpectScale(NiceAxis(0, 0.944, 5), 0, 1.0, 0.2, 1);
    // -3.7..12.1 in 8: 1 needs 17, 2 needs 9, 2.5 needs 5 - (-2) = 7.
    ExpectScale(NiceAxis(-3.7, 12.1, 8), -5, 12.5, 2.5, 1);
    // 0..137.646 (a mean of 131.8 and its SD) in 8: 10 needs 14, 20 needs 7.
    ExpectScale(NiceAxis(0, 137.646, 8), 0, 140, 20, 0);
    // Large values: 0..2.5E6 in 5 needs 5E5.
    ExpectScale(NiceAxis(0, 2.5e6, 5), 0, 2.5e6, 5e5, 0);
    // A step of 0.25 needs two decimals.
    ExpectScale(NiceAxis(4.5, 5.5, 4), 4.5, 5.5, 0.25, 2);
}

TEST(NiceAxis, BoundsThatAreMultiplesStayPut) {
    // 0.3 / 0.1 is 2.9999999999999996 in doubles: still three intervals, not four.
    const AxisScale s = NiceAxis(0, 0.3, 3);
    ExpectScale(s, 0, 0.3, 0.1, 1);
    // Ticks are the decimal values themselves, not sums of steps.
    ASSERT_EQ(s.ticks.size(), 4u);
    EXPECT_EQ(s.ticks[1], 0.1);
    EXPECT_EQ(s.ticks[2], 0.2);
    EXPECT_EQ(s.ticks[3], 0.3);
    // 0.7 / 0.1 rounds below 7 too.
    ExpectScale(NiceAxis(0.1, 0.7, 6), 0.1, 0.7, 0.1, 1);
}

TEST(NiceAxis, IntegerSteps) {
    // 0..3 would take 0.5 in 8 intervals; whole steps give 1.
    ExpectScale(NiceAxis(0, 3, 8, true), 0, 3, 1, 0);
    // 0..83 in 8: 10 needs 9, 20 needs 5.
    ExpectScale(NiceAxis(0, 83, 8, true), 0, 100, 20, 0);
    // 0..5 in 2: 2.5 is not whole, so 5.
    ExpectScale(NiceAxis(0, 5, 2, true), 0, 5, 5, 0);
}

TEST(NiceAxis, DegenerateInput) {
    // Zero alone, reversed bounds, one value, no finite value, no tick count.
    ExpectScale(NiceAxis(0, 0, 5), 0, 1, 0.2, 1);
    ExpectScale(NiceAxis(10, 0, 5), 0, 10, 2, 0);
    // 5 alone: 4.5..5.5, in 4 intervals of 0.25.
    ExpectScale(NiceAxis(5, 5, 4), 4.5, 5.5, 0.25, 2);
    ExpectScale(NiceAxis(std::numeric_limits<double>::quiet_NaN(), 3, 5), 0, 1, 0.2, 1);
    ExpectScale(NiceAxis(0, std::numeric_limits<double>::infinity(), 5), 0, 1, 0.2, 1);
    ExpectScale(NiceAxis(0, 7, 0), 0, 10, 10, 0);
    // Bounds too far apart to subtract: the two bounds are the ticks.
    const AxisScale wide = NiceAxis(-1.5e308, 1.5e308, 5);
    EXPECT_EQ(wide.ticks.size(), 2u);
}

TEST(AxisFormat, DefaultFormat) {
    EXPECT_EQ(FormatAxisNumber(0, DefaultAxisFormat), "0");
    EXPECT_EQ(FormatAxisNumber(0.5, DefaultAxisFormat), "0.5");
    EXPECT_EQ(FormatAxisNumber(2.25, DefaultAxisFormat), "2.25");
    EXPECT_EQ(FormatAxisNumber(1000, DefaultAxisFormat), "1,000");
    EXPECT_EQ(FormatAxisNumber(1234567.5, DefaultAxisFormat), "1,234,567.5");
    EXPECT_EQ(FormatAxisNumber(-1500.125, DefaultAxisFormat), "-1,500.125");
    EXPECT_EQ(FormatAxisNumber(0.0626, DefaultAxisFormat), "0.063");  // rounded to 3 places
    // Rounds to zero: no minus sign.
    EXPECT_EQ(FormatAxisNumber(-0.0004, DefaultAxisFormat), "0");
    EXPECT_EQ(FormatAxisNumber(100, DefaultAxisFormat), "100");
    EXPECT_EQ(FormatAxisNumber(999999.9996, DefaultAxisFormat), "1,000,000");
}

TEST(AxisFormat, CountFormatAndOtherFormats) {
    EXPECT_EQ(FormatAxisNumber(1234, CountAxisFormat), "1,234");
    EXPECT_EQ(FormatAxisNumber(12.7, CountAxisFormat), "13");
    // "###" alone would leave 0 empty.
    EXPECT_EQ(FormatAxisNumber(0, CountAxisFormat), "0");
    EXPECT_EQ(FormatAxisNumber(3.1, "0.00"), "3.10");
    EXPECT_EQ(FormatAxisNumber(0.5, "#.##"), ".5");
    EXPECT_EQ(FormatAxisNumber(7, "000"), "007");
    EXPECT_EQ(FormatAxisNumber(std::numeric_limits<double>::infinity(), DefaultAxisFormat), "");
    // The user's separators.
    EXPECT_EQ(FormatAxisNumber(1234.5, DefaultAxisFormat, 0, {',', '.'}), "1.234,5");
}

TEST(AxisFormat, FineStepsWidenTheDecimals) {
    // Ticks 0.0001 apart would all read "0" in three decimals.
    const AxisScale s = NiceAxis(0, 0.0004, 4);
    const std::vector<AxisTick> ticks = LabelTicks(s, DefaultAxisFormat);
    ASSERT_EQ(ticks.size(), 5u);
    EXPECT_EQ(ticks[0].label, "0");
    EXPECT_EQ(ticks[1].label, "0.0001");
    EXPECT_EQ(ticks[4].label, "0.0004");
    // Steps of 0.25 keep their second decimal: 4.5, 4.75, 5, 5.25, 5.5.
    const std::vector<AxisTick> quarter = LabelTicks(NiceAxis(4.5, 5.5, 4), DefaultAxisFormat);
    ASSERT_EQ(quarter.size(), 5u);
    EXPECT_EQ(quarter[1].label, "4.75");
    EXPECT_EQ(quarter[2].label, "5");
}

}  // namespace
}  // namespace zelkon
