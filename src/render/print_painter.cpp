// Printed pages drawn with QPainter on a paged device.
#include "render/print_painter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "output/graph_model.h"
#include "render/graph_painter.h"
#include "render/render_fonts.h"

namespace zelkon {

namespace {

/// The font of a run: the plain font with the run's styles.
QFont RunFont(const QFont& plain, const PrintRun& run) {
    QFont font = plain;
    font.setBold(run.bold);
    font.setItalic(run.italic);
    font.setUnderline(run.underline);
    return font;
}

/// Draws the runs of a line from the left edge, each character in its cell of the grid, so
/// that columns stay aligned whatever the styles.
void DrawLine(QPainter& painter, const QFont& plain, const PrintLine& line, double baseline,
              const PrintTextGeometry& geometry) {
    std::size_t column = 0;
    for (const PrintRun& run : line.runs) {
        if (run.text.empty()) continue;
        painter.setFont(RunFont(plain, run));
        painter.drawText(QPointF(static_cast<double>(column) * geometry.charWidth, baseline),
                         QString::fromLatin1(run.text.data(), static_cast<qsizetype>(run.text.size())));
        column += run.text.size();
    }
}

}  // namespace

QFont PrintTextFont(const QPaintDevice& device) { return FixedPitchFont(device, PrintFontPoints); }

PrintTextGeometry PrintGeometryFor(const QPaintDevice& device) {
    const QFontMetricsF metrics(PrintTextFont(device), &device);
    PrintTextGeometry geometry;
    geometry.lineHeight = metrics.lineSpacing();
    geometry.charWidth = metrics.horizontalAdvance(QLatin1Char('M'));
    geometry.ascent = metrics.ascent();
    // Whole lines only: the last line's descent must stay on the page.
    geometry.setup.linesPerPage = std::max(
        1, static_cast<int>(std::floor((device.height() - metrics.descent()) / geometry.lineHeight + 1e-9)));
    geometry.setup.charsPerLine =
        std::max(1, static_cast<int>(std::floor(device.width() / geometry.charWidth + 1e-9)));
    return geometry;
}

PrintOutcome PaintTextPages(QPagedPaintDevice& device, const std::vector<PrintPage>& pages,
                            const PrintTextGeometry& geometry, const PrintLineProgress& progress,
                            const PrintPageRange& range) {
    QPainter painter;
    if (!painter.begin(&device)) return PrintOutcome::Failed;
    painter.setPen(Qt::black);
    const QFont plain = PrintTextFont(device);
    const int headerLines = 1 + std::max(geometry.setup.blankLinesAfterHeader, 0);
    bool first = true;
    for (const PrintPage& page : pages) {
        if (!range.Contains(page.number)) continue;
        if (!first && !device.newPage()) {
            painter.end();
            return PrintOutcome::Failed;
        }
        first = false;
        painter.setFont(plain);
        const std::string header = page.HeaderText(geometry.setup.charsPerLine);
        painter.drawText(QPointF(0, geometry.ascent),
                         QString::fromLatin1(header.data(), static_cast<qsizetype>(header.size())));
        int row = headerLines;
        for (const PrintLine& line : page.lines) {
            DrawLine(painter, plain, line, geometry.ascent + row * geometry.lineHeight, geometry);
            ++row;
            if (progress && !progress(page.number)) {
                painter.end();
                return PrintOutcome::Cancelled;
            }
        }
    }
    return painter.end() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

PrintOutcome PrintTextLines(QPagedPaintDevice& device, std::string_view title,
                            const std::vector<std::string>& lines, const PrintLineProgress& progress,
                            const PrintPageRange& range) {
    const PrintTextGeometry geometry = PrintGeometryFor(device);
    return PaintTextPages(device, PaginateTextLines(title, lines, geometry.setup), geometry, progress, range);
}

PrintOutcome PrintGraphPage(QPagedPaintDevice& device, const GraphModel& model) {
    QPainter painter;
    if (!painter.begin(&device)) return PrintOutcome::Failed;
    const double width = device.width();
    const double height = std::min<double>(device.height(), width * 0.75);
    PaintGraph(painter, QRectF(0, 0, width, height), model);
    return painter.end() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

PrintOutcome PrintJobPages(QPagedPaintDevice& device, const PrintJob& job, const GraphModel* graph,
                           const PrintLineProgress& progress, const PrintPageRange& range) {
    switch (job.kind) {
        case PrintKind::Text: return PrintTextLines(device, job.title, job.lines, progress, range);
        case PrintKind::Graph: return graph != nullptr ? PrintGraphPage(device, *graph) : PrintOutcome::Printed;
        case PrintKind::Nothing: break;
    }
    return PrintOutcome::Printed;
}

}  // namespace zelkon
