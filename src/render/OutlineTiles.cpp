#include "render/OutlineTiles.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace flow {

namespace {

// What lies beyond a rectangle is cut this far outside it, so that the runs left along the cut
// fall in no pixel of the rectangle.
constexpr double kCutMargin = 2;

QPointF Clamped(QPointF p, const QRectF& rect) {
    return QPointF(std::clamp(p.x(), rect.left(), rect.right()),
                   std::clamp(p.y(), rect.top(), rect.bottom()));
}

// Appends a point to a polygon, merging runs along one vertical or horizontal line (such as a
// cut): a vertical edge adds to each row it passes exactly its height there, and a level one
// adds nothing, so one edge from the run's start to its end gives the same cells as the run.
void Append(Polyline& polygon, QPointF p) {
    if (!polygon.empty() && polygon.back() == p) return;
    const std::size_t n = polygon.size();
    if (n >= 2) {
        const QPointF a = polygon[n - 2], b = polygon[n - 1];
        if ((a.x() == b.x() && b.x() == p.x()) || (a.y() == b.y() && b.y() == p.y())) {
            polygon.back() = p;
            if (polygon[n - 2] == p) polygon.pop_back();
            return;
        }
    }
    polygon.push_back(p);
}

// Drops what lies beyond the rectangle from a closed polygon, keeping every point inside it at
// the winding number it had. An edge that may cross the rectangle stays as it is, to the bit;
// an edge wholly on one side of it is replaced by its image clamped onto that side, joined to its
// neighbours along the way every point of it would be clamped. Such a replacement and the edge
// bound a region outside the rectangle, so nothing inside changes.
Polyline Trimmed(const Polyline& polygon, const QRectF& rect) {
    Polyline kept;
    kept.reserve(polygon.size());
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const QPointF& a = polygon[i];
        const QPointF& b = polygon[(i + 1) % polygon.size()];
        const QRectF edge = QRectF(a, b).normalized();
        const bool mayCross = edge.left() <= rect.right() && edge.right() >= rect.left() &&
                              edge.top() <= rect.bottom() && edge.bottom() >= rect.top();
        if (mayCross) {
            Append(kept, a);
            Append(kept, b);
        } else {
            Append(kept, Clamped(a, rect));
            Append(kept, Clamped(b, rect));
        }
    }
    return kept;
}

QRectF BoundsOf(const Polyline& polygon) {
    if (polygon.empty()) return QRectF();
    double left = polygon.front().x(), right = left;
    double top = polygon.front().y(), bottom = top;
    for (const QPointF& p : polygon) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

std::vector<QRectF> BoundsOf(const std::vector<Polyline>& polygons) {
    std::vector<QRectF> bounds;
    bounds.reserve(polygons.size());
    for (const Polyline& polygon : polygons)
        bounds.push_back(BoundsOf(polygon));
    return bounds;
}

bool Meets(const QRectF& a, const QRectF& b) {
    return a.left() <= b.right() && a.right() >= b.left() && a.top() <= b.bottom() &&
           a.bottom() >= b.top();
}

// The polygons reaching the rectangle's cut, trimmed to it. A closed polygon wholly beside it
// adds nothing to any of its rows, and one wholly above or below has no cell in them.
QPainterPath TrimmedOutline(const std::vector<Polyline>& polygons,
                            const std::vector<QRectF>& bounds, const QRectF& rect) {
    const QRectF cut = rect.adjusted(-kCutMargin, -kCutMargin, kCutMargin, kCutMargin);
    QPainterPath trimmed;
    trimmed.setFillRule(Qt::WindingFill);
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        if (polygons[i].size() < 3 || !Meets(bounds[i], cut)) continue;
        const Polyline polygon = Trimmed(polygons[i], cut);
        if (polygon.size() < 3) continue;
        trimmed.moveTo(polygon.front());
        for (std::size_t j = 1; j < polygon.size(); ++j)
            trimmed.lineTo(polygon[j]);
    }
    return trimmed;
}

// The points where the painter puts them: it rounds to 64ths of a pixel. Moved by whole pixels
// from there, they stay on those steps, so a tile's image sees the same outline.
std::vector<Polyline> OnThePaintersGrid(const std::vector<Polyline>& polygons) {
    std::vector<Polyline> snapped = polygons;
    for (Polyline& polygon : snapped)
        for (QPointF& p : polygon)
            p = QPointF(qRound(p.x() * 64) / 64.0, qRound(p.y() * 64) / 64.0);
    return snapped;
}

// The part of a segment inside a rectangle, if any.
bool Clip(QPointF& a, QPointF& b, const QRectF& rect) {
    double t0 = 0, t1 = 1;
    const QPointF d = b - a;
    const auto edge = [&](double p, double q) { // keeps where p * t <= q
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!edge(-d.x(), a.x() - rect.left()) || !edge(d.x(), rect.right() - a.x()) ||
        !edge(-d.y(), a.y() - rect.top()) || !edge(d.y(), rect.bottom() - a.y()))
        return false;
    b = a + d * t1;
    a = a + d * t0;
    return true;
}

// About how many cells the rasteriser records in each pixel column of the view: a segment
// leaves one in every pixel it passes.
std::vector<double> CellsPerColumn(const std::vector<Polyline>& polygons, const QRect& view) {
    std::vector<double> cells(std::size_t(view.width()), 0.0);
    const QRectF area(view.left(), view.top(), view.width(), view.height());
    for (const Polyline& polygon : polygons) {
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            QPointF a = polygon[i], b = polygon[(i + 1) % polygon.size()];
            if (!Clip(a, b, area)) continue;
            const int first =
                std::clamp(int(std::floor(std::min(a.x(), b.x()))), view.left(), view.right());
            const int last =
                std::clamp(int(std::floor(std::max(a.x(), b.x()))), view.left(), view.right());
            const double each =
                (std::fabs(b.x() - a.x()) + std::fabs(b.y() - a.y()) + 2) / (last - first + 1);
            for (int x = first; x <= last; ++x)
                cells[std::size_t(x - view.left())] += each;
        }
    }
    return cells;
}

