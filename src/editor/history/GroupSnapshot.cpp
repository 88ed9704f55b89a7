#include "editor/history/GroupSnapshot.h"

#include "editor/canvas/OpenViews.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"
#include "file/XmlParse.h"
#include "file/XmlWrite.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/ObjectsById.h"
#include "model/Placement.h"

#include <QHash>

#include <algorithm>
#include <unordered_set>

namespace flow {

namespace {

constexpr int kKeptFlags = ObjectFlag::Selected;

PortKey KeyOf(const Port* port) {
    if (!port || !port->Node) return {};
    return {port->Node->Id, PortIndex(port)};
}

Port* PortOf(const QHash<Int, Node*>& nodes, PortKey key) {
    return key.Index > 0 ? PortByIndex(nodes.value(key.NodeId), key.Index) : nullptr;
}

Wire* WireBetween(const Port* source, const Port* destination) {
    if (!source) return nullptr;
    for (Wire* wire : source->Wires)
        if (wire->Source == source && wire->Destination == destination) return wire;
    return nullptr;
}

Int FirstPortValue(const Node& node) {
    return node.PortArray.size() > 1 && node.PortArray[1] ? node.PortArray[1]->Value : 0;
}

QString FirstPortText(const Node& node) {
    return node.PortArray.size() > 1 && node.PortArray[1] ? node.PortArray[1]->Text : QString();
}

// Reading a node files it under its ID for the wires that follow; a restored node is no file's.
Node* ReadNodeAside(Frame& frame, const XmlNode* element, Int id) {
    auto& table = frame.Owner->FileIdTable;
    const auto previous = table.constFind(id);
    Node* const kept = previous != table.constEnd() ? previous.value() : nullptr;
    const bool had = previous != table.constEnd();
    Node* node = ReadNode(frame, element);
    if (had)
        table.insert(id, kept);
    else
        table.remove(id);
    return node;
}

} // namespace

void LeaveInstance(const Node& node) {
    CircuitView* view = node.Frame && node.Frame->Owner ? ViewOf(*node.Frame->Owner) : nullptr;
    if (!view) return;
    auto& path = view->OpenPath;
    path.erase(std::find(path.begin(), path.end(), &node), path.end());
}

GroupSnapshot::GroupSnapshot(const Frame& frame, const FrameObjects& objects) {
    XmlDocument document;
    XmlNode* holder = AppendElement(&document.Top, "MainFrame");
    const std::unordered_set<const Comment*> comments(objects.Comments.begin(),
                                                      objects.Comments.end());
    const std::unordered_set<const Node*> nodes(objects.Nodes.begin(), objects.Nodes.end());
    std::unordered_set<const Wire*> wires(objects.Wires.begin(), objects.Wires.end());
    for (const Node* node : nodes)
        for (const auto& port : node->Ports)
            wires.insert(port->Wires.begin(), port->Wires.end());

    for (std::size_t i = 0; i < frame.Comments.size(); ++i) {
        const Comment& comment = *frame.Comments[i];
        if (comments.count(&comment)) {
            WriteComment(comment, holder);
            comments_.push_back({i, comment.Id, comment.Text, comment.Flags & kKeptFlags});
        }
    }
    for (std::size_t i = 0; i < frame.Nodes.size(); ++i) {
        const Node& node = *frame.Nodes[i];
        if (nodes.count(&node)) {
            WriteNode(node, holder);
            nodes_.push_back(
                {i, node.Id, FirstPortValue(node), FirstPortText(node), node.Flags & kKeptFlags});
        }
    }
    std::unordered_set<const Port*> ends;
    for (std::size_t i = 0; i < frame.Wires.size(); ++i) {
        const Wire& wire = *frame.Wires[i];
        if (!wires.count(&wire)) continue;
        WireEntry entry{
            KeyOf(wire.Source), KeyOf(wire.Destination), i, {}, wire.Flags & kKeptFlags};
        for (WireList list : kWireLists)
            entry.ListPositions[int(list)] = ListPosition(wire, list);
        wires_.push_back(entry);
        for (const Port* end : {wire.Source, wire.Destination})
            if (ends.insert(end).second) sources_.push_back({KeyOf(end), KeyOf(end->Source)});
    }
    if (!nodes_.empty() || !comments_.empty()) elements_ = WriteXml(document);
    elements_.shrink_to_fit();
    nodes_.shrink_to_fit();
    comments_.shrink_to_fit();
    wires_.shrink_to_fit();
    sources_.shrink_to_fit();
    bytes_ = sizeof(*this) + 5 * kBlockOverhead + elements_.capacity() +
             nodes_.capacity() * sizeof(NodeEntry) + comments_.capacity() * sizeof(CommentEntry) +
             wires_.capacity() * sizeof(WireEntry) + sources_.capacity() * sizeof(SourceEntry);
    const auto textBytes = [&](const QString& text) {
        return text.isNull() ? 0 : kBlockOverhead + std::size_t(text.capacity()) * 2;
    };
    for (const NodeEntry& entry : nodes_)
        bytes_ += textBytes(entry.Text);
    for (const CommentEntry& entry : comments_)
        bytes_ += textBytes(entry.Text);
}

void GroupSnapshot::Remove(Frame& frame) const {
    // Last first: each object is then found at the end of its list and taken from there, so a
    // group at the end of its frame, as a paste is, goes in time linear in its size.
    // Instances that stay are retyped once, when all the group's wires have gone.
    std::unordered_set<Int> leaving;
    for (const NodeEntry& entry : nodes_)
        leaving.insert(entry.Id);
    const QHash<Int, Node*> nodes = ObjectsById(frame.Nodes);
    {
        InstanceBatch batch(*frame.Owner);
        for (auto entry = wires_.rbegin(); entry != wires_.rend(); ++entry)
            if (Wire* wire =
                    WireBetween(PortOf(nodes, entry->Source), PortOf(nodes, entry->Destination))) {
                for (Node* end : {wire->Source->Node, wire->Destination->Node})
                    if (!leaving.count(end->Id)) batch.Note(end);
                DeleteWire(wire);
            }
        for (auto entry = nodes_.rbegin(); entry != nodes_.rend(); ++entry)
            if (Node* node = nodes.value(entry->Id)) {
                LeaveInstance(*node);
                ForgetNode(node);
                DeleteNode(node);
            }
    }
    const QHash<Int, Comment*> comments = ObjectsById(frame.Comments);
    for (auto entry = comments_.rbegin(); entry != comments_.rend(); ++entry)
        if (Comment* comment = comments.value(entry->Id)) {
            ForgetComment(comment);
            DeleteComment(comment);
        }
}

void GroupSnapshot::Restore(Frame& frame) const {
    Circuit& circuit = *frame.Owner;
    // Instances put back are retyped once, when all their wires are back.
    InstanceBatch batch(circuit);
    // Reading takes fresh IDs; the objects get their own back, and later ones stay above all.
    Int highest = circuit.NextId;
    XmlDocument document;
    ParseXml(elements_, document);
    const XmlNode* holder = RootElement(document);
    const XmlNode* element = holder ? holder->FirstChild : nullptr;
    const auto next = [&element] {
        while (element && element->Kind != XmlKind::Element)
            element = element->NextSibling;
        const XmlNode* taken = element;
        if (element) element = element->NextSibling;
        return taken;
    };
    // Entries go back by ascending position, so that every earlier neighbour is in place.
    // The writer's own text always reads back whole; a missing element is skipped, not read.
    for (const CommentEntry& entry : comments_) {
        const XmlNode* written = next();
        if (!written) continue;
        Comment* comment = ReadComment(frame, written);
        comment->Id = entry.Id;
        SetCommentText(*comment, entry.Text);
        comment->Flags = ObjectFlag::NeedsLayout | entry.Flags;
        MoveToListPosition(frame, comment, entry.Position);
        highest = std::max(highest, entry.Id);
    }
    for (const NodeEntry& entry : nodes_) {
        const XmlNode* written = next();
        Node* node = written ? ReadNodeAside(frame, written, entry.Id) : nullptr;
        if (!node) continue;
        node->Id = entry.Id;
        batch.Note(node);
        if (HoldsValue(*node)) SetConstantValue(*node, entry.Value, entry.Text);
        node->Flags = ObjectFlag::NeedsLayout | entry.Flags;
        MoveToListPosition(frame, node, entry.Position);
        highest = std::max(highest, entry.Id);
    }
    circuit.NextId = highest;

    const QHash<Int, Node*> nodes = ObjectsById(frame.Nodes);
    std::vector<Wire*> made;
    made.reserve(wires_.size());
    for (const WireEntry& entry : wires_) {
        Wire* wire = ConnectPorts(PortOf(nodes, entry.Source), PortOf(nodes, entry.Destination));
        made.push_back(wire);
        if (!wire) continue;
        wire->Flags = entry.Flags;
        MoveToListPosition(frame, wire, entry.Position);
    }
    // Within each list the wires go to their places by ascending position. A port's Wires
    // list holds the wires it starts and those it ends, so both kinds are placed in one pass.
    const std::vector<std::vector<WireList>> passes = {
        {WireList::SourceWires, WireList::DestinationWires},
        {WireList::SourceTargets},
        {WireList::DestinationFeeders}};
    for (const auto& lists : passes) {
        std::vector<std::pair<std::size_t, WireList>> moves; // wire entry, list
        for (std::size_t i = 0; i < wires_.size(); ++i)
            for (WireList list : lists)
                if (made[i]) moves.emplace_back(i, list);
        const auto position = [&](const std::pair<std::size_t, WireList>& move) {
            return wires_[move.first].ListPositions[int(move.second)];
        };
        std::stable_sort(moves.begin(), moves.end(),
                         [&](const auto& a, const auto& b) { return position(a) < position(b); });
        for (const auto& move : moves)
            MoveToListPosition(*made[move.first], move.second, position(move));
    }
    for (const SourceEntry& entry : sources_)
        if (Port* port = PortOf(nodes, entry.Port))
            SetInputSource(*port, PortOf(nodes, entry.Source));
}

} // namespace flow
