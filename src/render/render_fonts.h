// The fonts the renderer draws with, sized for the device drawn on: a proportional font for
// graphs and the fixed-pitch font of printed text.  Sizes are given in points and turned into
// pixels of the device, so a 1200-dpi PDF and a 96-dpi screen show the same picture.
#pragma once

#include <QFont>

class QPaintDevice;

namespace zelkon {

/// The graphs' font ("DejaVu Sans" where installed) at `points` on `device`.
QFont GraphFont(const QPaintDevice& device, double points);
/// The fixed-pitch font of printed text ("DejaVu Sans Mono" where installed) at `points`.
QFont FixedPitchFont(const QPaintDevice& device, double points);
/// Pixels of `device` for a length in points (1/72 inch).
double PointsToPixels(const QPaintDevice& device, double points);

}  // namespace zelkon
