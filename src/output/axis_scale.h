// Axis scaling of the graphs: a "nice" range and tick step for the values an axis must show,
// and the value formats of axis labels ("###,###,###,###,##0.###" and the like), so that a
// renderer only has to place the ticks and draw their labels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelkon {

/// The range, tick step and ticks of one axis.  Ticks run from `minimum` to `maximum` in
/// steps of `step`; `decimals` is the number of decimals the step needs to be told apart.
struct AxisScale {
    double minimum = 0.0;
    double maximum = 1.0;
    double step = 0.2;
    int decimals = 1;
    std::vector<double> ticks;
};

/// A "nice" scale for values from `min` to `max`: the step is 1, 2, 2.5 or 5 times a power of
/// ten, the smallest such step that covers the values in at most `maxTicks` intervals
/// (at least 1), and the ends are the multiples of the step at or just beyond the values.
/// With `integerSteps` the step is a whole number (at least 1, never 2.5).  The bounds may come
/// in either order; equal bounds get a range around the value ([0, 1] for 0); bounds that are
/// not finite give [0, 1].
AxisScale NiceAxis(double min, double max, int maxTicks, bool integerSteps = false);

/// The characters a value format writes for the decimal point and between thousands.
struct AxisSeparators {
    char decimal = '.';
    char thousands = ',';
};

/// The value format of the left axis unless a graph sets another.
inline constexpr std::string_view DefaultAxisFormat = "###,###,###,###,##0.###";
/// The value format of the two-by-two graphs' left axis.
inline constexpr std::string_view CountAxisFormat = "###,###,###";

/// A value in a value format: "0" a digit always written, "#" a digit written only when
/// significant, "," anywhere before the point groups the whole part in thousands, "." the
/// point.  The value is rounded to as many decimals as the format has places after the point,
/// raised to `atLeastDecimals` (so that labels of a fine step stay distinct); trailing zeros
/// beyond the "0" places are dropped.  A value whose text would be empty (0 in "###") is
/// written "0", and a value that rounds to zero carries no minus sign.
std::string FormatAxisNumber(double value, std::string_view format, int atLeastDecimals = 0,
                             AxisSeparators separators = {});

/// One tick of an axis and its label.
struct AxisTick {
    double value = 0.0;
    std::string label;
};

/// The ticks of a scale labelled in a value format, with at least the decimals the step needs.
std::vector<AxisTick> LabelTicks(const AxisScale& scale, std::string_view format,
                                 AxisSeparators separators = {});

}  // namespace zelkon