// The y range of the part of a segment between two verticals.
void SpanBetween(QPointF a, QPointF b, double left, double right, double& top, double& bottom) {
    if (a.x() > b.x()) std::swap(a, b);
    if (b.x() < left || a.x() > right) return;
    const double dx = b.x() - a.x();
    const auto at = [&](double x) {
        if (dx <= 0) return a.y();
        return a.y() + (b.y() - a.y()) * std::clamp((x - a.x()) / dx, 0.0, 1.0);
    };
    const double y1 = at(std::max(left, a.x())), y2 = at(std::min(right, b.x()));
    top = std::min({top, y1, y2});
    bottom = std::max({bottom, y1, y2});
}

// The rows of the view between the columns that the outline can cover. In a row where the
// outline passes nowhere between those columns, it has one winding number across them, the one
// it has at their left, which changes only where the outline crosses that side; above and below
// all such crossings it is zero.
QRect RowsReached(const std::vector<Polyline>& polygons, int left, int right, const QRect& view) {
    double top = std::numeric_limits<double>::infinity(), bottom = -top;
    for (const Polyline& polygon : polygons)
        for (std::size_t i = 0; i < polygon.size(); ++i)
            SpanBetween(polygon[i], polygon[(i + 1) % polygon.size()], left - 1.0, right + 2.0, top,
                        bottom);
    if (top > bottom) return QRect();
    const int first = std::max(view.top(), int(std::floor(top)) - 2);
    const int last = std::min(view.bottom(), int(std::ceil(bottom)) + 2);
    return QRect(QPoint(left, first), QPoint(right, last));
}

// Runs of columns side by side, covering them all, each as wide as it can be with at most
// `most` cells. A column without cells may still be inside the outline.
std::vector<std::pair<int, int>> Columns(const std::vector<double>& cells, int offset,
                                         double most) {
    std::vector<std::pair<int, int>> columns;
    double sum = 0;
    int start = 0;
    for (int x = 0; x < int(cells.size()); ++x) {
        if (x > start && sum + cells[std::size_t(x)] > most) {
            columns.emplace_back(offset + start, offset + x - 1);
            start = x;
            sum = 0;
        }
        sum += cells[std::size_t(x)];
    }
    if (!cells.empty()) columns.emplace_back(offset + start, offset + int(cells.size()) - 1);
    return columns;
}

} // namespace

QPainterPath TrimmedOutline(const std::vector<Polyline>& polygons, const QRectF& rect) {
    return TrimmedOutline(polygons, BoundsOf(polygons), rect);
}

std::vector<TileFill> TileFills(const std::vector<Polyline>& polygons, const QRect& view,
                                int cells) {
    std::vector<TileFill> fills;
    const std::vector<Polyline> snapped = OnThePaintersGrid(polygons);
    const std::vector<double> perColumn = CellsPerColumn(snapped, view);
    double total = 0;
    for (const double n : perColumn)
        total += n;
    if (total <= cells) {
        QPainterPath path = TrimmedOutline(polygons, QRectF(view));
        if (!path.isEmpty()) fills.push_back({view, std::move(path)});
        return fills;
    }
    const std::vector<QRectF> bounds = BoundsOf(snapped);
    for (const auto& [left, right] : Columns(perColumn, view.left(), cells)) {
        const QRect tile = RowsReached(snapped, left, right, view);
        if (tile.isEmpty()) continue;
        QPainterPath path = TrimmedOutline(snapped, bounds, QRectF(tile));
        if (!path.isEmpty()) fills.push_back({tile, std::move(path)});
    }
    return fills;
}

void FillInTiles(QPainter& painter, const std::vector<Polyline>& polygons, const QRect& view,
                 const QBrush& brush, int cells) {
    QPaintDevice* device = painter.device();
    QImage* canvas =
        device && device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
    // A brush with a pattern or gradient would move with the tile's origin.
    const bool tiled =
        canvas && brush.style() == Qt::SolidPattern && QRect(QPoint(0, 0), canvas->size()) == view;
    if (!tiled) {
        const QPainterPath path = TrimmedOutline(polygons, QRectF(view));
        if (!path.isEmpty()) painter.fillPath(path, brush);
        return;
    }
    const std::vector<TileFill> fills = TileFills(polygons, view, cells);
    if (fills.size() == 1 && fills.front().Tile == view) {
        painter.fillPath(fills.front().Path, brush);
        return;
    }
    // The pixels the painter draws into, without detaching them from it.
    uchar* bits = const_cast<uchar*>(canvas->constBits());
    const qsizetype line = canvas->bytesPerLine();
    const int depth = canvas->depth() / 8;
    for (const TileFill& fill : fills) {
        QImage part(bits + fill.Tile.top() * line + fill.Tile.left() * depth, fill.Tile.width(),
                    fill.Tile.height(), line, canvas->format());
        QPainterPath path = fill.Path;
        path.translate(-fill.Tile.left(), -fill.Tile.top());
        QPainter tile(&part);
        tile.setRenderHints(painter.renderHints());
        tile.fillPath(path, brush);
    }
}

} // namespace flow
