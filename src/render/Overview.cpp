#include "render/Overview.h"

#include "model/SubCircuits.h"
#include "render/Camera.h"
#include "render/CircuitView.h"
#include "render/Palette.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace flow {

namespace {

bool& Shown() {
    static bool shown = false;
    return shown;
}

// The map's longer side at most, its share of the canvas each way at most, and its distance
// from the canvas's edges, in canvas pixels; below the smallest size there is no room for one.
constexpr double kWidest = 200, kTallest = 150, kCanvasShare = 0.3, kEdgeMargin = 12;
constexpr double kSmallest = 40;
// Room round the objects, as a share of their extent, so that none touches the map's edge; and
// the least extent a map shows, in circuit units, so that a small circuit is not one blot.
constexpr double kBoundsMargin = 0.05;
constexpr double kLeastWidth = 1200, kLeastHeight = 800;

// The objects' own boxes: at the map's scale what they draw around them is not seen.
template <typename Object> QRectF BoxOf(const Object& object) {
    return QRectF(double(object.X), double(object.Y), double(object.Width), double(object.Height));
}

QRectF ObjectBounds(const Frame& frame) {
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    const auto take = [&](const QRectF& box) {
        left = std::min(left, box.left());
        top = std::min(top, box.top());
        right = std::max(right, box.right());
        bottom = std::max(bottom, box.bottom());
    };
    for (const auto& node : frame.Nodes)
        take(BoxOf(*node));
    for (const auto& comment : frame.Comments)
        take(BoxOf(*comment));
    const QRectF bounds(QPointF(left, top), QPointF(right, bottom));
    if (!(right > left) || !(bottom > top)) return {};
    const double margin = kBoundsMargin * std::max(bounds.width(), bounds.height());
    const double widen = std::max(0.0, kLeastWidth - bounds.width() - 2 * margin) / 2;
    const double heighten = std::max(0.0, kLeastHeight - bounds.height() - 2 * margin) / 2;
    return bounds.adjusted(-margin - widen, -margin - heighten, margin + widen, margin + heighten);
}

// Circuit units to map pixels: the bounds fitted into the map, centred.
struct MapScale {
    double Scale = 0;
    QPointF Offset; // the map pixel of the circuit origin
    QPointF ToMap(QPointF point) const { return point * Scale + Offset; }
    QPointF ToCircuit(QPointF pixel) const { return (pixel - Offset) / Scale; }
};

MapScale ScaleOf(const QRectF& bounds, const QRectF& rect) {
    MapScale map;
    map.Scale = std::min(rect.width() / bounds.width(), rect.height() / bounds.height());
    map.Offset = rect.center() - bounds.center() * map.Scale;
    return map;
}

// Fills the box's pixels, cut to the image, straight into its bytes: ten thousand nodes of a
// pixel or two each cost a painter call apiece otherwise.
void FillPixels(QImage& image, QRect box, QRgb color) {
    box &= image.rect();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line + box.left(), line + box.right() + 1, color);
    }
}

