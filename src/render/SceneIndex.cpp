#include "render/SceneIndex.h"

#include "model/Inputs.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "render/PathCache.h"
#include "render/PinDrawing.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <memory>

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

// Far from the origin a double has fewer units after the point than the margins above; the
// box grows by many times the rounding of coordinates that large.
QRectF WithSlack(const QRectF& rect) {
    const double magnitude = std::max({std::fabs(rect.left()), std::fabs(rect.right()),
                                       std::fabs(rect.top()), std::fabs(rect.bottom())});
    return Widened(rect, magnitude * 1e-12);
}

std::uint64_t Mix(std::uint64_t digest, std::uint64_t value) {
    return (digest ^ value) * 0x100000001B3ull + 0x9E3779B97F4A7C15ull;
}

std::uint64_t PortDigest(const Node& node) {
    std::uint64_t digest = node.Ports.size();
    for (const auto& port : node.Ports)
        digest = Mix(Mix(digest, std::uint64_t(port->X)), std::uint64_t(port->Y));
    return digest;
}

// What a wire's curve takes from one of its ports besides the place it attaches at: the
// direction, and the node's extent, which a wire that goes around the nodes keeps clear of.
std::uint64_t DirectionDigest(const Port* port) {
    if (!port) return 0;
    const std::uint64_t direction =
        Mix(Mix(Mix(1, std::uint64_t(port->Direction)), std::uint64_t(port->WireDirX)),
            std::uint64_t(port->WireDirY));
    if (!port->Node) return direction;
    return Mix(Mix(direction, std::uint64_t(port->Y)), std::uint64_t(port->Node->Height));
}

template <typename Entry, typename Object> bool SameHeader(const Entry& entry, const Object& o) {
    return entry.Object == &o && entry.X == o.X && entry.Y == o.Y && entry.Width == o.Width &&
           entry.Height == o.Height;
}

template <typename Entry, typename Object> void TakeHeader(Entry& entry, const Object& o) {
    entry.Object = &o;
    entry.X = o.X;
    entry.Y = o.Y;
    entry.Width = o.Width;
    entry.Height = o.Height;
}

// Builds a grid again from the boxes of every entry, in list order.
template <typename Entries, typename BoxOf>
void RebuildGrid(BoxGrid& grid, const Entries& entries, BoxOf boxOf) {
    std::vector<QRectF> boxes;
    boxes.reserve(entries.size());
    for (const auto& entry : entries)
        boxes.push_back(boxOf(entry));
    grid.Build(std::move(boxes));
}

} // namespace

QRectF SceneIndex::NodeBox(const Node& node, const EditorState* editing) {
    QRectF bounds = QRectF(0, 0, double(node.Width), double(node.Height)).normalized();
    if (node.Function && !HoldsValue(node)) bounds |= PathsOf(*node.Function).Bounds;
    if (IsPin(node)) bounds |= PinNameBox(node, editing);
    for (const auto& port : node.Ports)
        bounds |= Widened(QRectF(double(port->X), double(port->Y), 0, 0), kPortRadius);
    bounds.translate(double(node.X), double(node.Y));
    return WithSlack(Widened(bounds, kNodeReach));
}

QRectF SceneIndex::CommentBox(const Comment& comment) {
    const QRectF bounds =
        QRectF(double(comment.X), double(comment.Y), double(comment.Width), double(comment.Height))
            .normalized();
    return WithSlack(Widened(bounds, kCommentReach));
}

QRectF SceneIndex::WireBox(const QPainterPath& curve) {
    return WithSlack(Widened(curve.controlPointRect(), kWireReach));
}

