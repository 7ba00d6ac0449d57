// Nice axis ranges and the value formats of axis labels.
#include "output/axis_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace zelkon {

namespace {

// Slack when deciding whether a bound is a multiple of the step, against rounding in the
// division (0.3 / 0.1 is not exactly 3).
constexpr double StepSlack = 1e-9;
// Decimals beyond which a label carries no more information in a double.
constexpr int MaxLabelDecimals = 17;

double PowerOfTen(int e) {
    double p = 1.0;
    for (int i = 0; i < (e < 0 ? -e : e); ++i) p *= 10.0;
    return p;
}

// k * multiplier * 10^e computed so that exact multiples come out exactly (10^e for
// negative e is not a double, so the product is divided by 10^-e instead).
double TickValue(double k, double multiplier, int e) {
    const double units = k * multiplier;
    return e >= 0 ? units * PowerOfTen(e) : units / PowerOfTen(-e);
}

AxisScale ScaleWithStep(double lo, double hi, double multiplier, int e) {
    AxisScale scale;
    const double step = TickValue(1.0, multiplier, e);
    const double kLo = std::floor(lo / step + StepSlack);
    const double kHi = std::ceil(hi / step - StepSlack);
    scale.step = step;
    scale.decimals = std::max(0, -e + (multiplier == 2.5 ? 1 : 0));
    scale.minimum = TickValue(kLo, multiplier, e);
    scale.maximum = TickValue(kHi, multiplier, e);
    for (double k = kLo; k <= kHi; k += 1.0) scale.ticks.push_back(TickValue(k, multiplier, e));
    return scale;
}

}  // namespace

AxisScale NiceAxis(double lo, double hi, int maxTicks, bool integerSteps) {
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        lo = 0.0;
        hi = 1.0;
    }
    if (lo > hi) std::swap(lo, hi);
    maxTicks = std::max(maxTicks, 1);
    const double magnitude = std::max(std::fabs(lo), std::fabs(hi));
    if (hi - lo <= magnitude * 1e-12) {
        // One value: a range around it.
        if (magnitude == 0.0) {
            lo = 0.0;
            hi = 1.0;
        } else {
            lo -= magnitude * 0.1;
            hi += magnitude * 0.1;
        }
    }
    const double span = hi - lo;
    if (!std::isfinite(span)) {
        // Beyond what a double can subtract: the two bounds are the only ticks.
        AxisScale scale;
        scale.minimum = lo;
        scale.maximum = hi;
        scale.step = hi / 2 - lo / 2;
        scale.decimals = 0;
        scale.ticks = {lo, hi};
        return scale;
    }
    int e = static_cast<int>(std::floor(std::log10(span / maxTicks))) - 1;
    if (integerSteps) e = std::max(e, 0);
    static constexpr double Multipliers[] = {1.0, 2.0, 2.5, 5.0};
    for (;; ++e) {
        for (const double multiplier : Multipliers) {
            if (integerSteps && multiplier == 2.5 && e == 0) continue;
            const double step = TickValue(1.0, multiplier, e);
            const double intervals =
                std::ceil(hi / step - StepSlack) - std::floor(lo / step + StepSlack);
            if (intervals <= maxTicks) return ScaleWithStep(lo, hi, multiplier, e);
        }
    }
}

std::string FormatAxisNumber(double value, std::string_view format, int atLeastDecimals,
                             AxisSeparators separators) {
    if (!std::isfinite(value)) return {};
    const std::size_t point = format.find('.');
    const std::string_view wholeFormat = format.substr(0, point);
    const std::string_view fractionFormat =
        point == std::string_view::npos ? std::string_view() : format.substr(point + 1);
    const bool grouped = wholeFormat.find(',') != std::string_view::npos;
    const auto minWhole = static_cast<std::size_t>(std::count(wholeFormat.begin(), wholeFormat.end(), '0'));
    const auto minDecimals =
        static_cast<std::size_t>(std::count(fractionFormat.begin(), fractionFormat.end(), '0'));
    int maxDecimals = static_cast<int>(minDecimals) +
                      static_cast<int>(std::count(fractionFormat.begin(), fractionFormat.end(), '#'));
    maxDecimals = std::clamp(std::max(maxDecimals, atLeastDecimals), 0, MaxLabelDecimals);

    const int length = std::snprintf(nullptr, 0, "%.*f", maxDecimals, std::fabs(value));
    std::string digits(static_cast<std::size_t>(length), '\0');
    std::snprintf(digits.data(), digits.size() + 1, "%.*f", maxDecimals, std::fabs(value));

    const std::size_t dot = digits.find('.');
    std::string whole = digits.substr(0, dot);
    std::string fraction = dot == std::string::npos ? std::string() : digits.substr(dot + 1);
    while (fraction.size() > minDecimals && fraction.back() == '0') fraction.pop_back();
    const bool nonZero = whole.find_first_not_of('0') != std::string::npos ||
                         fraction.find_first_not_of('0') != std::string::npos;
    if (whole == "0") whole.clear();
    if (whole.size() < minWhole) whole.insert(0, minWhole - whole.size(), '0');
    if (grouped) {
        for (std::size_t i = whole.size(); i > 3; i -= 3) whole.insert(i - 3, 1, separators.thousands);
    }
    std::string text = whole;
    if (!fraction.empty()) {
        text += separators.decimal;
        text += fraction;
    }
    if (text.empty()) return "0";
    if (value < 0 && nonZero) text.insert(0, 1, '-');
    return text;
}

std::vector<AxisTick> LabelTicks(const AxisScale& scale, std::string_view format,
                                 AxisSeparators separators) {
    std::vector<AxisTick> ticks;
    ticks.reserve(scale.ticks.size());
    for (const double value : scale.ticks) {
        ticks.push_back({value, FormatAxisNumber(value, format, scale.decimals, separators)});
    }
    return ticks;
}

}  // namespace zelkon
