#include "document/summary_page.h"

#include "stats/column_stats.h"

namespace zelkon {

void PrepareColumnStatistics(Document& document) {
    document.Data().PrepareSummaryPage();
    UpdateColumnSummaries(document.Table());
}

}  // namespace zelkon
