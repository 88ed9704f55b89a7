#include "editor/HitTestPass.h"

#include "editor/EditorState.h"
#include "model/Coordinates.h"
#include "model/Model.h"
#include "render/HoverText.h"
#include "render/PathCache.h"
#include "render/SceneDrawing.h"
#include "render/StatusText.h"

#include <QPainterPathStroker>

#include <algorithm>

namespace flow {

namespace {

using namespace InteractionFlag;

bool Has(int flags, int bit) {
    return (flags & bit) != 0;
}

// The requests of the last event, then a fresh start for the hover bit. Returns whether the
// object's selection flipped.
bool ApplySelectionRequests(int& flags) {
    const EditorState& editor = Editor();
    if (editor.Has(DeselectAll)) flags &= ~ObjectFlag::Selected;
    const bool toggle = editor.Has(ToggleHovered) && Has(flags, ObjectFlag::Hovered);
    if (toggle) flags ^= ObjectFlag::Selected;
    flags &= ~ObjectFlag::Hovered;
    return toggle;
}

// Only one object per pass is under the mouse, and none while a drag or a band is under way.
bool MayHitPoint() {
    const EditorState& editor = Editor();
    return !editor.Has(Dragged) && !editor.Has(HoverFound) && !editor.Has(RubberBand);
}

QPointF Mouse() {
    return QPointF(Editor().MouseX, Editor().MouseY);
}

// Right and bottom edges are exclusive, so a band of zero size catches nothing.
bool InsideRubberBand(Int x, Int y, Int width, Int height) {
    const EditorState& editor = Editor();
    const Int minX = std::min(editor.DownX, editor.MouseX);
    const Int maxX = std::max(editor.DownX, editor.MouseX);
    const Int minY = std::min(editor.DownY, editor.MouseY);
    const Int maxY = std::max(editor.DownY, editor.MouseY);
    const Int left = std::min(x, SaturatedSum(x, width));
    const Int right = std::max(x, SaturatedSum(x, width));
    const Int top = std::min(y, SaturatedSum(y, height));
    const Int bottom = std::max(y, SaturatedSum(y, height));
    return left >= minX && right < maxX && top >= minY && bottom < maxY;
}

// Records the object under the mouse and names it in the status bar.
void Found(Circuit& circuit, int& flags, const QString& hoverText) {
    EditorState& editor = Editor();
    flags |= ObjectFlag::Hovered;
    editor.Set(HoverFound);
    SetStatusText(circuit, 2, hoverText);
    if (Has(flags, ObjectFlag::Selected)) editor.Set(HoverSelected);
}

bool PointOnNode(const Node& node) {
    const QPointF mouse = Mouse();
    if (IsConstant(node)) {
        // The box extends left of X: Width is negative.
        return double(SaturatedSum(node.X, node.Width)) <= mouse.x() && mouse.x() < node.X &&
               node.Y <= mouse.y() && mouse.y() < double(SaturatedSum(node.Y, node.Height));
    }
    if (!node.Function) return false;
    return ShapePath(node.Function->Shape).contains(mouse - QPointF(node.X, node.Y));
}

bool PointOnComment(const Comment& comment) {
    QPainterPath outline;
    CommentBoxPath(outline, comment.X, comment.Y, comment.Width, comment.Height);
    outline.setFillRule(Qt::OddEvenFill);
    return outline.contains(Mouse());
}

bool PointOnWire(const Wire& wire) {
    if (!wire.Source || !wire.Destination) return false;
    const QPainterPath curve = WireCurve(wire);
    // The curve lies within its control points' box and round joins keep the stroke within
    // half its width of the curve, so a point outside the widened box cannot be on it.
    constexpr double halfWidth = 3;
    if (!curve.controlPointRect()
             .adjusted(-halfWidth, -halfWidth, halfWidth, halfWidth)
             .contains(Mouse()))
        return false;
    QPainterPathStroker stroker;
    stroker.setWidth(2 * halfWidth);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(curve).contains(Mouse());
}

void VisitComment(Circuit& circuit, Comment& comment) {
    EditorState& editor = Editor();
    LayoutComment(comment);
    comment.Flags &= ~ObjectFlag::NeedsLayout;
    ApplySelectionRequests(comment.Flags);
    if (editor.Has(RubberBand)) {
        if (InsideRubberBand(comment.X, comment.Y, comment.Width, comment.Height))
            comment.Flags |= ObjectFlag::Hovered;
    } else if (MayHitPoint() && PointOnComment(comment)) {
        editor.HoveredComment = &comment;
        Found(circuit, comment.Flags, HoverText(comment));
    }
}

void VisitPort(Circuit& circuit, Port& port) {
    EditorState& editor = Editor();
    if (ApplySelectionRequests(port.Flags)) editor.WireSource = &port;
    if (!MayHitPoint() || !port.Node || !port.Node->Frame) return;
    const double dx = editor.MouseX - double(SaturatedSum(port.Node->X, port.X));
    const double dy = editor.MouseY - double(SaturatedSum(port.Node->Y, port.Y));
    if (dx * dx + dy * dy < 36) {
        editor.HoveredPort = &port;
        Found(circuit, port.Flags, HoverText(port));
    }
}

// A node's ports lie on its outline and are tested first, so that a port is found rather
// than the node around it.
void VisitNode(Circuit& circuit, Node& node) {
    EditorState& editor = Editor();
    for (const auto& port : node.Ports)
        VisitPort(circuit, *port);
    LayoutConstant(node);
    node.Flags &= ~ObjectFlag::NeedsLayout;
    ApplySelectionRequests(node.Flags);
    if (editor.Has(RubberBand)) {
        if (InsideRubberBand(node.X, node.Y, node.Width, node.Height))
            node.Flags |= ObjectFlag::Hovered;
    } else if (MayHitPoint() && PointOnNode(node)) {
        editor.HoveredNode = &node;
        Found(circuit, node.Flags, HoverText(node));
    }
}

void VisitWire(Circuit& circuit, Wire& wire) {
    EditorState& editor = Editor();
    ApplySelectionRequests(wire.Flags);
    if (MayHitPoint() && PointOnWire(wire)) {
        // A wire never counts as a selected object under the mouse: a click on it always
        // makes it the only selection.
        wire.Flags |= ObjectFlag::Hovered;
        editor.Set(HoverFound);
        SetStatusText(circuit, 2, HoverText(wire));
    }
}

} // namespace

void HitTestPass(Circuit& circuit) {
    Frame& frame = circuit.MainFrame;
    // Topmost first: the drawing order reversed.
    for (auto it = frame.Comments.rbegin(); it != frame.Comments.rend(); ++it)
        VisitComment(circuit, **it);
    for (auto it = frame.Nodes.rbegin(); it != frame.Nodes.rend(); ++it)
        VisitNode(circuit, **it);
    for (auto it = frame.Wires.rbegin(); it != frame.Wires.rend(); ++it)
        VisitWire(circuit, **it);
}

} // namespace flow
