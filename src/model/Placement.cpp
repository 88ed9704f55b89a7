#include "model/Placement.h"

#include "model/Model.h"

#include "model/SubCircuits.h"

#include <algorithm>
#include <mutex>

namespace flow {

namespace {

// Worker threads walk port lists and read constant values while delivering; they hold their
// run's lock then, so the changes below take it too.
RunsHeld LockRun(const Frame* frame) {
    return RunsHeld(frame ? frame->Owner : nullptr);
}

template <typename T> void MoveItem(std::vector<T>& list, std::size_t from, std::size_t to) {
    to = std::min(to, list.size() - 1);
    if (from < to)
        std::rotate(list.begin() + from, list.begin() + from + 1, list.begin() + to + 1);
    else if (to < from)
        std::rotate(list.begin() + to, list.begin() + from, list.begin() + from + 1);
}

template <typename T, typename P>
void MoveOwned(std::vector<T>& list, const P* item, std::size_t to) {
    const auto it =
        std::find_if(list.begin(), list.end(), [&](const T& p) { return p.get() == item; });
    if (it != list.end()) MoveItem(list, std::size_t(it - list.begin()), to);
}

template <typename T> void MovePointer(std::vector<T*>& list, const T* item, std::size_t to) {
    const auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) MoveItem(list, std::size_t(it - list.begin()), to);
}

template <typename T> std::size_t PositionIn(const std::vector<T*>& list, const T* item) {
    return std::size_t(std::find(list.begin(), list.end(), item) - list.begin());
}

} // namespace

void MoveObject(ObjectHeader& object, Int x, Int y) {
    object.X = x;
    object.Y = y;
    // A pin's place decides the order of its sub-circuit's ports.
    if (object.Kind == ObjectKind::Node) {
        auto& node = static_cast<Node&>(object);
        if (IsPin(node))
            NoteEdit(node.Frame);
        else
            CountEdit(node.Frame);
    } else if (object.Kind == ObjectKind::Comment) {
        CountEdit(static_cast<Comment&>(object).Frame);
    }
}

void MoveToListPosition(Frame& frame, const Node* node, std::size_t position) {
    NoteEdit(&frame);
    auto lock = LockRun(&frame);
    MoveOwned(frame.Nodes, node, position);
}

void MoveToListPosition(Frame& frame, const Comment* comment, std::size_t position) {
    CountEdit(&frame);
    MoveOwned(frame.Comments, comment, position);
}

void MoveToListPosition(Frame& frame, const Wire* wire, std::size_t position) {
    CountEdit(&frame);
    auto lock = LockRun(&frame);
    MoveOwned(frame.Wires, wire, position);
}

std::size_t ListPosition(const Wire& wire, WireList list) {
    switch (list) {
    case WireList::SourceWires:
        return PositionIn(wire.Source->Wires, &wire);
    case WireList::DestinationWires:
        return PositionIn(wire.Destination->Wires, &wire);
    case WireList::SourceTargets:
        return PositionIn(wire.Source->Targets, wire.Destination);
    case WireList::DestinationFeeders:
        return PositionIn(wire.Destination->Feeders, wire.Source);
    }
    return 0;
}

void MoveToListPosition(const Wire& wire, WireList list, std::size_t position) {
    auto lock = LockRun(wire.Frame);
    switch (list) {
    case WireList::SourceWires:
        MovePointer(wire.Source->Wires, &wire, position);
        break;
    case WireList::DestinationWires:
        MovePointer(wire.Destination->Wires, &wire, position);
        break;
    case WireList::SourceTargets:
        MovePointer(wire.Source->Targets, wire.Destination, position);
        break;
    case WireList::DestinationFeeders:
        MovePointer(wire.Destination->Feeders, wire.Source, position);
        break;
    }
}

void SetInputSource(Port& port, Port* source) {
    if (source && std::find(port.Feeders.begin(), port.Feeders.end(), source) == port.Feeders.end())
        return;
    NoteEdit(port.Node ? port.Node->Frame : nullptr);
    auto lock = LockRun(port.Node ? port.Node->Frame : nullptr);
    port.Source = source;
}

void SetConstantValue(Node& node, Int value, const QString& text) {
    Port* port = node.PortArray.size() > 1 ? node.PortArray[1] : nullptr;
    if (!port) return;
    {
        // A run in flight may be reading the constant's value right now.
        const RunsHeld held = LockRun(node.Frame);
        port->Value = value;
        port->Text = text;
        // The value it sent in the latest run is not the one it holds any more.
        if (node.Frame && node.Frame->Owner)
            for (RunLink* run : node.Frame->Owner->Runs)
                run->ForgetValue(*port);
    }
    node.Flags |= ObjectFlag::NeedsLayout;
    NoteEdit(node.Frame);
}

void SetCommentText(Comment& comment, const QString& text) {
    comment.Text = text;
    comment.Flags |= ObjectFlag::NeedsLayout;
    CountEdit(comment.Frame);
}

} // namespace flow
