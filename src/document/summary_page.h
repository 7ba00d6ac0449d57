// Preparing step 3, the column statistics: typed summaries that lost their mean or both
// errors are emptied, then every changed column is summarised and tested for normality.
#pragma once

#include "document/document.h"

namespace zelkon {

/// Brings every column record up to date for the statistics page (and the command line's
/// statistics output).
void PrepareColumnStatistics(Document& document);

}  // namespace zelkon
