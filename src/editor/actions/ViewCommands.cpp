#include "editor/actions/ViewCommands.h"

#include "editor/canvas/CanvasInteraction.h"
#include "model/Coordinates.h"
#include "render/CommentDrawing.h"
#include "render/NodeDrawing.h"
#include "render/SceneVisibility.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace flow {

namespace {

// Room left free between the circuit and each canvas edge, in pixels.
constexpr double kFitMargin = 20;
// Fitted zoom levels are whole wheel notches, so that the wheel comes back to round levels.
constexpr double kNotchesPerLevel = 4;

// Sizes of comments and constants come from their texts; a circuit just read, or changed since
// the last redraw, may not be measured yet.
void LayOutObjects(Frame& frame) {
    for (const auto& comment : frame.Comments)
        LayoutComment(*comment);
    for (const auto& node : frame.Nodes)
        LayoutConstant(*node);
}

QRectF CircuitBounds(const Frame& frame) {
    QRectF bounds;
    for (const auto& comment : frame.Comments)
        bounds |= DrawnBounds(*comment);
    for (const auto& node : frame.Nodes)
        bounds |= DrawnBounds(*node);
    for (const auto& wire : frame.Wires)
        if (wire->Source && wire->Destination) bounds |= DrawnBounds(*wire);
    return bounds;
}

} // namespace

QSize CanvasSize(const Circuit& circuit) {
    if (const auto* canvas = qobject_cast<const QWidget*>(circuit.Canvas)) return canvas->size();
    return QSize(circuit.CanvasWidth, circuit.CanvasHeight);
}

void ZoomView(Circuit& circuit, float levels) {
    // The camera names the circuit point at the canvas centre, so it stays as it is.
    SetZoomLevel(circuit, circuit.ZoomLevel + levels);
}

void ShowActualSize(Circuit& circuit) {
    SetZoomLevel(circuit, 0.0f);
}

void FitCircuitInView(Circuit& circuit, QSize canvas) {
    LayOutObjects(circuit.MainFrame);
    const QRectF bounds = CircuitBounds(circuit.MainFrame);
    if (bounds.isEmpty() || !bounds.isValid()) {
        circuit.CameraX = circuit.CameraY = 0;
        SetZoomLevel(circuit, 0.0f);
        return;
    }
    // The camera sits on whole units: one unit more on every side absorbs its rounding.
    const double width = bounds.width() + 2, height = bounds.height() + 2;
    const double roomX = std::max(1.0, canvas.width() - 2 * kFitMargin);
    const double roomY = std::max(1.0, canvas.height() - 2 * kFitMargin);
    const double level = std::log2(std::min(roomX / width, roomY / height));
    SetZoomLevel(circuit, float(std::floor(level * kNotchesPerLevel) / kNotchesPerLevel));
    circuit.CameraX = NearestUnit(bounds.center().x());
    circuit.CameraY = NearestUnit(bounds.center().y());
}

} // namespace flow
