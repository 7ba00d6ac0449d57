// The print painter: draws the pages of the print layout on a paged device (a printer, the
// print preview's printer or a PDF writer) in the fixed-pitch font at 10 points, each page
// with its header line, bold, italic and underlined runs set in their styles.  How many
// lines fit on a page follows from the device's page height and the font.  The graph job
// draws the chart on one page.
#pragma once

#include <QFont>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "output/print_layout.h"

class QPagedPaintDevice;
class QPaintDevice;

namespace zelkon {

struct GraphModel;

/// The size of printed text.
inline constexpr double PrintFontPoints = 10.0;

/// The text grid of a device's page: the layout's lines and characters per page and the
/// size of one character cell in device pixels.
struct PrintTextGeometry {
    PrintPageSetup setup;
    double lineHeight = 0;
    double charWidth = 0;
    double ascent = 0;
};

/// The printed text's font (plain) on `device`.
QFont PrintTextFont(const QPaintDevice& device);

/// The text grid of `device`: as many whole lines and characters as its page (the area
/// inside the margins) holds in the printed text's font.
PrintTextGeometry PrintGeometryFor(const QPaintDevice& device);

/// Called after each printed text line with the number of the page it is on; answering
/// false stops printing after that line.
using PrintLineProgress = std::function<bool(int pageNumber)>;

/// How a print ended.
enum class PrintOutcome {
    Printed,    ///< every page was drawn
    Cancelled,  ///< the progress callback stopped it; the pages so far were drawn
    Failed      ///< the device could not be painted on
};

/// The pages to print, by number (the print dialog's page range; all pages by default).
struct PrintPageRange {
    int first = 1;
    int last = 0;  ///< 0: to the last page
    bool Contains(int page) const { return page >= first && (last <= 0 || page <= last); }
};

/// Draws laid-out pages with the geometry's grid: the header line at the top of each page,
/// then each page's lines after the header's blank lines.  Pages outside `range` are skipped.
PrintOutcome PaintTextPages(QPagedPaintDevice& device, const std::vector<PrintPage>& pages,
                            const PrintTextGeometry& geometry, const PrintLineProgress& progress = {},
                            const PrintPageRange& range = {});

/// `PrintTextLines`: lays out the lines under the title for `device`'s page and draws them.
PrintOutcome PrintTextLines(QPagedPaintDevice& device, std::string_view title,
                            const std::vector<std::string>& lines, const PrintLineProgress& progress = {},
                            const PrintPageRange& range = {});

/// Draws the graph on one page, across the page's width and at most three quarters of the
/// width high.
PrintOutcome PrintGraphPage(QPagedPaintDevice& device, const GraphModel& model);

/// Prints a job: its text, or for a graph job `graph` (nothing when that is null).  A job
/// with nothing to print draws nothing and counts as printed.
PrintOutcome PrintJobPages(QPagedPaintDevice& device, const PrintJob& job, const GraphModel* graph,
                           const PrintLineProgress& progress = {}, const PrintPageRange& range = {});

}  // namespace zelkon
