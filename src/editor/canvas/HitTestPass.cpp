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
#include <utility>

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

// What lies under the mouse, and where the pass records it.
struct Hit {
    std::size_t Tested = 0; // objects near the mouse
    int Index = 0;          // of the comment, node (a port's too) or wire in the frame's list
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
    hit.Tested = near.Comments.size() + near.Nodes.size() + near.Wires.size();
    for (auto it = near.Comments.rbegin(); it != near.Comments.rend(); ++it) {
        Comment& comment = *frame.Comments[std::size_t(*it)];
        if (PointOnComment(comment, mouse)) {
            hit.Index = *it;
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
                hit.Index = *it;
                hit.OnPort = port.get();
                return hit;
            }
        }
        if (PointOnNode(node, mouse)) {
            hit.Index = *it;
            hit.OnNode = &node;
            return hit;
        }
    }
    for (auto it = near.Wires.rbegin(); it != near.Wires.rend(); ++it) {
        Wire& wire = *frame.Wires[std::size_t(*it)];
        if (!wire.Source || !wire.Destination) continue;
        const bool kept = SkipHiddenObjects() && index.HasCurve(*it);
        if (PointOnCurve(kept ? index.Curve(*it) : WireCurve(wire, &view), mouse)) {
            hit.Index = *it;
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

HoverMark MarkOf(const Hit& hit) {
    using Kind = HoverMark::Kind;
    if (hit.OnComment) return {Kind::Comment, hit.Index};
    if (hit.OnPort) return {Kind::Port, hit.Index, hit.OnPort};
    if (hit.OnNode) return {Kind::Node, hit.Index};
    return {Kind::Wire, hit.Index};
}

void Apply(CircuitView& view, const Hit& hit) {
    EditorState& editor = view;
    const std::vector<Node*>& path = view.OpenPath;
    if (hit.Object()) view.LastPass.Marks.push_back(MarkOf(hit));
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

// Whether the pass must visit every object: the circuit was edited or another frame is shown
// (sizes and the scene index to bring up to date), a selection request waits, a text is edited
// or was until now (its box follows the buffer), or a drag begins (it moves what the index
// finds selected). Otherwise nothing but the marks of the last pass can have changed.
bool NeedsWholePass(const CircuitView& view) {
    const PassRecord& last = view.LastPass;
    return !SkipHiddenObjects() || last.Shown != &ShownFrame(view) ||
           last.Edits != view.Circuit->Edits || view.Has(Editing) || last.Editing ||
           view.Has(DeselectAll | ToggleHovered) || (view.Drag() && !last.Dragging);
}

int& FlagsOf(const Frame& frame, const HoverMark& mark) {
    switch (mark.Of) {
    case HoverMark::Kind::Comment:
        return frame.Comments[std::size_t(mark.Index)]->Flags;
    case HoverMark::Kind::Port:
        return mark.OnPort->Flags;
    case HoverMark::Kind::Wire:
        return frame.Wires[std::size_t(mark.Index)]->Flags;
    case HoverMark::Kind::Node:
        break;
    }
    return frame.Nodes[std::size_t(mark.Index)]->Flags;
}

void MarkIfInBand(CircuitView& view, HoverMark::Kind kind, int index, ObjectHeader& object,
                  int& flags) {
    if (!InsideRubberBand(view, object.X, object.Y, object.Width, object.Height)) return;
    flags |= ObjectFlag::Hovered;
    view.LastPass.Marks.push_back({kind, index});
}

// Lays out, applies the selection requests and the band to every object, and brings the scene
// index up to date.
void VisitEveryObject(CircuitView& view) {
    LayOutShownFrame(view);
    Frame& frame = ShownFrame(view);
    view.LastPass.Visited = frame.Comments.size() + frame.Nodes.size() + frame.Wires.size();
    for (std::size_t i = frame.Comments.size(); i-- > 0;) {
        Comment& comment = *frame.Comments[i];
        ApplySelectionRequests(view, comment.Flags);
        MarkIfInBand(view, HoverMark::Kind::Comment, int(i), comment, comment.Flags);
    }
    for (std::size_t i = frame.Nodes.size(); i-- > 0;) {
        Node& node = *frame.Nodes[i];
        for (const auto& port : node.Ports)
            if (ApplySelectionRequests(view, port->Flags)) view.WireSource = port.get();
        ApplySelectionRequests(view, node.Flags);
        MarkIfInBand(view, HoverMark::Kind::Node, int(i), node, node.Flags);
    }
    for (auto it = frame.Wires.rbegin(); it != frame.Wires.rend(); ++it)
        ApplySelectionRequests(view, (*it)->Flags);
    view.Index.Refresh(frame);
}

// With nothing edited since the last pass, only its marks go, and the band marks what the index
// finds inside it.
void VisitMarkedObjects(CircuitView& view, const std::vector<HoverMark>& before) {
    const Frame& frame = ShownFrame(view);
    view.LastPass.Visited = before.size();
    for (const HoverMark& mark : before)
        FlagsOf(frame, mark) &= ~ObjectFlag::Hovered;
    const press::Banding* band = view.Band();
    if (!band) return;
    const QRectF area = QRectF(QPointF(double(band->DownX), double(band->DownY)),
                               QPointF(double(view.MouseX), double(view.MouseY)))
                            .normalized();
    static SceneObjects near; // kept, so that its buffers are reused
    near.Clear();
    view.Index.Collect(area, near);
    view.LastPass.Visited += near.Comments.size() + near.Nodes.size();
    for (const int i : near.Comments) {
        Comment& comment = *frame.Comments[std::size_t(i)];
        MarkIfInBand(view, HoverMark::Kind::Comment, i, comment, comment.Flags);
    }
    for (const int i : near.Nodes) {
        Node& node = *frame.Nodes[std::size_t(i)];
        MarkIfInBand(view, HoverMark::Kind::Node, i, node, node.Flags);
    }
}

// The marks that differ between two passes; listed only when they are few, as a hover change
// makes them.
void ListChanges(PassRecord& pass, const std::vector<HoverMark>& before) {
    constexpr std::size_t kMostListed = 16;
    pass.Changed.clear();
    if (before.size() + pass.Marks.size() > kMostListed) {
        pass.ChangesListed = false;
        return;
    }
    const auto absent = [](const std::vector<HoverMark>& marks, const HoverMark& mark) {
        return std::find(marks.begin(), marks.end(), mark) == marks.end();
    };
    for (const HoverMark& mark : before)
        if (absent(pass.Marks, mark)) pass.Changed.push_back(mark);
    for (const HoverMark& mark : pass.Marks)
        if (absent(before, mark)) pass.Changed.push_back(mark);
    pass.ChangesListed = true;
}

} // namespace

void HitTestPass(CircuitView& view) {
    PassRecord& pass = view.LastPass;
    const bool whole = NeedsWholePass(view);
    const std::vector<HoverMark> before = std::exchange(pass.Marks, {});
    if (whole)
        VisitEveryObject(view);
    else
        VisitMarkedObjects(view, before);
    pass.Shown = &ShownFrame(view);
    pass.Edits = view.Circuit->Edits;
    pass.Editing = view.Has(Editing);
    pass.Dragging = view.Drag() != nullptr;

    const bool mayHit = MayHitPoint(view);
    const Hit hit = mayHit ? FindUnderMouse(view) : Hit();
    pass.Visited += hit.Tested;
    Apply(view, hit);
    view.LastHit = mayHit ? hit.Object() : &view; // this pass looked for nothing
    PlacePreview(view);
    if (whole) {
        pass.ChangesListed = false;
        pass.Changed.clear();
    } else {
        ListChanges(pass, before);
    }
}

bool HoverWouldStay(const CircuitView& view) {
    if (!view.LastHit || NeedsWholePass(view)) return false;
    return FindUnderMouse(view).Object() == *view.LastHit;
}

} // namespace flow
