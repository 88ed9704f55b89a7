#include "render/TrimmedStroke.h"

#include "render/OutlineTiles.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace flow {

namespace {

// Strokes reaching less far beyond the canvas gain too little to be worth cutting.
constexpr double kWorthCutting = 256;
// The painter cuts outlines beyond this many pixels its own way; such strokes are left to it.
constexpr double kPainterLimit = (1 << 23) - 1;

struct Cubic {
    QPointF P1, P2, P3, P4;

    QRectF ControlBounds() const {
        const double left = std::min({P1.x(), P2.x(), P3.x(), P4.x()});
        const double top = std::min({P1.y(), P2.y(), P3.y(), P4.y()});
        return QRectF(left, top, std::max({P1.x(), P2.x(), P3.x(), P4.x()}) - left,
                      std::max({P1.y(), P2.y(), P3.y(), P4.y()}) - top);
    }
};

// Halves a curve in the painter's arithmetic, so that the points come out the same.
std::pair<Cubic, Cubic> Halves(const Cubic& c) {
    const auto mid = [](QPointF a, QPointF b) { return (a + b) * .5; };
    const QPointF m12 = mid(c.P1, c.P2);
    const QPointF m23 = mid(c.P2, c.P3);
    const QPointF m34 = mid(c.P3, c.P4);
    const QPointF m123 = mid(m12, m23);
    const QPointF m234 = mid(m23, m34);
    const QPointF m = mid(m123, m234);
    return {{c.P1, m12, m123, m}, {m, m234, m34, c.P4}};
}

// The painter's flattening of a cubic: halve until flat within the threshold, at most nine times.
void Flatten(const Cubic& curve, double threshold, Polyline& out) {
    std::array<Cubic, 10> stack;
    std::array<int, 10> levels;
    stack[0] = curve;
    levels[0] = 9;
    std::size_t top = 0;
    for (;;) {
        Cubic& b = stack[top];
        const double dy = b.P4.y() - b.P1.y();
        const double dx = b.P4.x() - b.P1.x();
        double l = std::fabs(dx) + std::fabs(dy);
        double d;
        if (l > 1.) {
            d = std::fabs(dx * (b.P1.y() - b.P2.y()) - dy * (b.P1.x() - b.P2.x())) +
                std::fabs(dx * (b.P1.y() - b.P3.y()) - dy * (b.P1.x() - b.P3.x()));
        } else {
            d = std::fabs(b.P1.x() - b.P2.x()) + std::fabs(b.P1.y() - b.P2.y()) +
                std::fabs(b.P1.x() - b.P3.x()) + std::fabs(b.P1.y() - b.P3.y());
            l = 1.;
        }
        if (d < threshold * l || levels[top] == 0) {
            out.push_back(b.P4);
            if (top == 0) return;
            --top;
        } else {
            const auto [first, second] = Halves(b);
            stack[top + 1] = first;
            b = second;
            levels[top + 1] = --levels[top];
            ++top;
        }
    }
}

// The outline's subpaths as closed polygons in device pixels, made as the painter makes them: a
// curve lying wholly off the device becomes its chord, the others are flattened in drawing units,
// and the points are mapped at the end.
std::vector<Polyline> Flattened(const QPainterPath& outline, const QTransform& device,
                                const QRectF& deviceRect, double threshold) {
    std::vector<Polyline> polylines;
    for (int i = 0; i < outline.elementCount(); ++i) {
        const QPainterPath::Element e = outline.elementAt(i);
        if (e.isMoveTo() || polylines.empty()) {
            polylines.emplace_back();
            polylines.back().push_back(e);
        } else if (e.isLineTo()) {
            polylines.back().push_back(e);
        } else if (e.isCurveTo() && i + 2 < outline.elementCount()) {
            const Cubic curve{polylines.back().back(), e, outline.elementAt(i + 1),
                              outline.elementAt(i + 2)};
            i += 2;
            const bool offDevice = !deviceRect.contains(device.map(curve.P4)) &&
                                   !device.mapRect(curve.ControlBounds()).intersects(deviceRect);
            if (offDevice)
                polylines.back().push_back(curve.P4);
            else
                Flatten(curve, threshold, polylines.back());
        }
    }
    for (Polyline& polyline : polylines)
        for (QPointF& point : polyline)
            point = device.map(point);
    return polylines;
}

bool WithinPainterLimit(const QRectF& rect) {
    return rect.left() > -kPainterLimit && rect.right() < kPainterLimit &&
           rect.top() > -kPainterLimit && rect.bottom() < kPainterLimit &&
           rect.width() < kPainterLimit && rect.height() < kPainterLimit;
}

// The trimmed fill, for a painter and pen that StrokeTrimmedToView found suited to it.
void FillTrimmed(QPainter& painter, const QPainterPath& path, const QPen& pen) {
    const QTransform device = painter.transform();
    const QRect view = painter.viewport();
    // The painter strokes with the same stroker and fills the outline, flattening its curves to
    // a quarter of a pixel.
    const QPainterPath outline = QPainterPathStroker(pen).createStroke(path);
    const std::vector<Polyline> polygons =
        Flattened(outline, device, QRectF(view), 0.25 / device.m11());
    painter.setTransform(QTransform());
    FillInTiles(painter, polygons, view, pen.brush());
    painter.setTransform(device);
}

// The outline handling above follows the painter of the Qt this was written against. Another
// Qt may make its outlines otherwise; a comparison of a few long wires, made once, then leaves
// every stroke to the painter.
bool FillMatchesThePainter() {
    QImage direct(320, 120, QImage::Format_ARGB32_Premultiplied);
    direct.fill(Qt::white);
    QImage trimmed = direct;
    for (const double scale : {1.0, 0.7, 2.5}) {
        QPainterPath wire(QPointF(-900, 20));
        wire.cubicTo(QPointF(-700, 20), QPointF(2800, 70), QPointF(3000, 75));
        const QPen pen(QColor(40, 160, 60), 2, Qt::SolidLine, Qt::RoundCap);
        for (QImage* image : {&direct, &trimmed}) {
            QPainter painter(image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(scale, scale);
            if (image == &direct)
                painter.strokePath(wire, pen);
            else
                FillTrimmed(painter, wire, pen);
        }
    }
    return direct == trimmed;
}

} // namespace

bool StrokeTrimmingAvailable() {
    static const bool available = FillMatchesThePainter();
    return available;
}

void StrokeTrimmedToView(QPainter& painter, const QPainterPath& path, const QPen& pen) {
    const QTransform device = painter.transform();
    const double scale = device.m11();
    // Thinner strokes take the painter's hairline path, which this does not reproduce.
    const bool filled =
        painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster &&
        pen.style() == Qt::SolidLine && !pen.isCosmetic() && device.type() <= QTransform::TxScale &&
        scale > 0 && device.m22() == scale && painter.viewport() == painter.window() &&
        !painter.hasClipping() &&
        painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
        painter.opacity() == 1.0 && pen.widthF() * scale > 1;
    if (!filled) {
        painter.strokePath(path, pen);
        return;
    }
    const QRect view = painter.viewport();
    const QRectF reach = device.mapRect(path.controlPointRect())
                             .adjusted(-pen.widthF() * scale, -pen.widthF() * scale,
                                       pen.widthF() * scale, pen.widthF() * scale);
    const QRectF worthIt =
        QRectF(view).adjusted(-kWorthCutting, -kWorthCutting, kWorthCutting, kWorthCutting);
    // The tiles move the outline by up to the view's size.
    const QRectF moved = reach.adjusted(-view.width(), -view.height(), view.width(), view.height());
    if (worthIt.contains(reach) || !WithinPainterLimit(moved) || !StrokeTrimmingAvailable()) {
        painter.strokePath(path, pen);
        return;
    }
    FillTrimmed(painter, path, pen);
}

} // namespace flow
