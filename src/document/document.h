// One open data file: its data set, analysis choices, graph settings, results report,
// notes, file name and the flags of its life (untitled, changed since saved, needs
// recalculation), the analysis error code, the results help topic and the current step.
// The desktop window wraps one; the command line uses it directly.
#pragma once

#include <cstdint>
#include <string>

#include "core/analysis_choices.h"
#include "core/analysis_entry.h"
#include "core/results_report.h"
#include "document/data_set.h"
#include "document/graph_choices.h"
#include "document/steps.h"

namespace zelkon {

class Document {
public:
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    DataSet& Data() { return data_; }
    const DataSet& Data() const { return data_; }
    DataTable& Table() { return data_.Table(); }
    const DataTable& Table() const { return data_.Table(); }
    DataFormat Format() const { return data_.Format(); }
    AnalysisChoices& Choices() { return choices_; }
    const AnalysisChoices& Choices() const { return choices_; }
    GraphChoices& Graph() { return graph_; }
    const GraphChoices& Graph() const { return graph_; }
    ResultsReport& Report() { return report_; }
    const ResultsReport& Report() const { return report_; }
    /// The notes as text with CR LF line ends.
    std::string& Notes() { return notes_; }
    const std::string& Notes() const { return notes_; }

    /// What the regressions leave behind for the graph.
    RegressionLineResult& RegressionLine() { return regressionLine_; }
    const RegressionLineResult& RegressionLine() const { return regressionLine_; }
    MultipleRegressionResult& MultipleRegression() { return multipleRegression_; }
    const MultipleRegressionResult& MultipleRegression() const { return multipleRegression_; }

    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }
    bool Untitled() const { return untitled_; }
    void SetUntitled(bool untitled) { untitled_ = untitled; }
    /// Changed since it was last saved.
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    bool NeedsRecalculation() const { return needsRecalculation_; }
    void SetNeedsRecalculation(bool needs) { needsRecalculation_ = needs; }

    std::int32_t ErrorCode() const { return errorCode_; }
    void SetErrorCode(std::int32_t code) { errorCode_ = code; }
    std::int32_t ResultsHelpTopic() const { return resultsHelpTopic_; }
    void SetResultsHelpTopic(std::int32_t topic) { resultsHelpTopic_ = topic; }
    /// The result of the last analysis as JSON (empty when none ran).
    const std::string& ResultJson() const { return resultJson_; }
    void SetResultJson(std::string json) { resultJson_ = std::move(json); }

    Step CurrentStep() const { return currentStep_; }
    void SetCurrentStep(Step step) { currentStep_ = step; }

    /// Every change of data or of a choice: needs recalculation, changed since saved.
    void MarkModified();

    /// A new document: the data set reset, choices and graph settings at their defaults,
    /// report and notes empty, needs recalculation.  The format is kept.
    void Reset();

private:
    DataSet data_;
    AnalysisChoices choices_;
    GraphChoices graph_;
    ResultsReport report_;
    std::string notes_;
    RegressionLineResult regressionLine_;
    MultipleRegressionResult multipleRegression_;
    std::string fileName_;
    bool untitled_ = true;
    bool modified_ = false;
    bool needsRecalculation_ = true;
    std::int32_t errorCode_ = 0;
    std::int32_t resultsHelpTopic_ = 0;
    std::string resultJson_;
    Step currentStep_ = Step::Start;
};

}  // namespace zelkon
