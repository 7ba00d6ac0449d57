// The analyses of this program, as the run reaches them.
#include "analyses/contingency/contingency_report.h"
#include "analyses/contingency/two_by_two_report.h"
#include "analyses/groups/column_tests.h"
#include "analyses/groups/multi_column_entry.h"
#include "analyses/regression/correlation.h"
#include "analyses/regression/linear_regression_entry.h"
#include "analyses/regression/multiple_regression_entry.h"
#include "document/analysis_run.h"

namespace zelkon {

const AnalysisEntryPoints& DefaultAnalysisEntryPoints() {
    static const AnalysisEntryPoints entries = [] {
        AnalysisEntryPoints e;
        e.oneColumn = RunOneColumnTest;
        e.twoColumn = RunTwoColumnTest;
        e.multiColumn = MultiColumnComparison;
        e.regression = LinearRegression;
        e.pearson = PearsonEntry;
        e.spearman = SpearmanEntry;
        e.contingency = RunContingencyAnalysis;
        e.twoByTwo = RunTwoByTwoAnalysis;
        e.multipleRegression = MultipleRegression;
        return e;
    }();
    return entries;
}

}  // namespace zelkon
