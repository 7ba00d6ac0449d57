// Number and P value wording: the number format of the report (decimals or significant
// digits, field width, scientific notation), the P value sentence in its "tailed" and
// "sided" forms and the word that grades a P value.
#include "stats/wording.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace zelkon {

namespace {

// Scientific notation always shows five mantissa decimals ("1.23457E-05"), so that a
// negative value with its sign fills exactly 12 characters with a two-digit exponent.
constexpr int ScientificDecimals = 5;

// A field is never wider than the longest text the report takes in one piece; a wider
// field (a very small value written by significant digits) would otherwise push the
// number itself past the cut and leave only blanks.
constexpr int MaxFieldWidth = static_cast<int>(ResultsReport::MaxTextArgument);

// e = floor(log10 |x|), computed as trunc(log10 |x| + 10000) - 10000 so that a logarithm a
// hair below an integer still gives that integer; 1 for zero.
int DecimalExponent(Extended x) {
    if (x == 0.0L) return 1;
    if (!std::isfinite(x)) return 0;  // no exponent to speak of; keeps the cast defined
    const Extended shifted = std::trunc(std::log10(std::fabs(x)) + 10000.0L);
    return static_cast<int>(shifted) - 10000;
}

// Decimals for the digits argument d and the exponent e (never negative).
int DecimalsFor(int d, int e) {
    int dec = 0;
    if (d >= 0) {
        dec = d;
    } else if (e > 0) {
        dec = -d - e - 1;
    } else {
        dec = -d - e - 2;
    }
    return dec < 0 ? 0 : dec;
}

// The printed digits of a value are its decimal digits to 15 significant places (as many as
// a typed value carries), rounded from there with halves away from zero, as a reader
// rounds: 108.125 becomes 108.13, and 2.675, stored a hair below its decimal value, becomes
// 2.68 too.  Only a value that differs from a half before its 16th significant digit
// rounds to the nearer side.
constexpr int CarriedDigits = 15;

// The first 15 significant decimal digits of |x| (x finite and not zero) and the power of
// ten of the first one: |x| = 0.d1d2... x 10^(exponent + 1).
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

DecimalDigits DigitsOf(Extended x) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", CarriedDigits - 1, std::fabs(x));
    DecimalDigits d;
    const std::string_view text(buffer);
    const std::size_t e = text.find('e');
    d.digits.reserve(CarriedDigits);
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.') d.digits.push_back(text[i]);
    }
    d.exponent = std::atoi(buffer + e + 1);
    return d;
}

// The first `keep` digits (none when keep <= 0), rounded half away from zero on the digit
// after them; the carry may add a leading digit ("999" becomes "1000").
std::string KeptDigits(const DecimalDigits& d, int keep) {
    std::string kept = keep > 0 ? d.digits.substr(0, static_cast<std::size_t>(keep)) : "";
    const bool up = keep >= 0 && keep < CarriedDigits &&
                    d.digits[static_cast<std::size_t>(keep)] >= '5';
    if (!up) return kept;
    int i = static_cast<int>(kept.size()) - 1;
    for (; i >= 0 && kept[static_cast<std::size_t>(i)] == '9'; --i) {
        kept[static_cast<std::size_t>(i)] = '0';
    }
    if (i >= 0) {
        ++kept[static_cast<std::size_t>(i)];
    } else {
        kept.insert(0, 1, '1');
    }
    return kept;
}

std::string Printf(const char* format, int precision, Extended x) {
    const int needed = std::snprintf(nullptr, 0, format, precision, x);
    if (needed <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, precision, x);
    return std::string(buffer.data(), static_cast<std::size_t>(needed));
}

// "1.23457E-05": one digit before the point, "E", the exponent's sign and two exponent
// digits (more only when the exponent needs them).
std::string ScientificText(Extended x) {
    if (!std::isfinite(x)) return Printf("%.*LE", ScientificDecimals, x);
    const DecimalDigits d = DigitsOf(x);
    std::string kept = KeptDigits(d, ScientificDecimals + 1);
    int exponent = d.exponent;
    if (static_cast<int>(kept.size()) > ScientificDecimals + 1) {  // 9.999995 became 10.00000
        kept.pop_back();
        ++exponent;
    }
    std::string s = x < 0 ? "-" : "";
    s += kept.substr(0, 1) + "." + kept.substr(1) + "E" + (exponent < 0 ? "-" : "+");
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    while (digits.size() < 2) digits.insert(0, 1, '0');
    return s + digits;
}