bool SceneIndex::Refresh(const Frame& frame) {
    layoutPending_ = false;
    selectedNodes_.clear();
    selectedComments_.clear();
    selectedWires_.clear();
    looseWires_.clear();

    bool any = false;
    bool changed = nodes_.size() != frame.Nodes.size();
    nodes_.resize(frame.Nodes.size());
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const Node& node = *frame.Nodes[i];
        NodeEntry& entry = nodes_[i];
        layoutPending_ = layoutPending_ || (node.Flags & ObjectFlag::NeedsLayout);
        if (node.Flags & ObjectFlag::Selected) selectedNodes_.push_back(int(i));
        const std::uint64_t ports = PortDigest(node);
        if (SameHeader(entry, node) && entry.Function == node.Function && entry.Ports == ports)
            continue;
        TakeHeader(entry, node);
        entry.Function = node.Function;
        entry.Ports = ports;
        changed = true;
    }
    if (changed) {
        RebuildGrid(nodeGrid_, nodes_,
                    [this](const NodeEntry& entry) { return NodeBox(*entry.Object, editing_); });
        any = true;
    }

    changed = comments_.size() != frame.Comments.size();
    comments_.resize(frame.Comments.size());
    for (std::size_t i = 0; i < comments_.size(); ++i) {
        const Comment& comment = *frame.Comments[i];
        layoutPending_ = layoutPending_ || (comment.Flags & ObjectFlag::NeedsLayout);
        if (comment.Flags & ObjectFlag::Selected) selectedComments_.push_back(int(i));
        if (SameHeader(comments_[i], comment)) continue;
        TakeHeader(comments_[i], comment);
        changed = true;
    }
    if (changed) {
        RebuildGrid(commentGrid_, comments_,
                    [](const CommentEntry& entry) { return CommentBox(*entry.Object); });
        any = true;
    }

    changed = wires_.size() != frame.Wires.size();
    wires_.resize(frame.Wires.size());
    for (std::size_t i = 0; i < wires_.size(); ++i) {
        const Wire& wire = *frame.Wires[i];
        WireEntry& entry = wires_[i];
        const bool connected =
            wire.Source && wire.Destination && wire.Source->Node && wire.Destination->Node;
        const QPointF start = connected ? PortPosition(*wire.Source) : QPointF();
        const QPointF end = connected ? PortPosition(*wire.Destination) : QPointF();
        if (!connected)
            looseWires_.push_back(int(i));
        else if ((wire.Source->Node->Flags | wire.Destination->Node->Flags) & ObjectFlag::Selected)
            selectedWires_.push_back(int(i));
        const std::uint64_t directions =
            Mix(DirectionDigest(wire.Source), DirectionDigest(wire.Destination));
        if (entry.Object == &wire && entry.Source == wire.Source &&
            entry.Destination == wire.Destination && entry.Connected == connected &&
            entry.Start == start && entry.End == end && entry.Directions == directions)
            continue;
        entry.Object = &wire;
        entry.Source = wire.Source;
        entry.Destination = wire.Destination;
        entry.Connected = connected;
        entry.Start = start;
        entry.End = end;
        entry.Directions = directions;
        if (connected) {
            entry.Curve = CurveOf(GeometryBetween(start, end, *wire.Source, wire.Destination));
            entry.Box = WireBox(entry.Curve);
        } else {
            // Without both nodes a wire is always drawn and tested as it is.
            entry.Curve = QPainterPath();
            entry.Box = QRectF(QPointF(1, 1), QPointF(0, 0));
        }
        changed = true;
    }
    if (changed) {
        RebuildGrid(wireGrid_, wires_, [](const WireEntry& entry) { return entry.Box; });
        any = true;
    }
    if (any) ++generation_;
    return any;
}

void SceneIndex::Collect(const QRectF& area, SceneObjects& found) const {
    commentGrid_.Collect(area, found.Comments);
    nodeGrid_.Collect(area, found.Nodes);
    wireGrid_.Collect(area, found.Wires);
    if (looseWires_.empty()) return;
    found.Wires.insert(found.Wires.end(), looseWires_.begin(), looseWires_.end());
    std::sort(found.Wires.begin(), found.Wires.end());
}

} // namespace flow
