#include "render/Redraw.h"

#include "engine/PortValues.h"
#include "engine/RunCopies.h"
#include "engine/RunSession.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "render/Camera.h"
#include "render/CanvasSurface.h"
#include "render/CircuitView.h"
#include "render/CommentDrawing.h"
#include "render/FindHighlight.h"
#include "render/Grid.h"
#include "render/NodeDrawing.h"
#include "render/Overview.h"
#include "render/Palette.h"
#include "render/RunStateMarker.h"
#include "render/SceneVisibility.h"
#include "render/SpriteCache.h"
#include "render/StepMarks.h"
#include "render/ValueLabels.h"
#include "render/WireDrawing.h"

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

// Scene origin on the canvas: the integer half of the canvas, so an odd size drops half a pixel.
QPointF SceneCentre(const CircuitView& view) {
    return QPointF(view.CanvasWidth / 2, view.CanvasHeight / 2);
}

void ApplyCamera(QPainter& painter, const CircuitView& view) {
    painter.translate(SceneCentre(view));
    painter.scale(view.Magnification, view.Magnification);
    painter.translate(-static_cast<double>(view.CameraX), -static_cast<double>(view.CameraY));
}

// The wire that follows the mouse, or snaps to the hovered port, while a connection is made.
void DrawDraggedWire(QPainter& painter, const CircuitView& view) {
    if (!view.WireSource || !view.ShowsEditing) return;
    Wire wire;
    wire.Source = view.WireSource;
    if (view.HoveredPort != view.WireSource) wire.Destination = view.HoveredPort;
    DrawWire(painter, wire, view);
}

// The scene from bottom to top, all in circuit units: what can reach the canvas, or the part of
// it given in canvas pixels.
void DrawScene(QPainter& painter, const CircuitView& view, const QRectF* part) {
    const Frame& frame = ShownFrame(view);
    const SceneIndex& index = view.Index;
    static SceneObjects visible; // kept, so that its buffers are reused
    VisibleObjects(view, index, visible, part);
    view.Drawn += visible.Comments.size() + visible.Nodes.size() + visible.Wires.size();
    for (const int i : visible.Wires) {
        const Wire& wire = *frame.Wires[std::size_t(i)];
        if (index.HasCurve(i) && !MovedByDrag(wire, view))
            DrawWire(painter, wire, index.Curve(i), view);
        else
            DrawWire(painter, wire, view);
    }
    for (const int i : visible.Nodes) {
        const Node& node = *frame.Nodes[std::size_t(i)];
        DrawNode(painter, node, view);
        if (!view.ShowsEditing) continue;
        if (NeverFired(node, view.OpenPath)) DrawNeverFiredMark(painter, node);
        if (SkippedInLatestRun(view.Run, node, view.OpenPath)) DrawSkippedMark(painter, node);
        DrawStepMarks(painter, node, view);
    }
    DrawValueLabels(painter, view, visible.Wires);
    for (const int i : visible.Comments)
        DrawComment(painter, *frame.Comments[std::size_t(i)], view);
    if (view.ShowsEditing) DrawFindHighlights(painter, view, visible);
    DrawDraggedWire(painter, view);
    // The node chosen from the add-node menu, centred on the mouse until it is placed.
    if (view.Preview.Function && view.ShowsEditing) DrawNode(painter, view.Preview, view);
}