// Fixed notation with dec decimals; a negative value that reads as zero loses its sign.
std::string FixedText(Extended x, int dec) {
    std::string s;
    if (x == 0 || !std::isfinite(x)) {
        s = Printf("%.*Lf", dec, x);
    } else {
        const DecimalDigits d = DigitsOf(x);
        // Digits down to the last decimal shown; more than the digits carried (never with
        // the decimals the report asks for) are left to the library's exact rounding.
        const int keep = d.exponent + dec + 1;
        if (keep > CarriedDigits) {
            s = Printf("%.*Lf", dec, x);
        } else {
            std::string units = KeptDigits(d, keep);  // |x| in units of the last decimal
            const std::size_t lead = units.find_first_not_of('0');
            units.erase(0, lead == std::string::npos ? units.size() : lead);
            const bool zero = units.empty();
            while (static_cast<int>(units.size()) < dec + 1) units.insert(0, 1, '0');
            if (dec > 0) units.insert(units.size() - static_cast<std::size_t>(dec), 1, '.');
            s = (x < 0 && !zero ? "-" : "") + units;
        }
    }
    if (!s.empty() && s.front() == '-' &&
        s.find_first_of("123456789", 1) == std::string::npos) {
        s.erase(0, 1);
    }
    return s;
}

std::string ValueText(Extended x, int dec) {
    if (IsMissingValue(x)) return {};
    const Extended a = std::fabs(x);
    if (a >= 1.0E7L || (a > 0.0L && a <= 1.0E-4L)) return ScientificText(x);
    return FixedText(x, dec);
}

std::string RightAligned(std::string text, int width) {
    if (width > MaxFieldWidth) width = MaxFieldWidth;
    const int length = static_cast<int>(text.size());
    if (length < width) text.insert(0, static_cast<std::size_t>(width - length), ' ');
    return text;
}

// The P value of a sentence: four decimals.  The sided form reaches here with P = 0.0001
// itself, which is written "0.0001" like every other P value of the sentence.
void WriteSentencePValue(ResultsReport& report, Extended p) {
    if (p == 1.0E-4L) {
        report.Write(FixedText(p, 4));
    } else {
        WriteNumber(report, p, 4);
    }
}

void WriteSentenceEnd(ResultsReport& report, bool verdict, Extended p) {
    if (verdict) {
        report.Write(", considered ");
        WriteSignificanceWord(report, p);
        report.WriteLine("significant.");
    } else {
        report.WriteLine(". ");
    }
}

}  // namespace

std::string FormatNumber(Extended x, int d) {
    const int e = DecimalExponent(x);
    const int dec = DecimalsFor(d, e);
    const int width = dec + 2 + (e > 1 ? e : 0);
    return RightAligned(ValueText(x, dec), width);
}

std::string FormatNumberWidth(Extended x, int width, int d) {
    const int dec = DecimalsFor(d, DecimalExponent(x));
    return RightAligned(ValueText(x, dec), width);
}

void WriteNumber(ResultsReport& report, Extended x, int d) { report.Write(FormatNumber(x, d)); }

void WriteNumberWidth(ResultsReport& report, Extended x, int width, int d) {
    report.Write(FormatNumberWidth(x, width, d));
}

void WritePValueSentence(ResultsReport& report, int tails, bool verdict, Extended p) {
    report.Write("The ");
    if (tails == 1) report.Write("one-tailed ");
    if (tails == 2) report.Write("two-tailed ");
    report.Write("P value is ");
    if (p <= 1.0E-4L) {
        report.Write("< 0.0001");
    } else if (p >= 0.9999L) {
        report.Write("> 0.9999");
    } else {
        WriteSentencePValue(report, p);
    }
    WriteSentenceEnd(report, verdict, p);
}

void WriteSidedPValueSentence(ResultsReport& report, int tails, bool verdict, Extended p) {
    report.Write("The ");
    if (tails == 1) report.Write("one-sided ");
    if (tails == 2) report.Write("two-sided ");
    report.Write("P value is ");
    if (p < 1.0E-4L) {
        report.Write("< 0.0001");
    } else {
        WriteSentencePValue(report, p);
    }
    WriteSentenceEnd(report, verdict, p);
}

std::string_view SignificanceWord(Extended p) {
    if (p < 0.001L) return "extremely ";
    if (p < 0.01L) return "very ";
    if (p < 0.05L) return "";
    if (p < 0.1L) return "not quite ";
    return "not ";
}

void WriteSignificanceWord(ResultsReport& report, Extended p) {
    report.Write(SignificanceWord(p));
}

}  // namespace zelkon
