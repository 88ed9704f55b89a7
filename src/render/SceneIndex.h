#pragma once
// Where the objects of a circuit lie, kept between redraws so that drawing and the hit test
// visit only the objects near the view or the mouse, and each connected wire's curve, made
// once per change of its ends instead of several times a frame.
//
// It is derived data: Refresh compares every entry with the model (plain numbers and
// addresses, no paths) and remakes what differs, so no edit, however it was made, can leave
// the index stale. Each box holds everything the object draws (shadows, highlights, ports)
// and everything its hit test can accept, so a query never misses what the full pass finds.

#include "model/Records.h"
#include "render/BoxGrid.h"
#include "render/WireGeometry.h"

#include <QPainterPath>
#include <QRectF>

#include <vector>

namespace flow {

struct EditorState;

// Positions into a frame's lists, each kind in increasing list order.
struct SceneObjects {
    std::vector<int> Comments, Nodes, Wires;
    void Clear() {
        Comments.clear();
        Nodes.clear();
        Wires.clear();
    }
};

class SceneIndex {
  public:
    // Brings the index up to date with the frame's objects where they are (without a drag).
    // Returns whether anything had changed.
    bool Refresh(const Frame& frame);
    // The text under edit, whose pin name the index boxes as it is typed; none for a picture.
    void FollowEditing(const EditorState* editing) { editing_ = editing; }
    // The objects whose box meets the area, appended.
    void Collect(const QRectF& area, SceneObjects& found) const;
    // The curve of a connected wire without a drag (Refresh made it).
    const QPainterPath& Curve(int wire) const { return wires_[std::size_t(wire)].Curve; }
    // Whether the wire's curve is kept; wires with an end off any node are made when drawn.
    bool HasCurve(int wire) const { return wires_[std::size_t(wire)].Connected; }
    // What a drag moves, found by the last Refresh: selected nodes and comments, and the wires
    // with an end on a selected node.
    const std::vector<int>& SelectedNodes() const { return selectedNodes_; }
    const std::vector<int>& SelectedComments() const { return selectedComments_; }
    const std::vector<int>& WiresOfSelectedNodes() const { return selectedWires_; }
    // Wires with an end off any node: in no box, always drawn and tested as they are.
    const std::vector<int>& LooseWires() const { return looseWires_; }
    // Whether some comment or node waits for its layout.
    bool LayoutPending() const { return layoutPending_; }
    // Counts the refreshes that found a change: what is derived from the frame's objects and
    // was made at the same count is still true.
    std::uint64_t Generation() const { return generation_; }

    // Boxes, in circuit units, of what an object may draw or catch the mouse with.
    static QRectF NodeBox(const Node& node, const EditorState* editing = nullptr);
    static QRectF CommentBox(const Comment& comment);
    static QRectF WireBox(const QPainterPath& curve);

  private:
    struct NodeEntry {
        const Node* Object = nullptr;
        Int X = 0, Y = 0, Width = 0, Height = 0;
        const FunctionDef* Function = nullptr;
        std::uint64_t Ports = 0; // a digest of the port positions
    };
    struct CommentEntry {
        const Comment* Object = nullptr;
        Int X = 0, Y = 0, Width = 0, Height = 0;
    };
    struct WireEntry {
        const Wire* Object = nullptr;
        const Port* Source = nullptr;
        const Port* Destination = nullptr;
        QPointF Start, End;
        std::uint64_t Directions = 0;
        bool Connected = false;
        QPainterPath Curve;
        QRectF Box;
    };

    std::vector<NodeEntry> nodes_;
    std::vector<CommentEntry> comments_;
    std::vector<WireEntry> wires_;
    BoxGrid nodeGrid_, commentGrid_, wireGrid_;
    std::vector<int> selectedNodes_, selectedComments_, selectedWires_, looseWires_;
    bool layoutPending_ = false;
    std::uint64_t generation_ = 0;
    const EditorState* editing_ = nullptr;
};

} // namespace flow
