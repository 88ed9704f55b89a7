#include "editor/canvas/HitTestPass.h"

#include "editor/canvas/EditorState.h"
#include "model/Coordinates.h"
#include "model/Model.h"
#include "render/CommentDrawing.h"
#include "render/HoverText.h"
#include "render/NodeDrawing.h"
#include "render/PathCache.h"
#include "render/PinDrawing.h"
#include "render/SceneIndex.h"
#include "render/SceneVisibility.h"
#include "render/StatusText.h"
#include "render/WireGeometry.h"
#include "model/SubCircuits.h"

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
    return QPointF(double(Editor().MouseX), double(Editor().MouseY));
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

bool PointOnNode(const Node& node) {
    const QPointF mouse = Mouse();
    if (IsConstant(node)) {
        // The box extends left of X: Width is negative.
        return double(SaturatedSum(node.X, node.Width)) <= mouse.x() && mouse.x() < node.X &&
               node.Y <= mouse.y() && mouse.y() < double(SaturatedSum(node.Y, node.Height));
    }
    if (!node.Function) return false;
    return PathsOf(*node.Function)
        .ShapePath.contains(mouse - QPointF(double(node.X), double(node.Y)));
}

bool PointOnPort(const Port& port) {
    if (!port.Node || !port.Node->Frame) return false;
    const EditorState& editor = Editor();
    const double dx = editor.MouseX - double(SaturatedSum(port.Node->X, port.X));
    const double dy = editor.MouseY - double(SaturatedSum(port.Node->Y, port.Y));
    return dx * dx + dy * dy < 36;
}

bool PointOnComment(const Comment& comment) {
    QPainterPath outline;
    CommentBoxPath(outline, comment.X, comment.Y, comment.Width, comment.Height);
    outline.setFillRule(Qt::OddEvenFill);
    return outline.contains(Mouse());
}

