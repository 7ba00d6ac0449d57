// The graph of step 6 drawn with QPainter: titles, axes with their ticks and labels, bars
// with error bars, stacked contingency bars, points, the regression line with its confidence
// band or forced-fit limit lines, and the legend.  One renderer for the screen, the printer
// page and the SVG, PDF and PNG files.
#pragma once

#include <QRectF>

#include "output/graph_model.h"

class QPainter;

namespace zelkon {

/// Draws `model` into `area` of the painter's device.  Fonts, pens and the model's margins
/// (given in pixels of a 96-dpi screen) are scaled to the device's resolution, so every target
/// shows the same picture.  The painter's state is restored afterwards.
void PaintGraph(QPainter& painter, const QRectF& area, const GraphModel& model);

}  // namespace zelkon
