#include "render/Redraw.h"

#include "editor/EditorState.h"
#include "editor/HitTestPass.h"
#include "model/Model.h"
#include "render/Camera.h"
#include "render/CanvasSurface.h"
#include "render/Palette.h"
#include "render/RunStateMarker.h"
#include "render/SceneDrawing.h"
#include "render/SceneVisibility.h"
#include "render/SpriteCache.h"
#include "render/StatusText.h"

#include <QObject>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace flow {

namespace {

QColor Slot(int slot) {
    return QColor::fromRgba(ColorTable()[slot]);
}

// A quarter disc right of and below the circuit origin, in pixels.
void DrawOriginMarker(QPainter& painter, int ox, int oy) {
    const QPointF centre(ox + 0.5, oy + 0.5);
    QPainterPath path(centre);
    // Qt counts angles counter-clockwise on a y-down screen: -90 sweeps clockwise, downwards.
    path.arcTo(QRectF(centre - QPointF(8, 8), QSizeF(16, 16)), 0, -90);
    path.closeSubpath();
    painter.fillPath(path, Slot(ColorSlot::MediumGrid));
}

// Grid lines are one logical pixel wide and drawn in device pixels, so that they cover whole
// pixels at any device pixel ratio: a line at logical column L starts at the device pixel
// nearest to L × ratio and is round(ratio) device pixels wide (at least one). At fractional
// ratios the lines of a level thus keep one width and stay evenly spaced (to a device pixel)
// instead of blurring over two pixels.
struct GridPixels {
    double Ratio;
    double LineWidth;

    explicit GridPixels(double ratio) : Ratio(ratio), LineWidth(std::max(1.0, std::round(ratio))) {}
    // The device coordinate of the centre of the line at a logical coordinate.
    double Centre(double logical) const {
        return std::round(std::round(logical) * Ratio) + LineWidth / 2;
    }
    // Where lines begin along their length: half a logical pixel in, as the lines always did.
    double Start() const { return 0.5 * Ratio; }
};

void DrawGridLevel(QPainter& painter, const GridPixels& pixels, int ox, int oy, double step,
                   QRgb color, int width, int height) {
    // Each line is placed from the first one by multiplying, not by adding up steps, so that
    // rounding errors cannot pile up and move a far line across a pixel boundary.
    QPainterPath path;
    const double start = pixels.Start();
    const double firstX = FlooredMod(ox, step);
    for (int k = 0; firstX + k * step <= width; ++k) {
        const double x = pixels.Centre(firstX + k * step);
        path.moveTo(x, start);
        path.lineTo(x, start + height * pixels.Ratio);
    }
    const double firstY = FlooredMod(oy, step);
    for (int k = 0; firstY + k * step <= height; ++k) {
        const double y = pixels.Centre(firstY + k * step);
        path.moveTo(start, y);
        path.lineTo(start + width * pixels.Ratio, y);
    }
    QPen pen(QColor::fromRgba(color), pixels.LineWidth);
    pen.setCapStyle(Qt::FlatCap);
    painter.strokePath(path, pen);
}

// Three levels whose steps and colours slide with the zoom level, so that zooming through a
// factor of four hands each level over to the next without a jump.
void DrawGrid(QPainter& painter, const Circuit& circuit, int ox, int oy) {
    const double g = FlooredMod(circuit.ZoomLevel, 2) - 1;
    const double s = 32 * std::exp2(g);
    const float t = static_cast<float>((g + 1) / 2);
    const auto& colors = ColorTable();
    const int w = circuit.CanvasWidth, h = circuit.CanvasHeight;
    const GridPixels pixels(painter.transform().m11());
    painter.save();
    painter.resetTransform();
    if (g > -1)
        DrawGridLevel(painter, pixels, ox, oy, s,
                      BlendColor(colors[ColorSlot::Background], colors[ColorSlot::MediumGrid], t),
                      w, h);
    DrawGridLevel(painter, pixels, ox, oy, 4 * s,
                  BlendColor(colors[ColorSlot::MediumGrid], colors[ColorSlot::MajorGrid], t), w, h);
    DrawGridLevel(painter, pixels, ox, oy, 16 * s, colors[ColorSlot::MajorGrid], w, h);
    painter.restore();
}

// Scene origin on the canvas: the integer half of the canvas, so an odd size drops half a pixel.
QPointF SceneCentre(const Circuit& circuit) {
    return QPointF(circuit.CanvasWidth / 2, circuit.CanvasHeight / 2);
}

void ApplyCamera(QPainter& painter, const Circuit& circuit) {
    painter.translate(SceneCentre(circuit));
    painter.scale(circuit.Magnification, circuit.Magnification);
    painter.translate(-static_cast<double>(circuit.CameraX), -static_cast<double>(circuit.CameraY));
}

// The wire that follows the mouse, or snaps to the hovered port, while a connection is made.
void DrawDraggedWire(QPainter& painter) {
    const EditorState& editor = Editor();
    if (!editor.WireSource) return;
    Wire wire;
    wire.Source = editor.WireSource;
    if (editor.HoveredPort != editor.WireSource) wire.Destination = editor.HoveredPort;
    DrawWire(painter, wire);
}

// The node chosen from the add-node menu, centred on the mouse until it is placed.
void DrawPreviewNode(QPainter& painter) {
    Node& preview = PreviewNode();
    if (!preview.Function) return;
    const EditorState& editor = Editor();
    preview.X = editor.MouseX - preview.Width / 2;
    preview.Y = editor.MouseY - preview.Height / 2;
    painter.save();
    LayoutConstant(preview);
    painter.restore();
    DrawNode(painter, preview);
}

// Steps 8 to 11: hit test, then the scene from bottom to top, all in circuit units.
void DrawScene(QPainter& painter, Circuit& circuit) {
    HitTestPass(circuit);
    const Frame& frame = circuit.MainFrame;
    const SceneIndex& index = SceneIndexOf(circuit);
    static SceneObjects visible; // kept, so that its buffers are reused
    VisibleObjects(circuit, index, visible);
    for (const int i : visible.Wires) {
        const Wire& wire = *frame.Wires[std::size_t(i)];
        if (index.HasCurve(i) && !MovedByDrag(wire))
            DrawWire(painter, wire, index.Curve(i));
        else
            DrawWire(painter, wire);
    }
    for (const int i : visible.Nodes)
        DrawNode(painter, *frame.Nodes[std::size_t(i)]);
    for (const int i : visible.Comments)
        DrawComment(painter, *frame.Comments[std::size_t(i)]);
    DrawDraggedWire(painter);
    DrawPreviewNode(painter);
}

// The hover text stays only while the hit test found something under the mouse.
void ClearHoverTextUnlessFound(Circuit& circuit) {
    if (!Editor().Has(InteractionFlag::HoverFound)) SetStatusText(circuit, 2, QString());
}

void DrawRubberBand(QPainter& painter, const Circuit& circuit) {
    const EditorState& editor = Editor();
    if (!editor.Has(InteractionFlag::RubberBand) ||
        (editor.DownX == editor.MouseX && editor.DownY == editor.MouseY))
        return;
    // Width and height keep their sign: a band dragged up or left extends that way.
    const double x = ToScreenX(circuit, editor.DownX) + 0.5;
    const double y = ToScreenY(circuit, editor.DownY) + 0.5;
    const double w = (editor.MouseX - editor.DownX) * double(circuit.Magnification) + 1;
    const double h = (editor.MouseY - editor.DownY) * double(circuit.Magnification) + 1;
    QPainterPath path(QPointF(x, y));
    path.lineTo(x + w, y);
    path.lineTo(x + w, y + h);
    path.lineTo(x, y + h);
    path.closeSubpath();
    QPen pen(Slot(ColorSlot::Selection), 1);
    pen.setDashPattern({4, 4});
    pen.setCapStyle(Qt::FlatCap);
    painter.strokePath(path, pen);
}

// Paints in device pixels through a scale by the ratio, so that every size the drawing gives in
// logical pixels (Canvas Width and Height, the camera, the grid) stays as it is at ratio 1.
void PaintCanvas(Circuit& circuit, QPaintDevice& device, QSize pixels, double ratio) {
    QPainter painter;
    if (pixels.isEmpty() || !painter.begin(&device)) return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(QPoint(0, 0), pixels), Slot(ColorSlot::Background));
    painter.scale(ratio, ratio);
    UseSpritesAtRatio(ratio);
    circuit.CanvasWidth = RoundToInt(pixels.width() / ratio);
    circuit.CanvasHeight = RoundToInt(pixels.height() / ratio);

