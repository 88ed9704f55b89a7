#include "editor/actions/ViewCommands.h"

#include "editor/canvas/CanvasInteraction.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"
#include "model/Coordinates.h"
#include "model/Model.h"
#include "model/ObjectsById.h"
#include "model/SubCircuits.h"
#include "render/CommentDrawing.h"
#include "render/NodeDrawing.h"
#include "render/Overview.h"
#include "render/Redraw.h"
#include "render/SceneLayout.h"
#include "render/SceneVisibility.h"
#include "render/ValueLabels.h"

#include <QSettings>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace flow {

namespace {

constexpr char kShowValuesKey[] = "ShowValues";
constexpr char kShowOverviewKey[] = "ShowOverview";

QSettings Settings() {
    return QSettings(QStringLiteral("Flowlattice"), QStringLiteral("Flowlattice"));
}

// Room left free between the circuit and each canvas edge, in pixels.
constexpr double kFitMargin = 20;
// Fitted zoom levels are whole wheel notches, so that the wheel comes back to round levels.
constexpr double kNotchesPerLevel = 4;

// Sizes of comments and constants come from their texts; a circuit just read, or changed since
// the last redraw, may not be measured yet.

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
    const CircuitWindow* window = WindowOf(circuit);
    return window ? window->Canvas()->size() : QSize();
}

void ZoomView(Circuit& circuit, float levels) {
    // The camera names the circuit point at the canvas centre, so it stays as it is.
    if (CircuitView* view = ViewOf(circuit)) SetZoomLevel(*view, view->ZoomLevel + levels);
}

void ShowActualSize(Circuit& circuit) {
    if (CircuitView* view = ViewOf(circuit)) SetZoomLevel(*view, 0.0f);
}

void FitCircuitInView(CircuitView& view, QSize canvas) {
    LayOutShownFrame(view);
    const QRectF bounds = CircuitBounds(ShownFrame(view));
    if (bounds.isEmpty() || !bounds.isValid()) {
        view.CameraX = view.CameraY = 0;
        SetZoomLevel(view, 0.0f);
        return;
    }
    // The camera sits on whole units: one unit more on every side absorbs its rounding.
    const double width = bounds.width() + 2, height = bounds.height() + 2;
    const double roomX = std::max(1.0, canvas.width() - 2 * kFitMargin);
    const double roomY = std::max(1.0, canvas.height() - 2 * kFitMargin);
    const double level = std::log2(std::min(roomX / width, roomY / height));
    SetZoomLevel(view, float(std::floor(level * kNotchesPerLevel) / kNotchesPerLevel));
    view.CameraX = NearestUnit(bounds.center().x());
    view.CameraY = NearestUnit(bounds.center().y());
}

void ShowNode(Circuit& circuit, Int nodeId) {
    Node* node = ObjectsById(ShownFrame(circuit).Nodes).value(nodeId);
    if (!node) return; // deleted since it printed
    for (const auto& comment : ShownFrame(circuit).Comments)
        comment->Flags &= ~ObjectFlag::Selected;
    for (const auto& other : ShownFrame(circuit).Nodes)
        other->Flags &= ~ObjectFlag::Selected;
    for (const auto& wire : ShownFrame(circuit).Wires)
        wire->Flags &= ~ObjectFlag::Selected;
    node->Flags |= ObjectFlag::Selected;
    // A constant's box reaches left of X: its Width is negative.
    if (CircuitView* view = ViewOf(circuit)) {
        view->CameraX = SaturatedSum(node->X, node->Width / 2);
        view->CameraY = SaturatedSum(node->Y, node->Height / 2);
    }
    RedrawCircuit(circuit);
}

namespace {

// A choice that every canvas shows: turned over, kept in the settings and shown at once.
void ToggleChoice(bool (*shown)(), void (*show)(bool), const char* key) {
    show(!shown());
    Settings().setValue(QLatin1String(key), shown());
    for (const auto& circuit : Circuits())
        RedrawCircuit(*circuit);
}

void RecallChoice(void (*show)(bool), const char* key) {
    show(Settings().value(QLatin1String(key), false).toBool());
}

} // namespace

void ToggleValueLabels() {
    ToggleChoice(ValueLabelsShown, ShowValueLabels, kShowValuesKey);
}

void RecallValueLabels() {
    RecallChoice(ShowValueLabels, kShowValuesKey);
}

void ToggleOverview() {
    ToggleChoice(OverviewShown, ShowOverview, kShowOverviewKey);
}

void RecallOverview() {
    RecallChoice(ShowOverview, kShowOverviewKey);
}

} // namespace flow
