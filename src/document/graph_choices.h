// The graph settings a data file keeps: the multiple-regression graph's "Analyzed data only"
// switch and the columns of its X and Y lists, and the contingency graphs' columns-or-rows
// switch, which lives only as long as the document.
#pragma once

namespace zelkon {

/// Settings of the graph page that are saved with the data.
struct GraphChoices {
    /// `GraphSelectedDataCheckBox`, "Analyzed data only".
    bool analyzedDataOnly = false;
    /// Column letters of the multiple-regression graph's X and Y lists: "A" to "Z", or "*"
    /// (in the Y list: the residuals of the last fit).
    char xColumn = 'A';
    char yColumn = 'B';
    /// `GraphRowsRadioButton`: the contingency graphs show row totals instead of column
    /// totals.  Kept while the document is open; the data file does not record it.
    bool byRows = false;

    void Reset() { *this = GraphChoices{}; }
};

}  // namespace zelkon