void DrawRubberBand(QPainter& painter, const CircuitView& view) {
    const EditorState& editor = view;
    const press::Banding* band = editor.Band();
    if (!band || (band->DownX == editor.MouseX && band->DownY == editor.MouseY)) return;
    // Width and height keep their sign: a band dragged up or left extends that way.
    const double x = ToScreenX(view, band->DownX) + 0.5;
    const double y = ToScreenY(view, band->DownY) + 0.5;
    const double w = (editor.MouseX - band->DownX) * double(view.Magnification) + 1;
    const double h = (editor.MouseY - band->DownY) * double(view.Magnification) + 1;
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

void DrawOverlays(QPainter& painter, const CircuitView& view) {
    DrawRubberBand(painter, view);
    DrawRunStateMarker(painter, view);
    DrawOverview(painter, view);
}

// What a repaint drew below the overlays, kept while a SceneReuse lives.
struct KeptScene {
    const CircuitView* Owner = nullptr; // of the SceneReuse; none while no reuse is wanted
    bool Valid = false;
    // A defect inside a sub-circuit opens its body under the same camera.
    const Frame* Shown = nullptr;
    Int CameraX = 0;
    Int CameraY = 0;
    float Magnification = 0;
    double Ratio = 0;
    QImage Image;

    bool Matches(const CircuitView& view, QSize pixels, double ratio) const {
        return Valid && Owner == &view && Shown == &ShownFrame(view) && CameraX == view.CameraX &&
               CameraY == view.CameraY && Magnification == view.Magnification && Ratio == ratio &&
               Image.size() == pixels;
    }
};

KeptScene& Kept() {
    static KeptScene kept;
    return kept;
}

// Background, origin marker, grid and scene: everything below the overlays.
void PaintBelowOverlays(QPainter& painter, const CircuitView& view, QSize pixels, double ratio,
                        const QRectF* part = nullptr) {
    painter.fillRect(QRect(QPoint(0, 0), pixels), Slot(ColorSlot::Background));
    painter.scale(ratio, ratio);

    const int ox = RoundToInt(view.CanvasWidth / 2 - view.CameraX * double(view.Magnification));
    const int oy = RoundToInt(view.CanvasHeight / 2 - view.CameraY * double(view.Magnification));
    DrawOriginMarker(painter, ox, oy);
    DrawGrid(painter, view, ox, oy);

    painter.save();
    ApplyCamera(painter, view);
    DrawScene(painter, view, part);
    painter.restore();
}

// Paints in device pixels through a scale by the ratio, so that every size the drawing gives in
// logical pixels (Canvas Width and Height, the camera, the grid) stays as it is at ratio 1.
void PaintCanvas(const CircuitView& view, QPaintDevice& device, QSize pixels, double ratio) {
    QPainter painter;
    if (pixels.isEmpty() || !painter.begin(&device)) return;
    painter.setRenderHint(QPainter::Antialiasing);
    UseSpritesAtRatio(ratio);
    KeptScene& kept = Kept();
    auto* image = device.devType() == QInternal::Image ? static_cast<QImage*>(&device) : nullptr;
    view.Drawn = 0;
    if (image && kept.Matches(view, pixels, ratio)) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), kept.Image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.scale(ratio, ratio);
    } else {
        PaintBelowOverlays(painter, view, pixels, ratio);
        if (image && kept.Owner == &view) {
            kept.Image = image->copy(QRect(QPoint(0, 0), pixels));
            kept.Shown = &ShownFrame(view);
            kept.CameraX = view.CameraX;
            kept.CameraY = view.CameraY;
            kept.Magnification = view.Magnification;
            kept.Ratio = ratio;
            kept.Valid = true;
        }
    }
    DrawOverlays(painter, view);
    painter.end();
}

} // namespace

void RepaintCircuitAreas(const CircuitView& view, QImage& image, const std::vector<QRect>& areas) {
    const double ratio = image.devicePixelRatio();
    image.setDevicePixelRatio(1);
    const QSize pixels = image.size();
    QPainter painter;
    if (!pixels.isEmpty() && painter.begin(&image)) {
        painter.setRenderHint(QPainter::Antialiasing);
        UseSpritesAtRatio(ratio);
        // What a repaint of the whole would have kept is not what the image holds any more.
        Kept().Valid = false;
        view.Drawn = 0;
        for (const QRect& area : areas) {
            const QRect clipped = area & QRect(QPoint(0, 0), pixels);
            if (clipped.isEmpty()) continue;
            painter.save();
            painter.setClipRect(clipped);
            const QRectF part(
                QPointF(clipped.topLeft()) / ratio,
                QPointF(clipped.topLeft() + QPoint(clipped.width(), clipped.height())) / ratio);
            PaintBelowOverlays(painter, view, pixels, ratio, &part);
            DrawOverlays(painter, view);
            painter.restore();
        }
        painter.end();
    }
    image.setDevicePixelRatio(ratio);
}

void FitCanvas(CircuitView& view, QSize pixels, double ratio) {
    view.CanvasWidth = RoundToInt(pixels.width() / ratio);
    view.CanvasHeight = RoundToInt(pixels.height() / ratio);
}

void RedrawCircuitInto(const CircuitView& view, QImage& image) {
    const double ratio = image.devicePixelRatio();
    // Painted as a plain image of device pixels; the ratio comes back for the copy to the screen.
    image.setDevicePixelRatio(1);
    PaintCanvas(view, image, image.size(), ratio);
    image.setDevicePixelRatio(ratio);
}

void RedrawCircuitOnto(const CircuitView& view, QPaintDevice& device, QSize canvas) {
    PaintCanvas(view, device, canvas, 1.0);
}

SceneReuse::SceneReuse(const CircuitView& view) {
    Kept() = KeptScene();
    Kept().Owner = &view;
}

SceneReuse::~SceneReuse() {
    Kept() = KeptScene();
}

} // namespace flow