void PaintPicture(OverviewMap& map, const Frame& frame, QSizeF size, double ratio) {
    QImage& picture = map.Picture;
    picture = QImage((size * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    const auto& colors = ColorTable();
    picture.fill(QColor::fromRgba(BlendColor(colors[ColorSlot::Background], 0xFF000000, 0.4f)));
    // In the picture's own pixels; whole ones, at least one each way, so that no object vanishes
    // from a large circuit's map.
    const MapScale scale = ScaleOf(map.Bounds, QRectF(QPointF(0, 0), size * ratio));
    const auto pixels = [&](const QRectF& box) {
        const QRectF mapped(scale.ToMap(box.topLeft()), box.size() * scale.Scale);
        return QRect(mapped.topLeft().toPoint(),
                     QSize(std::max(1, int(mapped.width())), std::max(1, int(mapped.height()))));
    };
    QPainter painter(&picture);
    painter.setPen(QColor::fromRgba(colors[ColorSlot::CommentOutline]));
    painter.setBrush(Qt::NoBrush);
    for (const auto& comment : frame.Comments)
        painter.drawRect(pixels(BoxOf(*comment)));
    painter.setPen(QColor::fromRgba(colors[ColorSlot::MediumGrid]));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    painter.end();
    // The colours are opaque: premultiplied they are the same.
    for (const auto& node : frame.Nodes)
        FillPixels(picture, pixels(BoxOf(*node)), colors[ColorSlot::SymbolFill]);
    picture.setDevicePixelRatio(ratio);
}

} // namespace

bool OverviewShown() {
    return Shown();
}

void ShowOverview(bool shown) {
    Shown() = shown;
}

QRectF OverviewRect(const CircuitView& view) {
    const QRectF& bounds = view.Overview.Bounds;
    if (!Shown() || !view.ShowsEditing || bounds.isEmpty()) return {};
    const double widest = std::min(kWidest, view.CanvasWidth * kCanvasShare);
    const double tallest = std::min(kTallest, view.CanvasHeight * kCanvasShare);
    if (std::min(widest, tallest) < kSmallest) return {};
    // The map keeps the objects' proportions, but never thinner than the smallest size.
    const double scale = std::min(widest / bounds.width(), tallest / bounds.height());
    // Whole pixels, which the picture is made of.
    const QSizeF size(std::round(std::max(kSmallest, bounds.width() * scale)),
                      std::round(std::max(kSmallest, bounds.height() * scale)));
    return {QPointF(view.CanvasWidth - kEdgeMargin - size.width(),
                    view.CanvasHeight - kEdgeMargin - size.height()),
            size};
}

void RefreshOverview(CircuitView& view, double ratio) {
    if (!Shown() || !view.ShowsEditing) return;
    OverviewMap& map = view.Overview;
    const Frame& frame = ShownFrame(view);
    const std::uint64_t generation = view.Index.Generation();
    const bool changed = map.Shown != &frame || map.Generation != generation;
    if (changed) {
        map.Shown = &frame;
        map.Generation = generation;
        map.Bounds = ObjectBounds(frame);
    }
    const QRectF rect = OverviewRect(view);
    if (rect.isEmpty()) {
        map.Picture = QImage();
        return;
    }
    if (changed || map.Picture.deviceIndependentSize() != rect.size() ||
        map.Picture.devicePixelRatio() != ratio)
        PaintPicture(map, frame, rect.size(), ratio);
}

std::optional<QPointF> OverviewPoint(const CircuitView& view, QPointF pixel, bool clamped) {
    const QRectF rect = OverviewRect(view);
    if (rect.isEmpty() || (!clamped && !rect.contains(pixel))) return std::nullopt;
    pixel.setX(std::clamp(pixel.x(), rect.left(), rect.right()));
    pixel.setY(std::clamp(pixel.y(), rect.top(), rect.bottom()));
    return ScaleOf(view.Overview.Bounds, rect).ToCircuit(pixel);
}

void DrawOverview(QPainter& painter, const CircuitView& view) {
    const QRectF rect = OverviewRect(view);
    const QImage& picture = view.Overview.Picture;
    if (rect.isEmpty() || picture.isNull() || picture.deviceIndependentSize() != rect.size())
        return;
    painter.save();
    painter.drawImage(rect.topLeft(), picture);
    // What the canvas shows, framed; where it reaches past the map, the map's edge cuts it.
    const MapScale scale = ScaleOf(view.Overview.Bounds, rect);
    const QRectF seen(
        scale.ToMap(ToCircuitPoint(view, QPointF(0, 0))),
        scale.ToMap(ToCircuitPoint(view, QPointF(view.CanvasWidth, view.CanvasHeight))));
    painter.setClipRect(rect);
    painter.setPen(QPen(QColor::fromRgba(ColorTable()[ColorSlot::Selection]), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(seen.normalized().intersected(rect.adjusted(-1, -1, 1, 1)));
    painter.restore();
}

} // namespace flow
