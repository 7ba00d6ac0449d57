// The nonparametric tests of the multi-column entry routine.  Kruskal-Wallis and Friedman
// are not written yet: their entries stay empty until they are, and the entry routine then
// reports that the test is not available.
#include "analyses/groups/multi_column_nonparametric.h"

namespace zelkon {

NonparametricTests DefaultNonparametricTests() {
    return NonparametricTests{};
}

}  // namespace zelkon
