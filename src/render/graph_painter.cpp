// The graph renderer: lays out the titles, legend, axis titles and tick labels around the
// plot, then draws the series of the graph model clipped to the plot.
#include "render/graph_painter.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "render/render_fonts.h"

namespace zelkon {

namespace {

// Font sizes in points.
constexpr double TitlePoints = 12.0;
constexpr double SubtitlePoints = 10.0;
constexpr double LabelPoints = 9.0;
constexpr double AxisTitlePoints = 10.0;

// The margins of the model may take at most this share of the area's width.
constexpr double MaxMarginShare = 0.4;

QColor PaintColor(const GraphColor& c) {
    // The named colours of the graphs in slightly softer shades that print well.
    if (c == GraphRed) return QColor(214, 39, 40);
    if (c == GraphBlue) return QColor(31, 92, 180);
    return QColor(c.red, c.green, c.blue);
}

QString Text(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

// Lengths of a 96-dpi screen turned into pixels of the device.
struct DeviceScale {
    double factor = 1.0;
    double operator()(double screenPixels) const { return screenPixels * factor; }
};

DeviceScale ScaleFor(const QPaintDevice* device) {
    const int dpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
    return DeviceScale{dpi / 96.0};
}

// A mapping of one axis's range onto pixel coordinates.
struct AxisMap {
    double lo = 0.0, hi = 1.0;   // data range
    double from = 0.0, to = 1.0;  // pixels of lo and hi
    double operator()(double v) const {
        const double span = hi - lo;
        if (!(span > 0.0)) return (from + to) / 2.0;
        return from + (v - lo) / span * (to - from);
    }
};

struct Fonts {
    QFont title, subtitle, label, axisTitle;
};

Fonts MakeFonts(const QPaintDevice& device) {
    Fonts f;
    f.title = GraphFont(device, TitlePoints);
    f.title.setBold(true);
    f.subtitle = GraphFont(device, SubtitlePoints);
    f.label = GraphFont(device, LabelPoints);
    f.axisTitle = GraphFont(device, AxisTitlePoints);
    f.axisTitle.setBold(true);
    return f;
}

// Draws one centred line of text at the top of `rest` and takes its height off `rest`.
void DrawTitleLine(QPainter& p, QRectF& rest, const QFont& font, const QString& text) {
    if (text.trimmed().isEmpty()) return;
    const QFontMetricsF fm(font);
    p.setFont(font);
    const QString shown = fm.elidedText(text, Qt::ElideRight, rest.width());
    const QRectF line(rest.left(), rest.top(), rest.width(), fm.height());
    p.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, shown);
    rest.setTop(rest.top() + fm.height());
}

void DrawLegendSample(QPainter& p, const QRectF& box, const GraphLegendItem& item, const DeviceScale& s) {
    const QColor color = PaintColor(item.color);
    if (item.sample == LegendSample::Bar) {
        const QRectF bar(box.left(), box.center().y() - s(5), box.width(), s(10));
        p.setPen(QPen(color.darker(130), s(1)));
        p.setBrush(color);
        p.drawRect(bar);
        return;
    }
    QPen pen(color, s(item.sample == LegendSample::DottedLine ? 1.3 : 1.6));
    if (item.sample == LegendSample::DottedLine) pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
}

// The legend: one centred row of samples and texts under the titles.
void DrawLegend(QPainter& p, QRectF& rest, const GraphModel& model, const QFont& font, const DeviceScale& s) {
    if (model.legend.empty()) return;
    const QFontMetricsF fm(font);
    const double sampleWidth = s(24);
    const double gap = s(6);
    const double itemGap = s(22);
    double total = 0.0;
    for (const GraphLegendItem& item : model.legend) {
        total += sampleWidth + gap + fm.horizontalAdvance(Text(item.text));
    }
    total += itemGap * static_cast<double>(model.legend.size() - 1);
    double x = rest.left() + std::max(0.0, (rest.width() - total) / 2.0);
    const double top = rest.top() + s(4);
    const double height = fm.height();
    p.setFont(font);
    for (const GraphLegendItem& item : model.legend) {
        DrawLegendSample(p, QRectF(x, top, sampleWidth, height), item, s);
        x += sampleWidth + gap;
        const QString text = Text(item.text);
        const double width = std::min(fm.horizontalAdvance(text), std::max(0.0, rest.right() - x));
        p.setPen(Qt::black);
        p.drawText(QRectF(x, top, width, height), Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(text, Qt::ElideRight, width));
        x += fm.horizontalAdvance(text) + itemGap;
    }
    rest.setTop(top + height + s(4));
}

// Every n-th label of the bottom axis, so that neighbours do not overlap.
int LabelStride(const GraphAxis& axis, const AxisMap& map, const QFontMetricsF& fm, double gap) {
    if (axis.ticks.size() < 2) return 1;
    double widest = 0.0;
    for (const AxisTick& tick : axis.ticks) widest = std::max(widest, fm.horizontalAdvance(Text(tick.label)));
    double spacing = std::abs(map(axis.ticks[1].value) - map(axis.ticks[0].value));
    for (std::size_t i = 2; i < axis.ticks.size(); ++i) {
        spacing = std::min(spacing, std::abs(map(axis.ticks[i].value) - map(axis.ticks[i - 1].value)));
    }
    if (!(spacing > 0.0)) return 1;
    return std::max(1, static_cast<int>(std::ceil((widest + gap) / spacing)));
}

void DrawBars(QPainter& p, const GraphModel& model, const AxisMap& xMap, const AxisMap& yMap, const DeviceScale& s) {
    const double slot = std::abs(xMap(1.0) - xMap(0.0));
    for (const GraphBarSeries& series : model.barSeries) {
        const QColor color = PaintColor(series.color);
        const double width = slot * series.widthFraction;
        for (const GraphBar& bar : series.bars) {
            const double x = xMap(bar.position);
            const double y0 = yMap(bar.base);
            const double y1 = yMap(bar.base + bar.value);
            const QRectF rect(QPointF(x - width / 2.0, std::min(y0, y1)), QPointF(x + width / 2.0, std::max(y0, y1)));
            p.setPen(QPen(color.darker(140), s(1)));
            p.setBrush(color);
            p.drawRect(rect);
        }
    }
    // Error bars over every bar, after all bars so that no stacked part hides one.
    p.setPen(QPen(Qt::black, s(1.3)));
    for (const GraphBarSeries& series : model.barSeries) {
        const double cap = std::min(slot * series.widthFraction * 0.5, s(16)) / 2.0;
        for (const GraphBar& bar : series.bars) {
            if (!bar.hasError || !(bar.error > 0.0)) continue;
            const double x = xMap(bar.position);
            const double top = bar.base + bar.value;
            const double lo = yMap(top - bar.error);
            const double hi = yMap(top + bar.error);
            p.drawLine(QPointF(x, lo), QPointF(x, hi));
            p.drawLine(QPointF(x - cap, lo), QPointF(x + cap, lo));
            p.drawLine(QPointF(x - cap, hi), QPointF(x + cap, hi));
        }
    }
}

// Cuts the segment a-b to `box` (Liang-Barsky); false when nothing of it is inside.  The
// lines are cut here rather than by the painter's clip, which not every target keeps (an SVG
// picture drops it).
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& box) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(), box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
    }
    const QPointF start = a;
    a = start + QPointF(dx * t0, dy * t0);
    b = start + QPointF(dx * t1, dy * t1);
    return true;
}

