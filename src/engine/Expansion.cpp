#include "engine/Expansion.h"

#include "engine/NodeThreads.h"
#include "engine/TypeResolution.h"
#include "model/Model.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace flow {

namespace {

void CollectRunNodes(const Frame& frame, std::vector<Node*>& nodes) {
    for (const auto& node : frame.Nodes) {
        if (RunsOnThread(*node)) nodes.push_back(node.get());
        if (node->Expansion) CollectRunNodes(*node->Expansion, nodes);
    }
}

// The nodes an expansion of the sub-circuit holds, nested ones included, counted up to just past
// the limit; `known` keeps the counts of the sub-circuits met so far.
std::size_t ExpandedSize(const FunctionDef& definition, std::size_t limit,
                         std::unordered_map<const FunctionDef*, std::size_t>& known) {
    if (const auto found = known.find(&definition); found != known.end()) return found->second;
    std::size_t size = 0;
    for (const auto& node : BodyOf(definition).Nodes) {
        if (size > limit) break;
        size += 1 + (IsInstance(*node) ? ExpandedSize(*node->Function, limit, known) : 0);
    }
    known.emplace(&definition, size);
    return size;
}

std::size_t NodesIn(const Frame& frame) {
    std::size_t count = frame.Nodes.size();
    for (const auto& node : frame.Nodes)
        if (node->Expansion) count += NodesIn(*node->Expansion);
    return count;
}

void CollectRunFrames(Frame& frame, std::vector<Frame*>& frames) {
    frames.push_back(&frame);
    for (const auto& node : frame.Nodes)
        if (node->Expansion) CollectRunFrames(*node->Expansion, frames);
}

bool HoldsObject(const Frame& frame, const void* object) {
    for (const auto& wire : frame.Wires)
        if (wire.get() == object) return true;
    for (const auto& node : frame.Nodes) {
        if (node.get() == object) return true;
        for (const auto& port : node->Ports)
            if (port.get() == object) return true;
        if (node->Expansion && HoldsObject(*node->Expansion, object)) return true;
    }
    return false;
}

void CutRelays(Frame& frame) {
    for (const auto& node : frame.Nodes) {
        for (const auto& port : node->Ports)
            port->Relay = nullptr;
        if (node->Expansion) CutRelays(*node->Expansion);
    }
}

Port* CopyOf(const std::unordered_map<const Node*, Node*>& copies, const Port* original) {
    if (!original || !original->Node) return nullptr;
    const auto found = copies.find(original->Node);
    if (found == copies.end()) return nullptr;
    const Int index = PortIndex(original);
    const Node* copy = found->second;
    return index > 0 && index < Int(copy->PortArray.size()) ? copy->PortArray[std::size_t(index)]
                                                             : nullptr;
}

void CopyBody(const Frame& body, Frame& copy) {
    std::unordered_map<const Node*, Node*> copies;
    for (const auto& original : body.Nodes) {
        const bool constant = IsConstant(*original);
        Node* node =
            AddNode(&copy, original->Function, constant ? original->Implementation : nullptr);
        node->Id = original->Id;
        node->X = original->X;
        node->Y = original->Y;
        if (constant && !original->Ports.empty() && !node->Ports.empty()) {
            node->Ports.front()->Value = original->Ports.front()->Value;
            node->Ports.front()->Text = original->Ports.front()->Text;
        }
        if (IsPin(*original)) SetPinName(*node, PinName(*original));
        copies.emplace(original.get(), node);
    }
    for (const auto& wire : body.Wires)
        ConnectPorts(CopyOf(copies, wire->Source), CopyOf(copies, wire->Destination));
    // A second wire into an input leaves the first as its source, as in the body.
    for (const auto& original : body.Nodes)
        for (const auto& port : original->Ports)
            if (port->Source)
                if (Port* copy = CopyOf(copies, port.get()))
                    SetInputSource(*copy, CopyOf(copies, port->Source));
}

void LinkPins(Node& instance) {
    std::unordered_map<Int, Node*> pins;
    for (const auto& node : instance.Expansion->Nodes)
        if (IsPin(*node)) pins.emplace(node->Id, node.get());
    std::lock_guard lock(instance.Frame->Owner->FiringLock);
    for (const auto& port : instance.Ports) {
        const auto found = pins.find(port->Id);
        if (found == pins.end() || found->second->Ports.empty()) continue;
        Node* pin = found->second;
        if ((port->Direction & Direction::In) && IsInputPin(*pin))
            port->Relay = pin->Ports.front().get();
        else if ((port->Direction & Direction::Out) && IsOutputPin(*pin))
            pin->Ports.front()->Relay = port.get();
    }
}

bool SamePorts(const Node& instance, const FunctionDef& definition) {
    if (instance.Ports.size() != definition.Ports.size()) return false;
    for (std::size_t i = 0; i < instance.Ports.size(); ++i)
        if (instance.Ports[i]->Id != definition.Ports[i]->Id ||
            instance.Ports[i]->Direction != definition.Ports[i]->Direction)
            return false;
    return true;
}

bool HasTemplate(const FunctionDef& definition, const Port& port) {
    return std::any_of(definition.Ports.begin(), definition.Ports.end(), [&](const auto& t) {
        return t->Id == port.Id && t->Direction == port.Direction;
    });
}

// Gives the instance the ports of its sub-circuit's pins, keeping the ports (and their wires)
// whose pin is still there, in the pins' order.
void FollowPorts(Node& instance) {
    const FunctionDef& definition = *instance.Function;
    if (!SamePorts(instance, definition)) {
        CollapseInstance(instance);
        for (const auto& port : instance.Ports)
            if (!HasTemplate(definition, *port))
                while (!port->Wires.empty())
                    DeleteWire(port->Wires.front());
        CollapseInstance(instance); // deleting a wire re-resolved, and so re-expanded, it
        std::vector<std::unique_ptr<Port>> ordered;
        for (const auto& t : definition.Ports) {
            auto kept = std::find_if(instance.Ports.begin(), instance.Ports.end(), [&](auto& p) {
                return p && p->Id == t->Id && p->Direction == t->Direction;
            });
            if (kept != instance.Ports.end()) {
                ordered.push_back(std::move(*kept));
            } else {
                ordered.push_back(std::make_unique<Port>());
                Port& made = *ordered.back();
                made.Node = &instance;
                made.Id = t->Id;
                made.Direction = t->Direction;
                made.WireDirX = t->WireDirX;
                made.WireDirY = t->WireDirY;
            }
        }
        std::lock_guard lock(instance.Frame->Owner->FiringLock);
        Circuit& circuit = *instance.Frame->Owner;
        for (const auto& gone : instance.Ports)
            if (gone && circuit.ErrorObject == gone.get()) circuit.ErrorObject = nullptr;
        instance.Ports = std::move(ordered);
        instance.PortArray.assign(1, nullptr);
        for (const auto& port : instance.Ports)
            instance.PortArray.push_back(port.get());
    }
    for (std::size_t i = 0; i < instance.Ports.size(); ++i) {
        Port& port = *instance.Ports[i];
        const Port& t = *definition.Ports[i];
        port.Label = t.Label;
        port.X = t.X;
        port.Y = t.Y;
    }
    instance.Width = definition.Width;
    instance.Height = definition.Height;
    instance.Flags |= ObjectFlag::NeedsLayout;
}

// Renews stale expansions inside out, so that each instance resolves from fresh insides.
void FollowInstance(Node& instance) {
    if (instance.Expansion && instance.ExpandedRevision == instance.Function->Revision) {
        for (Node* inner : InstancesIn(*instance.Expansion))
            FollowInstance(*inner);
    }
    ResolveImplementation(&instance);
}

} // namespace