    const int ox =
        RoundToInt(circuit.CanvasWidth / 2 - circuit.CameraX * double(circuit.Magnification));
    const int oy =
        RoundToInt(circuit.CanvasHeight / 2 - circuit.CameraY * double(circuit.Magnification));
    DrawOriginMarker(painter, ox, oy);
    DrawGrid(painter, circuit, ox, oy);

    painter.save();
    ApplyCamera(painter, circuit);
    DrawScene(painter, circuit);
    painter.restore();

    DrawRubberBand(painter, circuit);
    DrawRunStateMarker(painter, circuit);
    painter.end();
}

} // namespace

void RedrawCircuitInto(Circuit& circuit, QImage& image) {
    const double ratio = image.devicePixelRatio();
    // Painted as a plain image of device pixels; the ratio comes back for the copy to the screen.
    image.setDevicePixelRatio(1);
    PaintCanvas(circuit, image, image.size(), ratio);
    image.setDevicePixelRatio(ratio);
    ClearHoverTextUnlessFound(circuit);
}

void RedrawCircuitOnto(Circuit& circuit, QPaintDevice& device, QSize canvas) {
    PaintCanvas(circuit, device, canvas, 1.0);
    ClearHoverTextUnlessFound(circuit);
}

void RedrawCircuit(Circuit& circuit) {
    auto* surface = dynamic_cast<CanvasSurface*>(circuit.Canvas);
    if (!surface) {
        ClearHoverTextUnlessFound(circuit);
        return;
    }
    RedrawCircuitInto(circuit, surface->Surface());
    surface->Present();
}

} // namespace flow
