// The graph settings a data file keeps: the multiple-regression graph's "Analyzed data only"
// switch and the columns of its X and Y lists.
#pragma once

namespace zelkon {

/// Settings of the graph page that are saved with the data.
struct GraphChoices {
    /// `GraphSelectedDataCheckBox`, "Analyzed data only".
    bool analyzedDataOnly = false;
    /// Column letters of the multiple-regression graph's X and Y lists: "A" to "Z", or "*"
    /// for none.
    char xColumn = 'A';
    char yColumn = 'B';

    void Reset() { *this = GraphChoices{}; }
};

}  // namespace zelkon
