#include "editor/canvas/HitTestPass.h"

#include "editor/canvas/GridSnap.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/StatusText.h"
#include "model/Coordinates.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "render/Camera.h"
#include "render/CommentDrawing.h"
#include "render/HoverText.h"
#include "render/NodeDrawing.h"
#include "render/Overview.h"
#include "render/PathCache.h"
#include "render/PinDrawing.h"
#include "render/SceneIndex.h"
#include "render/SceneLayout.h"
#include "render/SceneVisibility.h"
#include "render/WireGeometry.h"

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
bool ApplySelectionRequests(const EditorState& editor, int& flags) {
    if (editor.Has(DeselectAll)) flags &= ~ObjectFlag::Selected;
    const bool toggle = editor.Has(ToggleHovered) && Has(flags, ObjectFlag::Hovered);
    if (toggle) flags ^= ObjectFlag::Selected;
    flags &= ~ObjectFlag::Hovered;
    return toggle;
}

// Only one object per pass is under the mouse, and none while a drag or a band is under way,
// or while the mouse is on the overview's map, over the objects.
bool MayHitPoint(const CircuitView& view) {
    const EditorState& editor = view;
    if (editor.Drag() || editor.Has(HoverFound) || editor.Band()) return false;
    const QPointF pixel(ToScreenX(view, double(editor.MouseX)),
                        ToScreenY(view, double(editor.MouseY)));
    return !OverviewRect(view).contains(pixel);
}

QPointF Mouse(const EditorState& editor) {
    return QPointF(double(editor.MouseX), double(editor.MouseY));
}

// Right and bottom edges are exclusive, so a band of zero size catches nothing.
bool InsideRubberBand(const EditorState& editor, Int x, Int y, Int width, Int height) {
    const press::Banding* band = editor.Band();
    if (!band) return false;
    const Int minX = std::min(band->DownX, editor.MouseX);
    const Int maxX = std::max(band->DownX, editor.MouseX);
    const Int minY = std::min(band->DownY, editor.MouseY);
    const Int maxY = std::max(band->DownY, editor.MouseY);
    const Int left = std::min(x, SaturatedSum(x, width));
    const Int right = std::max(x, SaturatedSum(x, width));
    const Int top = std::min(y, SaturatedSum(y, height));
    const Int bottom = std::max(y, SaturatedSum(y, height));
    return left >= minX && right < maxX && top >= minY && bottom < maxY;
}

bool PointOnNode(const Node& node, QPointF mouse) {
    if (HoldsValue(node)) {
        // The box extends left of X: Width is negative.
        return double(SaturatedSum(node.X, node.Width)) <= mouse.x() && mouse.x() < node.X &&
               node.Y <= mouse.y() && mouse.y() < double(SaturatedSum(node.Y, node.Height));
    }
    if (!node.Function) return false;
    return PathsOf(*node.Function)
        .ShapePath.contains(mouse - QPointF(double(node.X), double(node.Y)));
}

bool PointOnPort(const Port& port, QPointF mouse) {
    if (!port.Node || !port.Node->Frame) return false;
    const double dx = mouse.x() - double(SaturatedSum(port.Node->X, port.X));
    const double dy = mouse.y() - double(SaturatedSum(port.Node->Y, port.Y));
    return dx * dx + dy * dy < 36;
}

bool PointOnComment(const Comment& comment, QPointF mouse) {
    QPainterPath outline;
    CommentBoxPath(outline, comment.X, comment.Y, comment.Width, comment.Height);
    outline.setFillRule(Qt::OddEvenFill);
    return outline.contains(mouse);
}

bool PointOnCurve(const QPainterPath& curve, QPointF mouse) {
    // The curve lies within its control points' box and round joins keep the stroke within
    // half its width of the curve, so a point outside the widened box cannot be on it.
    constexpr double halfWidth = 3;
    if (!curve.controlPointRect()
             .adjusted(-halfWidth, -halfWidth, halfWidth, halfWidth)
             .contains(mouse))
        return false;
    QPainterPathStroker stroker;
    stroker.setWidth(2 * halfWidth);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(curve).contains(mouse);
}

// The first step of every visit, for every object whatever lies under the mouse: the selection
// requests of the last event, and the rubber band.
void PrepareComment(EditorState& editor, Comment& comment) {
    ApplySelectionRequests(editor, comment.Flags);
    if (InsideRubberBand(editor, comment.X, comment.Y, comment.Width, comment.Height))
        comment.Flags |= ObjectFlag::Hovered;
}

