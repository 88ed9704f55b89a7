#include "render/SceneVisibility.h"

#include "editor/EditorState.h"
#include "model/Model.h"
#include "render/PathCache.h"
#include "render/SceneDrawing.h"

#include <QPainterPath>

#include <cmath>

namespace flow {

namespace {

// How far drawing reaches beyond an object's outline: half the widest shadow stroke (12),
// plus room for anti-aliasing.
constexpr double kNodeReach = 8;
constexpr double kCommentReach = 8;
// Half the widest wire stroke (the highlight, 6), plus round ends and anti-aliasing.
constexpr double kWireReach = 4;
constexpr double kPortRadius = 6;

QRectF Widened(QRectF rect, double by) {
    return rect.adjusted(-by, -by, by, by);
}

// Shape and symbol of a function, in node coordinates.
QRectF FunctionBounds(const FunctionDef& function) {
    return ShapePath(function.Shape).controlPointRect() |
           SymbolPath(function.Symbol).controlPointRect();
}

QPointF DragOffset(int flags) {
    const EditorState& editor = Editor();
    if ((flags & ObjectFlag::Selected) && editor.Has(InteractionFlag::Dragged))
        return QPointF(editor.DragDX, editor.DragDY);
    return QPointF(0, 0);
}

} // namespace

bool& SkipHiddenObjects() {
    static bool skip = true;
    return skip;
}

SceneVisibility::SceneVisibility(const Circuit& circuit) {
    const double m = circuit.Magnification;
    if (!SkipHiddenObjects() || !std::isfinite(m) || m <= 0) {
        Everything = true;
        return;
    }
    const double cx = circuit.CanvasWidth / 2, cy = circuit.CanvasHeight / 2;
    const QPointF topLeft((-1 - cx) / m + circuit.CameraX, (-1 - cy) / m + circuit.CameraY);
    const QPointF bottomRight((circuit.CanvasWidth + 1 - cx) / m + circuit.CameraX,
                              (circuit.CanvasHeight + 1 - cy) / m + circuit.CameraY);
    View = QRectF(topLeft, bottomRight);
}

bool SceneVisibility::Overlaps(QRectF bounds) const {
    return Everything || View.intersects(bounds);
}

QRectF DrawnBounds(const Wire& wire) {
    return Widened(WireCurve(wire).controlPointRect(), kWireReach);
}

QRectF DrawnBounds(const Node& node) {
    QRectF bounds = QRectF(0, 0, node.Width, node.Height).normalized();
    if (node.Function && !IsConstant(node)) bounds |= FunctionBounds(*node.Function);
    for (const auto& port : node.Ports)
        bounds |= Widened(QRectF(port->X, port->Y, 0, 0), kPortRadius);
    return Widened(bounds.translated(node.X, node.Y), kNodeReach);
}

QRectF DrawnBounds(const Comment& comment) {
    const QRectF box(comment.X, comment.Y, comment.Width, comment.Height);
    return Widened(box.normalized(), kCommentReach);
}

bool SceneVisibility::Shows(const Wire& wire) const {
    // Only wires with both ends on nodes are measured; anything else is simply drawn.
    if (!wire.Source || !wire.Destination || !wire.Source->Node || !wire.Destination->Node)
        return true;
    return Overlaps(DrawnBounds(wire));
}

bool SceneVisibility::Shows(const Node& node) const {
    return Overlaps(DrawnBounds(node).translated(DragOffset(node.Flags)));
}

bool SceneVisibility::Shows(const Comment& comment) const {
    return Overlaps(DrawnBounds(comment).translated(DragOffset(comment.Flags)));
}

} // namespace flow
