#include "render/Redraw.h"

#include "editor/canvas/RedrawLink.h"
#include "engine/DefectPlace.h"
#include "engine/RunCopies.h"
#include "engine/RunSession.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "render/Camera.h"
#include "render/CanvasSurface.h"
#include "render/CommentDrawing.h"
#include "render/Grid.h"
#include "render/NodeDrawing.h"
#include "render/Palette.h"
#include "render/RunStateMarker.h"
#include "render/SceneVisibility.h"
#include "render/SpriteCache.h"
#include "render/StatusText.h"
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
void DrawPreviewNode(QPainter& painter, const Circuit& circuit) {
    Node& preview = PreviewNode();
    if (!preview.Function) return;
    const EditorState& editor = Editor();
    painter.save();
    LayoutConstant(preview);
    painter.restore();
    const UnitPair place = SnappedPlace(circuit, editor.MouseX - preview.Width / 2,
                                        editor.MouseY - preview.Height / 2);
    preview.X = place.X;
    preview.Y = place.Y;
    DrawNode(painter, preview);
}

// Steps 8 to 11: hit test, then the scene from bottom to top, all in circuit units.
void DrawScene(QPainter& painter, Circuit& circuit, const RunSession* run) {
    HitTestPass(circuit, run);
    const Frame& frame = ShownFrame(circuit);
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
    for (const int i : visible.Nodes) {
        const Node& node = *frame.Nodes[std::size_t(i)];
        DrawNode(painter, node);
        if (NeverFired(node)) DrawNeverFiredMark(painter, node);
    }
    if (run) DrawValueLabels(painter, circuit, *run, visible.Wires);
    for (const int i : visible.Comments)
        DrawComment(painter, *frame.Comments[std::size_t(i)]);
    DrawDraggedWire(painter);
    DrawPreviewNode(painter, circuit);
}

// The hover text stays only while the hit test found something under the mouse. Otherwise the
// field says where a defect is, in the command line's words, which the canvas has no room for.
void ClearHoverTextUnlessFound(Circuit& circuit, const RunSession* run) {
    if (Editor().Has(InteractionFlag::HoverFound)) return;
    QString idle;
    if (run && run->State() == RunState::Defect && run->Fault().Kind != ErrorKind::None) {
        // The canvas shows the message; the place is what it cannot say.
        const QString place = DefectPlace(run->Fault());
        idle = place.isEmpty() ? run->Fault().Message : QStringLiteral("At ") + place;
    }
    SetStatusText(circuit, StatusField::Hover, idle);
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

// What a repaint drew below the overlays, kept while a SceneReuse lives.
struct KeptScene {
    const Circuit* Owner = nullptr; // of the SceneReuse; none while no reuse is wanted
    bool Valid = false;
    // A defect inside a sub-circuit opens its body under the same camera.
    const Frame* Shown = nullptr;
    Int CameraX = 0;
    Int CameraY = 0;
    float Magnification = 0;
    double Ratio = 0;
    QImage Image;

    bool Matches(const Circuit& circuit, QSize pixels, double ratio) const {
        return Valid && Owner == &circuit && Shown == &ShownFrame(circuit) &&
               CameraX == circuit.CameraX &&
               CameraY == circuit.CameraY && Magnification == circuit.Magnification &&
               Ratio == ratio && Image.size() == pixels;
    }
};

KeptScene& Kept() {
    static KeptScene kept;
    return kept;
}

// Background, origin marker, grid and scene: everything below the overlays.
void PaintBelowOverlays(QPainter& painter, Circuit& circuit, const RunSession* run, QSize pixels,
                        double ratio) {
    painter.fillRect(QRect(QPoint(0, 0), pixels), Slot(ColorSlot::Background));
    painter.scale(ratio, ratio);

    const int ox =
        RoundToInt(circuit.CanvasWidth / 2 - circuit.CameraX * double(circuit.Magnification));
    const int oy =
        RoundToInt(circuit.CanvasHeight / 2 - circuit.CameraY * double(circuit.Magnification));
    DrawOriginMarker(painter, ox, oy);
    DrawGrid(painter, circuit, ox, oy);

    painter.save();
    ApplyCamera(painter, circuit);
    DrawScene(painter, circuit, run);
    painter.restore();
}

// Paints in device pixels through a scale by the ratio, so that every size the drawing gives in
// logical pixels (Canvas Width and Height, the camera, the grid) stays as it is at ratio 1.
void PaintCanvas(Circuit& circuit, const RunSession* run, QPaintDevice& device, QSize pixels,
                 double ratio) {
    QPainter painter;
    if (pixels.isEmpty() || !painter.begin(&device)) return;
    painter.setRenderHint(QPainter::Antialiasing);
    UseSpritesAtRatio(ratio);
    circuit.CanvasWidth = RoundToInt(pixels.width() / ratio);
    circuit.CanvasHeight = RoundToInt(pixels.height() / ratio);
    KeptScene& kept = Kept();
    auto* image = device.devType() == QInternal::Image ? static_cast<QImage*>(&device) : nullptr;
    if (image && kept.Matches(circuit, pixels, ratio)) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), kept.Image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.scale(ratio, ratio);
    } else {
        PaintBelowOverlays(painter, circuit, run, pixels, ratio);
        if (image && kept.Owner == &circuit) {
            kept.Image = image->copy(QRect(QPoint(0, 0), pixels));
            kept.Shown = &ShownFrame(circuit);
            kept.CameraX = circuit.CameraX;
            kept.CameraY = circuit.CameraY;
            kept.Magnification = circuit.Magnification;
            kept.Ratio = ratio;
            kept.Valid = true;
        }
    }
    DrawRubberBand(painter, circuit);
    if (run) DrawRunStateMarker(painter, circuit, *run);
    painter.end();
}

} // namespace

void RedrawCircuitInto(Circuit& circuit, QImage& image, const RunSession* run) {
    const double ratio = image.devicePixelRatio();
    // Painted as a plain image of device pixels; the ratio comes back for the copy to the screen.
    image.setDevicePixelRatio(1);
    PaintCanvas(circuit, run, image, image.size(), ratio);
    image.setDevicePixelRatio(ratio);
    ClearHoverTextUnlessFound(circuit, run);
}

void RedrawCircuitOnto(Circuit& circuit, QPaintDevice& device, QSize canvas,
                       const RunSession* run) {
    PaintCanvas(circuit, run, device, canvas, 1.0);
    ClearHoverTextUnlessFound(circuit, run);
}

SceneReuse::SceneReuse(const Circuit& circuit) {
    Kept() = KeptScene();
    Kept().Owner = &circuit;
}

SceneReuse::~SceneReuse() {
    Kept() = KeptScene();
}

void RedrawCircuit(Circuit& circuit) {
    auto* surface = dynamic_cast<CanvasSurface*>(circuit.Canvas);
    if (!surface) {
        ClearHoverTextUnlessFound(circuit, nullptr);
        return;
    }
    RedrawCircuitInto(circuit, surface->Surface(), surface->Run());
    surface->Present();
}

} // namespace flow