std::size_t& ExpansionLimit() {
    static std::size_t limit = 1'000'000;
    return limit;
}

bool RunsOnThread(const Node& node) {
    return !IsPin(node) && !IsInstance(node);
}

std::vector<Frame*> RunFrames(const Circuit& circuit) {
    std::vector<Frame*> frames;
    CollectRunFrames(const_cast<Frame&>(circuit.MainFrame), frames);
    return frames;
}

std::vector<Node*> RunNodes(const Circuit& circuit) {
    std::vector<Node*> nodes;
    nodes.reserve(circuit.MainFrame.Nodes.size());
    CollectRunNodes(circuit.MainFrame, nodes);
    return nodes;
}

Node* OutermostNode(Node* node) {
    while (node && node->Frame && node->Frame->Instance)
        node = node->Frame->Instance;
    return node;
}

void ExpandInstance(Node& instance) {
    FunctionDef* definition = instance.Function;
    if (!IsSubCircuit(definition) || !instance.Frame || !instance.Frame->Owner ||
        instance.Frame->Owner->ExpansionsHeld || (instance.Flags & ObjectFlag::Leaving))
        return;
    if (instance.Expansion && instance.ExpandedRevision == definition->Revision) return;
    CollapseInstance(instance);
    Circuit& circuit = *instance.Frame->Owner;
    const std::size_t room = ExpansionLimit() - std::min(ExpansionLimit(), circuit.ExpandedNodes);
    std::unordered_map<const FunctionDef*, std::size_t> known;
    if (ExpandedSize(*definition, room, known) > room) return;
    // The nested expansions count their own nodes as the copy makes them.
    circuit.ExpandedNodes += BodyOf(*definition).Nodes.size();
    auto frame = std::make_unique<Frame>();
    frame->Owner = instance.Frame->Owner;
    frame->Instance = &instance;
    instance.Expansion = std::move(frame);
    instance.ExpandedRevision = definition->Revision;
    CopyBody(BodyOf(*definition), *instance.Expansion);
    LinkPins(instance);
}