bool PointOnCurve(const QPainterPath& curve) {
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

// The first step of every visit, for every object whatever lies under the mouse: layout,
// then the selection requests of the last event, and the rubber band.
void PrepareComment(Comment& comment) {
    LayoutComment(comment);
    comment.Flags &= ~ObjectFlag::NeedsLayout;
    ApplySelectionRequests(comment.Flags);
    if (Editor().Has(RubberBand) &&
        InsideRubberBand(comment.X, comment.Y, comment.Width, comment.Height))
        comment.Flags |= ObjectFlag::Hovered;
}

void PrepareNode(Node& node) {
    for (const auto& port : node.Ports)
        if (ApplySelectionRequests(port->Flags)) Editor().WireSource = port.get();
    LayoutConstant(node);
    LayoutPinName(node);
    node.Flags &= ~ObjectFlag::NeedsLayout;
    ApplySelectionRequests(node.Flags);
    if (Editor().Has(RubberBand) && InsideRubberBand(node.X, node.Y, node.Width, node.Height))
        node.Flags |= ObjectFlag::Hovered;
}

// What lies under the mouse, and where the pass records it.
struct Hit {
    Comment* OnComment = nullptr;
    Node* OnNode = nullptr;
    Port* OnPort = nullptr;
    Wire* OnWire = nullptr;

    const void* Object() const {
        if (OnComment) return OnComment;
        if (OnPort) return OnPort;
        if (OnNode) return OnNode;
        return OnWire;
    }
};

// The topmost object under the mouse, tested in the order of the drawing reversed: comments,
// then nodes with each node's ports before its body, then wires, each list from its last
// element to its first. Only objects whose box holds the mouse are tested; the others cannot
// be under it.
Hit FindUnderMouse(const Circuit& circuit, const SceneIndex& index) {
    const Frame& frame = ShownFrame(circuit);
    SceneObjects near;
    if (SkipHiddenObjects()) {
        const QPointF mouse = Mouse();
        index.Collect(QRectF(mouse, mouse), near);
    } else {
        for (std::size_t i = 0; i < frame.Comments.size(); ++i)
            near.Comments.push_back(int(i));
        for (std::size_t i = 0; i < frame.Nodes.size(); ++i)
            near.Nodes.push_back(int(i));
        for (std::size_t i = 0; i < frame.Wires.size(); ++i)
            near.Wires.push_back(int(i));
    }
    Hit hit;
    for (auto it = near.Comments.rbegin(); it != near.Comments.rend(); ++it) {
        Comment& comment = *frame.Comments[std::size_t(*it)];
        if (PointOnComment(comment)) {
            hit.OnComment = &comment;
            return hit;
        }
    }
    for (auto it = near.Nodes.rbegin(); it != near.Nodes.rend(); ++it) {
        Node& node = *frame.Nodes[std::size_t(*it)];
        // A node's ports lie on its outline and are tested first, so that a port is found
        // rather than the node around it.
        for (const auto& port : node.Ports) {
            if (PointOnPort(*port)) {
                hit.OnPort = port.get();
                return hit;
            }
        }
        if (PointOnNode(node)) {
            hit.OnNode = &node;
            return hit;
        }
    }
    for (auto it = near.Wires.rbegin(); it != near.Wires.rend(); ++it) {
        Wire& wire = *frame.Wires[std::size_t(*it)];
        if (!wire.Source || !wire.Destination) continue;
        const bool kept = SkipHiddenObjects() && index.HasCurve(*it);
        if (PointOnCurve(kept ? index.Curve(*it) : WireCurve(wire))) {
            hit.OnWire = &wire;
            return hit;
        }
    }
    return hit;
}

// Records the object under the mouse and names it in the status bar.
void Found(Circuit& circuit, int& flags, const QString& hoverText) {
    EditorState& editor = Editor();
    flags |= ObjectFlag::Hovered;
    editor.Set(HoverFound);
    SetStatusText(circuit, StatusField::Hover, hoverText);
    if (Has(flags, ObjectFlag::Selected)) editor.Set(HoverSelected);
}

void Apply(Circuit& circuit, const RunSession* run, const Hit& hit) {
    EditorState& editor = Editor();
    if (hit.OnComment) {
        editor.HoveredComment = hit.OnComment;
        Found(circuit, hit.OnComment->Flags, HoverText(*hit.OnComment));
    } else if (hit.OnPort) {
        editor.HoveredPort = hit.OnPort;
        Found(circuit, hit.OnPort->Flags, HoverText(*hit.OnPort, run));
    } else if (hit.OnNode) {
        editor.HoveredNode = hit.OnNode;
        Found(circuit, hit.OnNode->Flags, HoverText(*hit.OnNode));
    } else if (hit.OnWire) {
        // A wire never counts as a selected object under the mouse: a click on it always
        // makes it the only selection.
        hit.OnWire->Flags |= ObjectFlag::Hovered;
        editor.Set(HoverFound);
        SetStatusText(circuit, StatusField::Hover, HoverText(*hit.OnWire, run));
    }
}

} // namespace

void HitTestPass(Circuit& circuit, const RunSession* run) {
    Frame& frame = ShownFrame(circuit);
    for (auto it = frame.Comments.rbegin(); it != frame.Comments.rend(); ++it)
        PrepareComment(**it);
    for (auto it = frame.Nodes.rbegin(); it != frame.Nodes.rend(); ++it)
        PrepareNode(**it);
    for (auto it = frame.Wires.rbegin(); it != frame.Wires.rend(); ++it)
        ApplySelectionRequests((*it)->Flags);

    SceneIndex& index = SceneIndexOf(circuit);
    index.Refresh(frame);
    EditorState& editor = Editor();
    const bool mayHit = MayHitPoint();
    const Hit hit = mayHit ? FindUnderMouse(circuit, index) : Hit();
    Apply(circuit, run, hit);
    editor.LastHitCircuit = &circuit;
    editor.LastHit = mayHit ? hit.Object() : &editor; // this pass looked for nothing
}

bool HoverWouldStay(const Circuit& circuit) {
    const EditorState& editor = Editor();
    if (editor.LastHitCircuit != &circuit) return false;
    SceneIndex& index = SceneIndexOf(circuit);
    if (index.Refresh(ShownFrame(circuit)) || index.LayoutPending()) return false;
    return FindUnderMouse(circuit, index).Object() == editor.LastHit;
}

} // namespace flow
