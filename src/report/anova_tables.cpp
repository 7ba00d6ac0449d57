// The analysis-of-variance tables.
#include "report/anova_tables.h"

#include "report/results_tables_common.h"

namespace zelkon {

namespace {

constexpr int SourceHeadingColumn = 1;
constexpr int SourceHeadingWidth = 25;
constexpr int DfWidth = 10;
constexpr int NumberWidth = 8;

void WriteSourceAndNumbers(ResultsReport& report, const AnovaLayout& layout,
                           std::string_view source, std::int32_t df, Extended ss) {
    MoveToColumn(report, layout.sourceColumn);
    if (layout.emphasiseSource) report.ToggleEmphasis1();
    report.Write(source);
    if (layout.emphasiseSource) report.ToggleEmphasis1();
    MoveToColumn(report, layout.dfColumn);
    WriteIntegerField(report, df, DfWidth);
    MoveToColumn(report, layout.ssColumn);
    WriteNumberField(report, ss, NumberWidth);
}

}  // namespace

void WriteAnovaHeading(ResultsReport& report, const AnovaLayout& layout) {
    BeginHeading(report);
    WriteHeadingLine(report, {{SourceHeadingColumn, "Source of", SourceHeadingWidth},
                              {layout.dfColumn, "Degrees of", DfWidth},
                              {layout.ssColumn, "Sum of", NumberWidth},
                              {layout.msColumn, "Mean", NumberWidth}});
    WriteHeadingLine(report, {{SourceHeadingColumn, "variation", SourceHeadingWidth},
                              {layout.dfColumn, "freedom", DfWidth},
                              {layout.ssColumn, "squares", NumberWidth},
                              {layout.msColumn, "square", NumberWidth}});
    EndHeading(report, {{layout.sourceColumn, layout.sourceUnderline},
                        {layout.dfColumn, DfWidth},
                        {layout.ssColumn, NumberWidth},
                        {layout.msColumn, NumberWidth}});
}

void WriteAnovaRow(ResultsReport& report, const AnovaLayout& layout, std::string_view source,
                   std::int32_t df, Extended ss, Extended ms) {
    WriteSourceAndNumbers(report, layout, source, df, ss);
    MoveToColumn(report, layout.msColumn);
    WriteNumberField(report, ms, NumberWidth);
    report.NewLine();
}

void WriteAnovaRow(ResultsReport& report, const AnovaLayout& layout, std::string_view source,
                   std::int32_t df, Extended ss) {
    WriteSourceAndNumbers(report, layout, source, df, ss);
    report.NewLine();
}

void WriteAnovaTotalRow(ResultsReport& report, const AnovaLayout& layout, std::int32_t df,
                        Extended ss) {
    // The dashes lie under the source, degrees-of-freedom and sum-of-squares columns, each
    // run at its column's place and as long as that column's underline.
    WriteDashLine(report, {{layout.sourceColumn, layout.sourceUnderline},
                           {layout.dfColumn, DfWidth},
                           {layout.ssColumn, NumberWidth}});
    WriteAnovaRow(report, layout, layout.total, df, ss);
}

}  // namespace zelkon
