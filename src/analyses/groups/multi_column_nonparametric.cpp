// The nonparametric tests of the multi-column entry routine: Kruskal-Wallis for unmatched
// and Friedman for matched columns.
#include "analyses/groups/multi_column_nonparametric.h"

#include "analyses/groups/friedman.h"
#include "analyses/groups/kruskal_wallis.h"

namespace zelkon {

NonparametricTests DefaultNonparametricTests() {
    return NonparametricTests{KruskalWallisTest, FriedmanTest};
}

}  // namespace zelkon
