// The point graphs of the graph model: the X-and-Y graph with its regression line and band,
// and the multiple-regression graph.  Used by graph_model.cpp only.
#pragma once

#include "document/document.h"
#include "output/graph_model.h"

namespace zelkon {

/// True when the cell holds a value that is not excluded (a graph treats excluded values as
/// missing).
bool GraphValuePresent(const DataTable& table, int row, int column);

/// Fills the series, titles, legend and switches of the X-and-Y graph.
void BuildXYGraph(const Document& document, GraphModel& model);

/// Fills the lists, points and titles of the multiple-regression graph.
void BuildMultipleRegressionGraph(const Document& document, GraphModel& model);

}  // namespace zelkon
