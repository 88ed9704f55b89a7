#include "render/Grid.h"

#include "render/CircuitView.h"

#include "render/Camera.h"
#include "render/Palette.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace flow {

namespace {

// Grid lines are one logical pixel wide and drawn in device pixels, so that they cover whole
// pixels at any device pixel ratio: a line at logical column L starts at the device pixel
// nearest to L × ratio and is round(ratio) device pixels wide (at least one). At fractional
// ratios the lines of a level thus keep one width and stay evenly spaced (to a device pixel)
// instead of blurring over two pixels.
struct GridPixels {
    double Ratio;
    int LineWidth;
    int DeviceWidth, DeviceHeight;

    // Where a line at a logical coordinate begins across its width, in device pixels.
    int Edge(double logical) const { return RoundToInt(std::round(logical) * Ratio); }
    // Where lines begin along their length: half a logical pixel in, as the lines always did.
    double Start() const { return 0.5 * Ratio; }
};

// The lines of one level. Their whole device pixels are filled directly, which costs a
// fraction of the anti-aliased stroke; only the fractions of a pixel at their ends (lines begin
// half a logical pixel in) go through the stroke, one path for the level as before, so that
// those pixels get the coverage the full stroke gave them.
class LevelLines {
  public:
    explicit LevelLines(const GridPixels& pixels) : pixels_(pixels) {}

    void Add(bool vertical, double logical, double length) {
        const int edge = pixels_.Edge(logical);
        const double centre = edge + pixels_.LineWidth / 2.0;
        const double from = pixels_.Start(), to = from + length * pixels_.Ratio;
        const int limit = vertical ? pixels_.DeviceHeight : pixels_.DeviceWidth;
        const int first = int(std::ceil(from));
        const int last = int(std::min<double>(std::floor(to), limit));
        auto piece = [&](double a, double b) {
            ends_.moveTo(vertical ? QPointF(centre, a) : QPointF(a, centre));
            ends_.lineTo(vertical ? QPointF(centre, b) : QPointF(b, centre));
        };
        if (last <= first) {
            piece(from, std::min<double>(to, limit));
            return;
        }
        if (first > from) piece(from, first);
        if (to > last && last < limit) piece(last, to);
        whole_.push_back(vertical ? QRect(edge, first, pixels_.LineWidth, last - first)
                                  : QRect(first, edge, last - first, pixels_.LineWidth));
    }

    void Draw(QPainter& painter, QRgb color) const {
        const QColor colour = QColor::fromRgba(color);
        if (!ends_.isEmpty()) {
            QPen pen(colour, pixels_.LineWidth);
            pen.setCapStyle(Qt::FlatCap);
            painter.strokePath(ends_, pen);
        }
        for (const QRect& rect : whole_)
            painter.fillRect(rect, colour);
    }

  private:
    const GridPixels& pixels_;
    QPainterPath ends_;
    std::vector<QRect> whole_;
};

void DrawGridLevel(QPainter& painter, const GridPixels& pixels, int ox, int oy, double step,
                   QRgb color, int width, int height) {
    // Each line is placed from the first one by multiplying, not by adding up steps, so that
    // rounding errors cannot pile up and move a far line across a pixel boundary.
    LevelLines lines(pixels);
    const double firstX = FlooredMod(ox, step);
    for (int k = 0; firstX + k * step <= width; ++k)
        lines.Add(true, firstX + k * step, height);
    const double firstY = FlooredMod(oy, step);
    for (int k = 0; firstY + k * step <= height; ++k)
        lines.Add(false, firstY + k * step, width);
    lines.Draw(painter, color);
}

} // namespace

namespace {

// The pixel step of the finest of the three levels, and whether that level is drawn: at an
// even zoom level it has faded out completely and is left out.
struct FinestLevel {
    double Step;
    bool Drawn;
    float Fade; // 0: the background's colour, 1: fully the next level's
};

FinestLevel FinestLevelAt(float zoomLevel) {
    const double g = FlooredMod(zoomLevel, 2) - 1;
    return {32 * std::exp2(g), g > -1, static_cast<float>((g + 1) / 2)};
}

} // namespace

Int FinestGridStep(const CircuitView& view) {
    const FinestLevel finest = FinestLevelAt(view.ZoomLevel);
    const double pixels = finest.Drawn ? finest.Step : 4 * finest.Step;
    const double units = pixels / double(view.Magnification);
    if (!std::isfinite(units) || units < 1) return 1;
    return static_cast<Int>(std::min(std::round(units), 1.0e15));
}

// Three levels whose steps and colours slide with the zoom level, so that zooming through a
// factor of four hands each level over to the next without a jump.
void DrawGrid(QPainter& painter, const CircuitView& view, int ox, int oy) {
    const FinestLevel finest = FinestLevelAt(view.ZoomLevel);
    const double s = finest.Step;
    const float t = finest.Fade;
    const auto& colors = ColorTable();
    const int w = view.CanvasWidth, h = view.CanvasHeight;
    const double ratio = painter.transform().m11();
    // The canvas in device pixels; the device itself may be larger (an SVG picture's size).
    const GridPixels pixels{ratio, std::max(1, RoundToInt(ratio)), RoundToInt(std::ceil(w * ratio)),
                            RoundToInt(std::ceil(h * ratio))};
    painter.save();
    painter.resetTransform();
    if (finest.Drawn)
        DrawGridLevel(painter, pixels, ox, oy, s,
                      BlendColor(colors[ColorSlot::Background], colors[ColorSlot::MediumGrid], t),
                      w, h);
    DrawGridLevel(painter, pixels, ox, oy, 4 * s,
                  BlendColor(colors[ColorSlot::MediumGrid], colors[ColorSlot::MajorGrid], t), w, h);
    DrawGridLevel(painter, pixels, ox, oy, 16 * s, colors[ColorSlot::MajorGrid], w, h);
    painter.restore();
}

} // namespace flow
