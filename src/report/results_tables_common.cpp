// Shared pieces of the results tables.
#include "report/results_tables_common.h"

#include "stats/wording.h"

namespace zelkon {

namespace {

// Digits argument of every table number: five significant digits (four below 10).
constexpr int TableDigits = -5;

// The significance categories arrive as extended values (0.001L) or as doubles widened to
// extended (0.001, a hair larger); both count as lying on the boundary.
bool AtMost(Extended p, Extended extendedThreshold, double doubleThreshold) {
    return p <= extendedThreshold || p <= static_cast<Extended>(doubleThreshold);
}

bool AtMost001(Extended p) { return AtMost(p, 0.001L, 0.001); }
bool AtMost01(Extended p) { return AtMost(p, 0.01L, 0.01); }
bool AtMost05(Extended p) { return AtMost(p, 0.05L, 0.05); }

}  // namespace

void MoveToColumn(ResultsReport& report, int position) {
    if (position <= 0) return;
    report.PadToColumn(position);
    // A field wider than its column may have pushed past this one: keep the next apart.
    report.SeparateNextField();
}

std::string RightAlignedText(std::string_view text, int width) {
    std::string out;
    const int len = static_cast<int>(text.size());
    if (len < width) out.assign(static_cast<std::size_t>(width - len), ' ');
    out.append(text);
    return out;
}

std::string LeftAlignedText(std::string_view text, int width) {
    std::string out(text);
    const int len = static_cast<int>(text.size());
    if (len < width) out.append(static_cast<std::size_t>(width - len), ' ');
    return out;
}

void WriteTitleRight(ResultsReport& report, std::string_view title, int width) {
    report.Write(RightAlignedText(title.substr(0, MaxTableTitle), width));
}

void WriteTitleLeft(ResultsReport& report, std::string_view title, int width) {
    report.Write(LeftAlignedText(title.substr(0, MaxTableTitle), width));
}

void WriteNumberField(ResultsReport& report, Extended x, int width) {
    WriteNumberWidth(report, x, width, TableDigits);
}

void WriteIntegerField(ResultsReport& report, std::int64_t i, int width) {
    report.WriteIntegerWidth(i, width);
}

void WriteValueOrUnknown(ResultsReport& report, Extended x, int width) {
    if (IsMissingValue(x)) {
        report.Write(RightAlignedText(UnknownText, width));
    } else {
        WriteNumberField(report, x, width);
    }
}

void BeginHeading(ResultsReport& report) { report.ToggleEmphasis1(); }

void WriteHeadingLine(ResultsReport& report, const std::vector<HeadingWord>& words) {
    for (const HeadingWord& word : words) {
        MoveToColumn(report, word.position);
        if (word.width > 0) {
            report.Write(ResultsReport::Centre(word.text, word.width));
        } else {
            report.Write(word.text);
        }
    }
    report.NewLine();
}

void EndHeading(ResultsReport& report, const std::vector<ColumnRun>& underline) {
    for (const ColumnRun& run : underline) {
        MoveToColumn(report, run.position);
        report.WriteRule(run.length);
    }
    report.ToggleEmphasis1();
    report.NewLine();
}

void WriteDashLine(ResultsReport& report, const std::vector<ColumnRun>& runs) {
    for (const ColumnRun& run : runs) {
        MoveToColumn(report, run.position);
        report.WriteDashes(run.length);
    }
    report.NewLine();
}

std::string_view SignificanceCode(Extended p) {
    if (AtMost001(p)) return CodeP001;
    if (AtMost01(p)) return CodeP01;
    if (AtMost05(p)) return CodeP05;
    return CodeNotSignificant;
}

std::string_view ControlSignificanceCode(Extended p) {
    if (AtMost01(p)) return CodeP01;
    if (AtMost05(p)) return CodeP05;
    return CodeNotSignificant;
}

}  // namespace zelkon
