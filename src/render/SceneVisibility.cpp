#include "render/SceneVisibility.h"

#include "model/SubCircuits.h"
#include "render/CircuitView.h"
#include "render/WireGeometry.h"

#include <algorithm>
#include <cmath>

namespace flow {

namespace {

void Everything(const Frame& frame, SceneObjects& all) {
    all.Clear();
    auto count = [](std::vector<int>& indices, std::size_t size) {
        indices.resize(size);
        for (std::size_t i = 0; i < size; ++i)
            indices[i] = int(i);
    };
    count(all.Comments, frame.Comments.size());
    count(all.Nodes, frame.Nodes.size());
    count(all.Wires, frame.Wires.size());
}

bool Meets(const QRectF& box, const QRectF& view) {
    return box.left() <= view.right() && view.left() <= box.right() && box.top() <= view.bottom() &&
           view.top() <= box.bottom();
}

// Replaces the moved objects found where they were by those that show where they are drawn.
template <typename Moved, typename Shows>
void FollowDrag(std::vector<int>& found, const std::vector<int>& moved, Moved isMoved,
                Shows shows) {
    found.erase(std::remove_if(found.begin(), found.end(), isMoved), found.end());
    for (const int i : moved)
        if (shows(i)) found.push_back(i);
    std::sort(found.begin(), found.end());
}

} // namespace

bool& SkipHiddenObjects() {
    static bool skip = true;
    return skip;
}

QRectF DrawnBounds(const Wire& wire) {
    return SceneIndex::WireBox(WireCurve(wire));
}

QRectF DrawnBounds(const Node& node) {
    return SceneIndex::NodeBox(node);
}

QRectF DrawnBounds(const Comment& comment) {
    return SceneIndex::CommentBox(comment);
}

bool MovedByDrag(const Wire& wire, const CircuitView& view) {
    if (!view.Drag()) return false;
    const auto selected = [](const Port* port) {
        return port && port->Node && (port->Node->Flags & ObjectFlag::Selected);
    };
    return selected(wire.Source) || selected(wire.Destination);
}

void VisibleObjects(const CircuitView& view, const SceneIndex& index, SceneObjects& visible,
                    const QRectF* part) {
    const Frame& frame = ShownFrame(view);
    const double m = view.Magnification;
    if (!SkipHiddenObjects() || !std::isfinite(m) || m <= 0) {
        Everything(frame, visible);
        return;
    }
    // The canvas (or its part) in circuit units, a pixel wider on every side.
    const double cx = view.CanvasWidth / 2, cy = view.CanvasHeight / 2;
    const QRectF pixels = part ? *part : QRectF(0, 0, view.CanvasWidth, view.CanvasHeight);
    const QRectF area(QPointF((pixels.left() - 1 - cx) / m + double(view.CameraX),
                              (pixels.top() - 1 - cy) / m + double(view.CameraY)),
                      QPointF((pixels.right() + 1 - cx) / m + double(view.CameraX),
                              (pixels.bottom() + 1 - cy) / m + double(view.CameraY)));
    visible.Clear();
    index.Collect(area, visible);

    const press::Dragging* drag = view.Drag();
    if (!drag) return;
    const QPointF offset(double(drag->DX), double(drag->DY));
    const auto nodeSelected = [&](int i) {
        return (frame.Nodes[std::size_t(i)]->Flags & ObjectFlag::Selected) != 0;
    };
    FollowDrag(visible.Nodes, index.SelectedNodes(), nodeSelected, [&](int i) {
        return Meets(SceneIndex::NodeBox(*frame.Nodes[std::size_t(i)], &view).translated(offset),
                     area);
    });
    FollowDrag(
        visible.Comments, index.SelectedComments(),
        [&](int i) { return (frame.Comments[std::size_t(i)]->Flags & ObjectFlag::Selected) != 0; },
        [&](int i) {
            return Meets(SceneIndex::CommentBox(*frame.Comments[std::size_t(i)]).translated(offset),
                         area);
        });
    FollowDrag(
        visible.Wires, index.WiresOfSelectedNodes(),
        [&](int i) { return index.HasCurve(i) && MovedByDrag(*frame.Wires[std::size_t(i)], view); },
        [&](int i) {
            return Meets(SceneIndex::WireBox(WireCurve(*frame.Wires[std::size_t(i)], &view)), area);
        });
}

} // namespace flow