void DrawLine(QPainter& p, const GraphLine& line, const AxisMap& xMap, const AxisMap& yMap, const QRectF& plot,
              const DeviceScale& s) {
    if (line.points.size() < 2) return;
    QPen pen(PaintColor(line.color), s(line.style == GraphLineStyle::Dotted ? 1.3 : 1.6));
    if (line.style == GraphLineStyle::Dotted) pen.setStyle(Qt::DotLine);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    bool open = false;  // the path's last point is the end of the previous piece
    for (std::size_t i = 1; i < line.points.size(); ++i) {
        const GraphPoint& from = line.points[i - 1];
        const GraphPoint& to = line.points[i];
        if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) || !std::isfinite(to.y)) {
            open = false;
            continue;
        }
        QPointF a(xMap(from.x), yMap(from.y));
        QPointF b(xMap(to.x), yMap(to.y));
        const QPointF originalB = b;
        if (!ClipSegment(a, b, plot)) {
            open = false;
            continue;
        }
        if (!open || path.currentPosition() != a) path.moveTo(a);
        path.lineTo(b);
        open = b == originalB;
    }
    p.drawPath(path);
}

void DrawPoints(QPainter& p, const GraphModel& model, const AxisMap& xMap, const AxisMap& yMap, const DeviceScale& s) {
    const QColor color = PaintColor(model.pointColor);
    p.setPen(QPen(color.darker(150), s(0.8)));
    p.setBrush(color);
    const double r = s(3.2);
    for (const GraphPoint& point : model.points) {
        if (!std::isfinite(point.x) || !std::isfinite(point.y)) continue;
        p.drawEllipse(QPointF(xMap(point.x), yMap(point.y)), r, r);
    }
}

}  // namespace

