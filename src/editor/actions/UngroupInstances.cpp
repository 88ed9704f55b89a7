#include "editor/actions/UngroupInstances.h"

#include "editor/canvas/OpenViews.h"
#include "editor/history/ClipboardText.h"
#include "editor/history/History.h"
#include "editor/history/ObjectCopy.h"
#include "editor/window/StatusText.h"
#include "model/Coordinates.h"
#include "model/Model.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"

#include <unordered_map>

namespace flow {

namespace {

// What met an instance's ports from outside, kept before the instance goes.
struct Surroundings {
    std::unordered_map<Int, const Port*> Ports; // by the ID of the pin each stands for
    Port* SourceOf(const Node& pin) const {
        const auto found = Ports.find(pin.Id);
        return found == Ports.end() ? nullptr : found->second->Source;
    }
    std::vector<Port*> Feeders(const Node& pin) const {
        const auto found = Ports.find(pin.Id);
        return found == Ports.end() ? std::vector<Port*>{} : found->second->Feeders;
    }
    std::vector<Port*> Targets(const Node& pin) const {
        const auto found = Ports.find(pin.Id);
        return found == Ports.end() ? std::vector<Port*>{} : found->second->Targets;
    }
};

// Inside the instance, ports of non-pin nodes stand for their copies; an input pin's port for
// what feeds the instance's input there.
std::vector<Port*> Senders(const Port* port, const ObjectCopies& copies,
                           const Surroundings& around) {
    if (IsInputPin(*port->Node)) return around.Feeders(*port->Node);
    Port* copy = copies.CopyOf(port);
    return copy ? std::vector<Port*>{copy} : std::vector<Port*>{};
}

Port* ReadSource(const Port* source, const ObjectCopies& copies, const Surroundings& around) {
    if (!source) return nullptr;
    return IsInputPin(*source->Node) ? around.SourceOf(*source->Node) : copies.CopyOf(source);
}

void Ungroup(Node& instance, FrameObjects& made) {
    Frame& frame = *instance.Frame;
    const Frame& body = BodyOf(*instance.Function);
    FrameObjects contents;
    for (const auto& comment : body.Comments)
        contents.Comments.push_back(comment.get());
    for (const auto& node : body.Nodes)
        if (!IsPin(*node)) contents.Nodes.push_back(node.get());
    for (const auto& wire : body.Wires)
        if (!IsPin(*wire->Source->Node) && !IsPin(*wire->Destination->Node))
            contents.Wires.push_back(wire.get());
    const QRectF box = ObjectsBox(contents);
    const QPointF shift =
        QPointF(instance.X + instance.Width / 2.0, instance.Y + instance.Height / 2.0) -
        (box.isNull() ? QPointF(instance.X, instance.Y) : box.center());
    ObjectCopies copies =
        CopyObjects(contents, frame, NearestUnit(shift.x()), NearestUnit(shift.y()));

    Surroundings around;
    for (const auto& port : instance.Ports)
        around.Ports.emplace(port->Id, port.get());
    // Outside inputs the instance fed, with the inside port each is to read from now.
    std::vector<std::pair<Port*, Port*>> reads;
    for (const auto& wire : body.Wires) {
        const Node& to = *wire->Destination->Node;
        if (!IsPin(*wire->Source->Node) && !IsPin(to)) continue;
        const std::vector<Port*> ends = IsOutputPin(to)
                                            ? around.Targets(to)
                                            : std::vector<Port*>{copies.CopyOf(wire->Destination)};
        for (Port* sender : Senders(wire->Source, copies, around))
            for (Port* end : ends)
                if (Wire* made = ConnectPorts(sender, end)) copies.Made.Wires.push_back(made);
    }
    for (const auto& node : body.Nodes) {
        if (IsOutputPin(*node)) {
            Port* reading = ReadSource(node->Ports.front()->Source, copies, around);
            const auto found = around.Ports.find(node->Id);
            if (found == around.Ports.end()) continue;
            for (Port* end : found->second->Targets)
                if (end->Source == found->second) reads.emplace_back(end, reading);
        } else if (!IsPin(*node)) {
            for (const auto& port : node->Ports)
                if (port->Source && IsInputPin(*port->Source->Node))
                    reads.emplace_back(copies.CopyOf(port.get()),
                                       ReadSource(port->Source, copies, around));
        }
    }
    ForgetNode(&instance);
    DeleteNode(&instance);
    for (const auto& [port, source] : reads)
        if (port && source) SetInputSource(*port, source);
    made.Comments.insert(made.Comments.end(), copies.Made.Comments.begin(),
                         copies.Made.Comments.end());
    made.Nodes.insert(made.Nodes.end(), copies.Made.Nodes.begin(), copies.Made.Nodes.end());
    made.Wires.insert(made.Wires.end(), copies.Made.Wires.begin(), copies.Made.Wires.end());
}

} // namespace

FrameObjects UngroupInstances(Circuit& circuit, const std::vector<Node*>& instances) {
    FrameObjects made;
    if (instances.empty()) return made;
    RecordGroupEdit(circuit, QStringLiteral("Ungroup"), {{}, instances, {}}, [&] {
        for (Node* instance : instances)
            Ungroup(*instance, made);
        SelectOnly(ShownFrame(circuit), made);
        return made;
    });
    return made;
}

void UngroupSelection(Circuit& circuit) {
    std::vector<Node*> instances;
    bool loops = false;
    for (Node* node : InstancesIn(ShownFrame(circuit)))
        if (node->Flags & ObjectFlag::Selected) {
            // Its insides in its place would run once, not once per iteration.
            if (IsLoopInstance(*node))
                loops = true;
            else
                instances.push_back(node);
        }
    if (!instances.empty())
        UngroupInstances(circuit, instances);
    else if (loops)
        ShowStatusNotice(circuit, QStringLiteral("A loop cannot be ungrouped: its insides run "
                                                 "once per iteration"));
    else
        ShowStatusNotice(circuit, QStringLiteral("Select an instance of a sub-circuit to ungroup"));
}

} // namespace flow
