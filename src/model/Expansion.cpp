#include "model/Expansion.h"

#include "model/Model.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"
#include "model/TypeResolution.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace flow {

namespace {

// Visits the frame's nodes in order and, right after each instance, the nodes of its expansion,
// at every depth; with a list of its own, so that deep nesting cannot exhaust the stack.
template <typename Visit> void WalkRunNodes(const Frame& root, Visit&& visit) {
    std::vector<std::pair<const Frame*, std::size_t>> open{{&root, 0}};
    while (!open.empty()) {
        const Frame* frame = open.back().first;
        std::size_t& next = open.back().second;
        if (next == frame->Nodes.size()) {
            open.pop_back();
            continue;
        }
        Node* node = frame->Nodes[next++].get();
        visit(*node);
        if (node->Expansion) open.push_back({node->Expansion.get(), 0});
    }
}

void CollectRunNodes(const Frame& frame, std::vector<Node*>& nodes) {
    WalkRunNodes(frame, [&](Node& node) {
        if (RunsOnThread(node)) nodes.push_back(&node);
    });
}

using SizeMemo = std::unordered_map<const FunctionDef*, std::size_t>;

// The nodes an expansion of the sub-circuit holds, nested ones included, counted up to just past
// the limit; `known` keeps the counts of the sub-circuits met so far, so that each is counted
// once however often it is used.
std::size_t ExpandedSize(const FunctionDef& top, std::size_t limit, SizeMemo& known) {
    struct Count {
        const FunctionDef* Definition;
        std::size_t Next;
        std::size_t Size;
    };
    std::vector<Count> open{{&top, 0, 0}};
    std::size_t result = 0;
    while (!open.empty()) {
        Count& count = open.back();
        const auto found = known.find(count.Definition);
        const auto& nodes = BodyOf(*count.Definition).Nodes;
        std::size_t done = 0;
        if (found != known.end()) {
            done = found->second;
        } else if (count.Next < nodes.size() && count.Size <= limit) {
            const Node& node = *nodes[count.Next];
            if (!IsInstance(node)) {
                ++count.Size;
                ++count.Next;
            } else if (const auto inner = known.find(node.Function); inner != known.end()) {
                count.Size += 1 + inner->second;
                ++count.Next;
            } else {
                open.push_back({node.Function, 0, 0}); // counted first; see below
            }
            continue;
        } else {
            done = count.Size;
            known.emplace(count.Definition, done);
        }
        open.pop_back();
        if (open.empty()) {
            result = done;
        } else {
            open.back().Size += 1 + done;
            ++open.back().Next;
        }
    }
    return result;
}

std::size_t NodesIn(const Frame& frame) {
    std::size_t count = 0;
    WalkRunNodes(frame, [&](Node&) { ++count; });
    return count;
}

void CutRelays(Frame& frame) {
    WalkRunNodes(frame, [](Node& node) {
        for (const auto& port : node.Ports)
            port->Relay = nullptr;
    });
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
    copies.reserve(body.Nodes.size());
    copy.Nodes.reserve(body.Nodes.size());
    copy.Wires.reserve(body.Wires.size());
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
    RunsHeld held(instance.Frame->Owner);
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

// A port stands for a pin by the pin's ID and its direction.
using PinKey = std::pair<Int, int>;

// Gives the instance the ports of its sub-circuit's pins, keeping the ports (and their wires)
// whose pin is still there, in the pins' order.
void FollowPorts(Node& instance) {
    const FunctionDef& definition = *instance.Function;
    if (!SamePorts(instance, definition)) {
        CollapseInstance(instance);
        std::set<PinKey> templates;
        for (const auto& t : definition.Ports)
            templates.insert({t->Id, t->Direction});
        for (const auto& port : instance.Ports)
            if (!templates.count({port->Id, port->Direction}))
                while (!port->Wires.empty())
                    DeleteWire(port->Wires.front());
        CollapseInstance(instance); // deleting a wire re-resolved, and so re-expanded, it
        std::map<PinKey, std::size_t> had;
        for (std::size_t i = 0; i < instance.Ports.size(); ++i)
            had.insert({{instance.Ports[i]->Id, instance.Ports[i]->Direction}, i});
        std::vector<std::unique_ptr<Port>> ordered;
        for (const auto& t : definition.Ports) {
            const auto kept = had.find({t->Id, t->Direction});
            if (kept != had.end() && instance.Ports[kept->second]) {
                ordered.push_back(std::move(instance.Ports[kept->second]));
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
        Circuit& circuit = *instance.Frame->Owner;
        for (const auto& gone : instance.Ports)
            if (gone)
                for (RunLink* run : circuit.Runs)
                    run->ObjectGone(gone.get());
        RunsHeld held(&circuit);
        instance.Ports = std::move(ordered);
        instance.PortArray.assign(1, nullptr);
        for (const auto& port : instance.Ports) {
            port->Index = Int(instance.PortArray.size());
            instance.PortArray.push_back(port.get());
            // The run keeps values by place in the port list, which has just changed.
            for (RunLink* run : circuit.Runs)
                run->ForgetValue(*port);
        }
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
    CountEdit(instance.Frame);
}

// Renews stale expansions inside out, so that each instance resolves from fresh insides: the
// instances of fresh expansions are gathered outside in, then resolved in the reverse order.
void FollowInstance(Node& instance) {
    std::vector<Node*> gathered{&instance};
    for (std::size_t next = 0; next < gathered.size(); ++next) {
        const Node& outer = *gathered[next];
        if (outer.Expansion && outer.ExpandedRevision == outer.Function->Revision)
            for (Node* inner : InstancesIn(*outer.Expansion))
                gathered.push_back(inner);
    }
    for (auto inner = gathered.rbegin(); inner != gathered.rend(); ++inner)
        ResolveImplementation(*inner);
}

// Whether the instance stands where it can run: in the main frame or in an expansion. A body
// is only ever copied, never run.
bool CanRun(const Node& instance) {
    return instance.Frame && instance.Frame->Owner && !instance.Frame->Definition;
}

void MakeExpansion(Node& instance) {
    CollapseInstance(instance);
    Circuit& circuit = *instance.Frame->Owner;
    const FunctionDef& definition = *instance.Function;
    circuit.ExpandedNodes += BodyOf(definition).Nodes.size();
    auto frame = std::make_unique<Frame>();
    frame->Owner = &circuit;
    frame->Instance = &instance;
    instance.Expansion = std::move(frame);
    instance.ExpandedRevision = definition.Revision;
    CopyBody(BodyOf(definition), *instance.Expansion);
    LinkPins(instance);
}

bool IsExpanded(const Node& instance) {
    return instance.Expansion && instance.ExpandedRevision == instance.Function->Revision;
}

} // namespace

std::size_t& ExpansionLimit() {
    static std::size_t limit = 1'000'000;
    return limit;
}

bool RunsOnThread(const Node& node) {
    return !IsBodyPin(node) && (!IsInstance(node) || IsLoopInstance(node));
}

std::vector<Frame*> RunFrames(const Circuit& circuit) {
    std::vector<Frame*> frames{const_cast<Frame*>(&circuit.MainFrame)};
    WalkRunNodes(circuit.MainFrame, [&](Node& node) {
        if (node.Expansion) frames.push_back(node.Expansion.get());
    });
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
    if (!IsSubCircuit(instance.Function) || !CanRun(instance) ||
        instance.Frame->Owner->ExpansionsHeld || (instance.Flags & ObjectFlag::Leaving) ||
        IsExpanded(instance))
        return;
    Circuit& circuit = *instance.Frame->Owner;
    if (circuit.Expanding) {
        // The copy being made holds this instance; the copy's maker expands it next.
        circuit.PendingExpansions.push_back(&instance);
        return;
    }
    CollapseInstance(instance);
    const std::size_t room = ExpansionLimit() - std::min(ExpansionLimit(), circuit.ExpandedNodes);
    SizeMemo known;
    // The count takes in the nested expansions, which are then made without asking again.
    if (ExpandedSize(*instance.Function, room, known) > room) return;
    circuit.Expanding = true;
    std::vector<Node*> made{&instance};
    MakeExpansion(instance);
    for (std::size_t next = 0; next < circuit.PendingExpansions.size(); ++next) {
        Node* nested = circuit.PendingExpansions[next];
        if (IsExpanded(*nested)) continue; // asked for once per wire it got
        MakeExpansion(*nested);
        made.push_back(nested);
    }
    circuit.PendingExpansions.clear();
    circuit.Expanding = false;
    // Inside out, each from insides whose types are known; the outermost is resolving already.
    for (std::size_t i = made.size(); i-- > 1;)
        ResolveImplementation(made[i]);
}

bool CollapseInstance(Node& instance) {
    if (!instance.Expansion) return true;
    Circuit& circuit = *instance.Expansion->Owner;
    circuit.ExpandedNodes -= std::min(circuit.ExpandedNodes, NodesIn(*instance.Expansion));
    std::vector<Node*> leaving;
    WalkRunNodes(*instance.Expansion, [&](Node& node) { leaving.push_back(&node); });
    RunLink* keeper = nullptr; // the run whose thread did not end in time
    for (RunLink* run : circuit.Runs)
        if (!run->NodesLeaving(leaving)) keeper = run;
    {
        RunsHeld held(&circuit);
        for (const auto& port : instance.Ports)
            port->Relay = nullptr;
        CutRelays(*instance.Expansion);
    }
    for (RunLink* run : circuit.Runs)
        run->ExpansionGone(*instance.Expansion);
    if (keeper)
        keeper->Retire(std::move(instance.Expansion));
    else
        instance.Expansion.reset();
    return !keeper;
}

void FollowPins(Circuit& circuit) {
    std::vector<const FunctionDef*> changed;
    std::unordered_set<const FunctionDef*> known;
    for (const auto& definition : circuit.SubCircuits)
        if (LayOutSubCircuit(*definition)) {
            changed.push_back(definition.get());
            known.insert(definition.get());
        }
    // Expansions of a body copy the instances in it with the ports they had: a body that holds
    // an instance whose ports changed must be copied anew, and so must those holding it.
    if (!changed.empty()) {
        std::unordered_map<const FunctionDef*, std::vector<FunctionDef*>> holders;
        for (const auto& definition : circuit.SubCircuits)
            for (const auto& node : BodyOf(*definition).Nodes)
                if (IsInstance(*node)) holders[node->Function].push_back(definition.get());
        for (std::size_t next = 0; next < changed.size(); ++next)
            for (FunctionDef* holder : holders[changed[next]])
                if (known.insert(holder).second) {
                    ++holder->Revision;
                    changed.push_back(holder);
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