void PaintGraph(QPainter& painter, const QRectF& area, const GraphModel& model) {
    if (area.width() <= 0.0 || area.height() <= 0.0) return;
    QPaintDevice* device = painter.device();
    if (device == nullptr) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const DeviceScale s = ScaleFor(device);
    const Fonts fonts = MakeFonts(*device);
    painter.fillRect(area, Qt::white);

    QRectF rest = area.adjusted(s(8), s(8), -s(8), -s(6));
    // The note goes on the last line, under the axis title.
    if (!model.note.empty()) {
        const QFontMetricsF noteMetrics(fonts.label);
        const QRectF line(rest.left(), rest.bottom() - noteMetrics.height(), rest.width(), noteMetrics.height());
        painter.setFont(fonts.label);
        painter.setPen(Qt::black);
        painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter,
                         noteMetrics.elidedText(Text(model.note), Qt::ElideRight, line.width()));
        rest.setBottom(line.top() - s(4));
    }
    DrawTitleLine(painter, rest, fonts.title, Text(model.title));
    DrawTitleLine(painter, rest, fonts.subtitle, Text(model.subtitle));
    DrawLegend(painter, rest, model, fonts.label, s);
    rest.setTop(rest.top() + s(10));

    // The model's margins, kept to a share of the width so that a narrow area still has a plot.
    double leftMargin = s(model.margins.left);
    double rightMargin = s(model.margins.right);
    const double marginLimit = rest.width() * MaxMarginShare;
    if (leftMargin + rightMargin > marginLimit && leftMargin + rightMargin > 0.0) {
        const double shrink = marginLimit / (leftMargin + rightMargin);
        leftMargin *= shrink;
        rightMargin *= shrink;
    }

    const QFontMetricsF labelMetrics(fonts.label);
    const QFontMetricsF titleMetrics(fonts.axisTitle);
    const double tickLength = s(5);
    const double labelGap = s(4);
    double leftLabelWidth = 0.0;
    for (const AxisTick& tick : model.leftAxis.ticks) {
        leftLabelWidth = std::max(leftLabelWidth, labelMetrics.horizontalAdvance(Text(tick.label)));
    }
    const bool leftTitle = !model.leftAxis.title.empty();
    const bool bottomTitle = !model.bottomAxis.title.empty();
    const double leftTitleWidth = leftTitle ? titleMetrics.height() + s(6) : 0.0;
    const double bottomTitleHeight = bottomTitle ? titleMetrics.height() + s(4) : 0.0;

    // The plot sits in the middle of the picture: the wider of the two sides (the left one
    // holds the axis title and labels besides its margin) is kept on both.
    QRectF plot = rest;
    const double leftSide = leftMargin + leftTitleWidth + leftLabelWidth + labelGap + tickLength;
    const double side = std::max(leftSide, rightMargin);
    plot.setLeft(rest.left() + side);
    plot.setRight(rest.right() - side);
    plot.setBottom(rest.bottom() - bottomTitleHeight - labelMetrics.height() - labelGap - tickLength);
    // Half a label of room above the top tick label, and the last bottom label must fit.
    plot.setTop(rest.top() + labelMetrics.height() / 2.0);
    if (plot.width() < s(20) || plot.height() < s(20)) {
        painter.restore();
        return;
    }

    const AxisMap xMap{model.bottomAxis.scale.minimum, model.bottomAxis.scale.maximum, plot.left(), plot.right()};
    const AxisMap yMap{model.leftAxis.scale.minimum, model.leftAxis.scale.maximum, plot.bottom(), plot.top()};

    // The series, clipped to the plot (the confidence lines may overhang its range).
    painter.save();
    painter.setClipRect(plot.adjusted(-s(4), -s(4), s(4), s(4)));
    DrawBars(painter, model, xMap, yMap, s);
    for (const GraphLine& line : model.confidenceLines) DrawLine(painter, line, xMap, yMap, plot, s);
    if (model.regressionLine) DrawLine(painter, *model.regressionLine, xMap, yMap, plot, s);
    DrawPoints(painter, model, xMap, yMap, s);
    painter.restore();

    // The axes: the left and bottom lines with outward ticks; no grid lines.
    const QPen axisPen(QColor(40, 40, 40), s(1));
    painter.setPen(axisPen);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.setFont(fonts.label);
    for (const AxisTick& tick : model.leftAxis.ticks) {
        const double y = yMap(tick.value);
        painter.drawLine(QPointF(plot.left() - tickLength, y), QPointF(plot.left(), y));
        const QRectF box(plot.left() - tickLength - labelGap - leftLabelWidth, y - labelMetrics.height() / 2.0,
                         leftLabelWidth, labelMetrics.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, Text(tick.label));
    }
    const int stride = LabelStride(model.bottomAxis, xMap, labelMetrics, s(8));
    const double labelTop = plot.bottom() + tickLength + labelGap;
    for (std::size_t i = 0; i < model.bottomAxis.ticks.size(); ++i) {
        const AxisTick& tick = model.bottomAxis.ticks[i];
        const double x = xMap(tick.value);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tickLength));
        if (i % static_cast<std::size_t>(stride) != 0) continue;
        const QString label = Text(tick.label);
        const double width = labelMetrics.horizontalAdvance(label);
        // Keep the label inside the area at both ends.
        const double left = std::clamp(x - width / 2.0, area.left() + s(2), std::max(area.left() + s(2), area.right() - s(2) - width));
        painter.drawText(QRectF(left, labelTop, width + s(1), labelMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter, label);
    }

    // The axis titles: the bottom one centred under the labels, the left one turned upwards.
    painter.setFont(fonts.axisTitle);
    if (bottomTitle) {
        const QRectF box(plot.left(), labelTop + labelMetrics.height() + s(4), plot.width(), titleMetrics.height());
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter,
                         titleMetrics.elidedText(Text(model.bottomAxis.title), Qt::ElideRight, plot.width()));
    }
    if (leftTitle) {
        painter.save();
        const double x = plot.left() - tickLength - labelGap - leftLabelWidth - s(6) - titleMetrics.height();
        painter.translate(x, plot.bottom());
        painter.rotate(-90.0);
        const QRectF box(0.0, 0.0, plot.height(), titleMetrics.height());
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter,
                         titleMetrics.elidedText(Text(model.leftAxis.title), Qt::ElideRight, plot.height()));
        painter.restore();
    }
    painter.restore();
}

}  // namespace zelkon