void PrepareNode(EditorState& editor, Node& node) {
    for (const auto& port : node.Ports)
        if (ApplySelectionRequests(editor, port->Flags)) editor.WireSource = port.get();
    ApplySelectionRequests(editor, node.Flags);
    if (InsideRubberBand(editor, node.X, node.Y, node.Width, node.Height))
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
Hit FindUnderMouse(const CircuitView& view) {
    const Frame& frame = ShownFrame(view);
    const SceneIndex& index = view.Index;
    const QPointF mouse = Mouse(view);
    SceneObjects near;
    if (SkipHiddenObjects()) {
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
        if (PointOnComment(comment, mouse)) {
            hit.OnComment = &comment;
            return hit;
        }
    }
    for (auto it = near.Nodes.rbegin(); it != near.Nodes.rend(); ++it) {
        Node& node = *frame.Nodes[std::size_t(*it)];
        // A node's ports lie on its outline and are tested first, so that a port is found
        // rather than the node around it.
        for (const auto& port : node.Ports) {
            if (PointOnPort(*port, mouse)) {
                hit.OnPort = port.get();
                return hit;
            }
        }
        if (PointOnNode(node, mouse)) {
            hit.OnNode = &node;
            return hit;
        }
    }
    for (auto it = near.Wires.rbegin(); it != near.Wires.rend(); ++it) {
        Wire& wire = *frame.Wires[std::size_t(*it)];
        if (!wire.Source || !wire.Destination) continue;
        const bool kept = SkipHiddenObjects() && index.HasCurve(*it);
        if (PointOnCurve(kept ? index.Curve(*it) : WireCurve(wire, &view), mouse)) {
            hit.OnWire = &wire;
            return hit;
        }
    }
    return hit;
}

// Records the object under the mouse and names it in the status bar.
void Found(CircuitView& view, int& flags, const QString& hoverText) {
    EditorState& editor = view;
    flags |= ObjectFlag::Hovered;
    editor.Set(HoverFound);
    SetStatusText(*view.Circuit, StatusField::Hover, hoverText);
    if (Has(flags, ObjectFlag::Selected)) editor.Set(HoverSelected);
}

void Apply(CircuitView& view, const Hit& hit) {
    EditorState& editor = view;
    const std::vector<Node*>& path = view.OpenPath;
    if (hit.OnComment) {
        editor.HoveredComment = hit.OnComment;
        Found(view, hit.OnComment->Flags, HoverText(*hit.OnComment));
    } else if (hit.OnPort) {
        editor.HoveredPort = hit.OnPort;
        Found(view, hit.OnPort->Flags, HoverText(*hit.OnPort, path, view.Run));
    } else if (hit.OnNode) {
        editor.HoveredNode = hit.OnNode;
        Found(view, hit.OnNode->Flags, HoverText(*hit.OnNode, path, view.Run));
    } else if (hit.OnWire) {
        // A wire never counts as a selected object under the mouse: a click on it always
        // makes it the only selection.
        hit.OnWire->Flags |= ObjectFlag::Hovered;
        editor.Set(HoverFound);
        SetStatusText(*view.Circuit, StatusField::Hover, HoverText(*hit.OnWire, path, view.Run));
    }
}

// The node chosen from the add-node menu or the type-to-place popup, centred on the mouse.
void PlacePreview(CircuitView& view) {
    Node& preview = view.Preview;
    if (!preview.Function) return;
    LayoutConstant(preview, &view);
    const UnitPair place = SnappedPlace(*view.Circuit, view.MouseX - preview.Width / 2,
                                        view.MouseY - preview.Height / 2);
    preview.X = place.X;
    preview.Y = place.Y;
}

} // namespace

void HitTestPass(CircuitView& view) {
    LayOutShownFrame(view);
    Frame& frame = ShownFrame(view);
    for (auto it = frame.Comments.rbegin(); it != frame.Comments.rend(); ++it)
        PrepareComment(view, **it);
    for (auto it = frame.Nodes.rbegin(); it != frame.Nodes.rend(); ++it)
        PrepareNode(view, **it);
    for (auto it = frame.Wires.rbegin(); it != frame.Wires.rend(); ++it)
        ApplySelectionRequests(view, (*it)->Flags);

    view.Index.Refresh(frame);
    const bool mayHit = MayHitPoint(view);
    const Hit hit = mayHit ? FindUnderMouse(view) : Hit();
    Apply(view, hit);
    view.LastHit = mayHit ? hit.Object() : &view; // this pass looked for nothing
    PlacePreview(view);
}

bool HoverWouldStay(const CircuitView& view) {
    if (!view.LastHit) return false;
    SceneIndex& index = view.Index;
    if (index.Refresh(ShownFrame(view)) || index.LayoutPending()) return false;
    return FindUnderMouse(view).Object() == *view.LastHit;
}

} // namespace flow