bool CollapseInstance(Node& instance) {
    if (!instance.Expansion) return true;
    Circuit& circuit = *instance.Expansion->Owner;
    circuit.ExpandedNodes -= std::min(circuit.ExpandedNodes, NodesIn(*instance.Expansion));
    std::vector<Node*> running;
    CollectRunNodes(*instance.Expansion, running);
    std::erase_if(running, [](const Node* node) { return !node->Thread; });
    const bool ended = StopNodeThreads(running);
    {
        std::lock_guard lock(circuit.FiringLock);
        for (const auto& port : instance.Ports)
            port->Relay = nullptr;
        CutRelays(*instance.Expansion);
    }
    if (circuit.ErrorObject && HoldsObject(*instance.Expansion, circuit.ErrorObject))
        circuit.ErrorObject = nullptr;
    if (ended) {
        instance.Expansion.reset();
    } else {
        std::lock_guard lock(circuit.FiringLock);
        circuit.RetiredFrames.push_back(std::move(instance.Expansion));
    }
    return ended;
}

void FollowPins(Circuit& circuit) {
    std::vector<const FunctionDef*> changed;
    for (const auto& definition : circuit.SubCircuits)
        if (LayOutSubCircuit(*definition)) changed.push_back(definition.get());
    // Expansions of a body copy the instances in it with the ports they had: a body that holds
    // an instance whose ports changed must be copied anew, and so must those holding it.
    for (std::size_t next = 0; next < changed.size(); ++next)
        for (const auto& definition : circuit.SubCircuits) {
            if (std::find(changed.begin(), changed.end(), definition.get()) != changed.end())
                continue;
            const auto& nodes = BodyOf(*definition).Nodes;
            if (std::any_of(nodes.begin(), nodes.end(),
                            [&](const auto& node) { return node->Function == changed[next]; })) {
                ++definition->Revision;
                changed.push_back(definition.get());
            }
        }
    for (const auto& definition : circuit.SubCircuits)
        for (Node* instance : InstancesIn(BodyOf(*definition)))
            FollowPorts(*instance);
    for (Node* instance : InstancesIn(circuit.MainFrame))
        FollowPorts(*instance);
}

void FollowDefinitions(Circuit& circuit) {
    // Deleting a wire to a port whose pin went changes the body holding it, so bodies can
    // change again while their instances follow; each round settles one level of nesting.
    for (int round = 0; circuit.DefinitionsChanged && round <= int(circuit.SubCircuits.size());
         ++round) {
        circuit.DefinitionsChanged = false;
        FollowPins(circuit);
        std::vector<Frame*> frames;
        for (const auto& definition : circuit.SubCircuits)
            frames.push_back(&BodyOf(*definition));
        frames.push_back(&circuit.MainFrame);
        for (Frame* frame : frames)
            for (Node* instance : InstancesIn(*frame))
                FollowInstance(*instance);
    }
}

} // namespace flow
