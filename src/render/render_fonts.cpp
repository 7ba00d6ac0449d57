// Fonts sized in device pixels.
#include "render/render_fonts.h"

#include <QPaintDevice>

#include <algorithm>

namespace zelkon {

double PointsToPixels(const QPaintDevice& device, double points) {
    const int dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 96;
    return points * dpi / 72.0;
}

namespace {
QFont SizedFont(const QString& family, QFont::StyleHint hint, const QPaintDevice& device, double points) {
    QFont font(family);
    font.setStyleHint(hint);
    font.setPixelSize(std::max(1, static_cast<int>(PointsToPixels(device, points) + 0.5)));
    return font;
}
}  // namespace

QFont GraphFont(const QPaintDevice& device, double points) {
    return SizedFont(QStringLiteral("DejaVu Sans"), QFont::SansSerif, device, points);
}

QFont FixedPitchFont(const QPaintDevice& device, double points) {
    QFont font = SizedFont(QStringLiteral("DejaVu Sans Mono"), QFont::Monospace, device, points);
    font.setFixedPitch(true);
    return font;
}

}  // namespace zelkon
