#include "model/TypeResolution.h"

#include "model/Expansion.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/SubCircuits.h"

#include <algorithm>
#include <unordered_set>

namespace flow {

namespace {

// An implementation fits when every fed port's source is Generic or of the implementation's
// type there; it fits strictly when every fed port's source has exactly that type.
bool Fits(const Node& node, const Implementation& impl, bool strict) {
    for (std::size_t i = 1; i < node.PortArray.size() && i < impl.Types.size(); ++i) {
        const Port* port = node.PortArray[i];
        if (!port || !port->Source) continue;
        const int type = port->Source->Type;
        if (type == impl.Types[i]) continue;
        if (strict || type != PortType::Generic) return false;
    }
    return true;
}

// The types a node's targets read from it: those of its ports that feed something.
std::vector<int> FedTypes(const Node& node) {
    std::vector<int> types;
    for (const auto& port : node.Ports)
        if (!port->Targets.empty()) types.push_back(port->Type);
    return types;
}

// The implementation of a pin that passes values of the type on; none for Generic.
Implementation* PinImplementation(const Node& pin, int type) {
    for (const auto& implementation : pin.Function->Implementations)
        if (implementation->Types.size() > 1 && implementation->Types[1] == type)
            return implementation.get();
    return nullptr;
}

// While a file is read, or during an InstanceBatch (model/Model.h), instances wait
// (Circuit::ExpansionsHeld): they are resolved once at the end, not once for every wire that
// reaches one of their ports.
bool WaitsForBodies(const Node& node) {
    return IsInstance(node) && node.Frame && node.Frame->Owner && node.Frame->Owner->ExpansionsHeld;
}

// An instance resolves as its expansion does when fed what feeds the instance: each input pin
// inside passes on its input's type, and each output takes the type its pin inside receives.
// What the new pin types change inside is left to the travel, which goes on across the boundary
// (Port::Relay) as through any wire. Returns whether the instance may stop the travel: no pin
// and no output changed its type. An instance in a body has no expansion; its outputs stay as
// they are, open unless a run's copy says otherwise.
// An instance's input shows what feeds it, but a counted loop's "times" is an Integer whatever
// meets it: a wire of another type into it shows as invalid.
int ShownInputType(const Port& port, int fed) {
    return port.Id == kTimesPortId ? PortType::Integer : fed;
}

bool ResolveInstance(Node& node) {
    if (WaitsForBodies(node)) return true;
    ExpandInstance(node);
    bool stayed = true;
    for (const auto& port : node.Ports) {
        if (!(port->Direction & Direction::In)) continue;
        const int fed = port->Source ? port->Source->Type : PortType::Generic;
        port->Type = ShownInputType(*port, fed);
        Port* pinOut = port->Relay;
        if (!pinOut) continue;
        Node& pin = *pinOut->Node;
        Implementation* wanted = PinImplementation(pin, fed);
        if (pin.Implementation != wanted || pinOut->Type != fed) {
            pin.Implementation = wanted;
            pinOut->Type = fed;
            stayed = false;
        }
    }
    if (node.Expansion)
        for (const auto& inner : node.Expansion->Nodes)
            if (IsOutputPin(*inner) && !inner->Ports.empty())
                if (Port* out = inner->Ports.front()->Relay) {
                    const Port* source = inner->Ports.front()->Source;
                    const int type = source ? source->Type : PortType::Generic;
                    stayed = stayed && out->Type == type;
                    out->Type = type;
                }
    return stayed;
}

// An input that the insides cannot take its fed type at shows the type they want instead, so
// that the wire into it shows as invalid. Asked once the travel is over, when the insides are.
void ShowWantedTypes(Node& instance) {
    for (const auto& port : instance.Ports) {
        if (!(port->Direction & Direction::In)) continue;
        const int fed = port->Source ? port->Source->Type : PortType::Generic;
        port->Type = ShownInputType(*port, fed);
        const Port* pinOut = port->Relay;
        if (!pinOut || fed == PortType::Generic) continue;
        for (const Port* target : pinOut->Targets)
            if (target->Source == pinOut && !CanConnect(pinOut, target) &&
                target->Type != PortType::Generic) {
                port->Type = target->Type;
                break;
            }
    }
}

// An output pin inside an expansion hands its type out to its instance's output. Returns
// whether that changed it.
bool CarryOut(Node& node) {
    if (!IsOutputPin(node) || node.Ports.empty() || !node.Ports.front()->Relay) return false;
    const Port* source = node.Ports.front()->Source;
    const int type = source ? source->Type : PortType::Generic;
    Port* out = node.Ports.front()->Relay;
    if (out->Type == type) return false;
    out->Type = type;
    return true;
}

// Chooses the node's implementation and sets its port types. Returns whether the node kept the
// implementation it had, in which case nothing downstream can change.
bool ResolveOne(Node& node) {
    const FunctionDef* function = node.Function;
    if (!function) return true;
    if (!node.Implementation) {
        // A constant's (or an input's) implementation is its value type, given by the menu or
        // the file; a constant read without a value keeps none, and Random has none to give. An
        // input pin has one only in an expansion whose instance is fed.
        if (HoldsValue(node) || IsInputPin(node) || function->Implementations.empty()) {
            for (const auto& port : node.Ports)
                port->Type = PortType::Generic;
            return true;
        }
        node.Implementation = function->Implementations.front().get();
    }
    const bool stayed = Fits(node, *node.Implementation, false);
    if (!stayed) {
        for (const auto& impl : function->Implementations) {
            if (Fits(node, *impl, false)) {
                node.Implementation = impl.get();
                break;
            }
        }
    }
    const Implementation& chosen = *node.Implementation;
    for (std::size_t i = 1; i < node.PortArray.size() && i < chosen.Types.size(); ++i)
        if (Port* port = node.PortArray[i]) port->Type = chosen.Types[i];
    // An input stays open where implementations that fit exactly disagree on its type.
    for (const auto& impl : function->Implementations) {
        if (!Fits(node, *impl, true)) continue;
        for (std::size_t i = 1; i < node.PortArray.size() && i < impl->Types.size(); ++i) {
            Port* port = node.PortArray[i];
            if (port && (port->Direction & Direction::In) && port->Type != impl->Types[i])
                port->Type = PortType::Generic;
        }
    }
    return stayed;
}

// Resolves the node; true when the travel may stop there. Beyond a node that stayed with its
// implementation, also beyond one that found none fitting and changed no type its targets read:
// they would be resolved again from the very types they were resolved from, and a chain of such
// nodes, as a file read from its last wire back makes, would be walked once per wire.
bool ResolveAndSettle(Node& node) {
    if (IsInstance(node)) return ResolveInstance(node);
    const Implementation* before = node.Implementation;
    const std::vector<int> typesBefore = FedTypes(node);
    const bool settled =
        ResolveOne(node) || (node.Implementation == before && FedTypes(node) == typesBefore);
    return !CarryOut(node) && settled;
}

// The ports whose targets a node's change reaches: each port's own and, across a boundary,
// those of the port it hands on to.
const Port* Onward(const Node& node, std::size_t step) {
    const Port* port = node.Ports[step / 2].get();
    return step % 2 == 0 ? port : port->Relay;
}

} // namespace

void ResolveImplementation(Node* start) {
    if (!start || WaitsForBodies(*start)) return;
    std::vector<Node*> instances;
    if (IsInstance(*start)) instances.push_back(start);
    if (ResolveAndSettle(*start)) {
        for (Node* instance : instances)
            ShowWantedTypes(*instance);
        return;
    }
    // Depth-first travel downstream, port by port and target by target, on an explicit stack
    // so that long chains cannot exhaust the thread's stack; it crosses sub-circuit boundaries
    // like wires, in and out, so that nesting cannot either. A node already on the current path
    // is not entered again: on a cycle the travel stops where it came back to itself. An
    // instance is the exception, once: a path out of it may come back into another of its
    // inputs without any node feeding itself (a sub-circuit made of nodes that an outside node
    // lies between), and the nodes inside behind that input must learn the type it brings.
    struct Visit {
        Node* node;
        std::size_t step = 0; // two per port: its targets, then its relay's
        std::size_t target = 0;
    };
    std::vector<Visit> path{{start}};
    std::unordered_multiset<const Node*> onPath{start};
    std::unordered_set<const Node*> reentered;
    const auto mayEnter = [&](const Node* candidate) {
        return !onPath.count(candidate) ||
               (IsInstance(*candidate) && reentered.insert(candidate).second);
    };
    while (!path.empty()) {
        Visit& visit = path.back();
        Node* next = nullptr;
        while (!next && visit.step < 2 * visit.node->Ports.size()) {
            const Port* port = Onward(*visit.node, visit.step);
            if (port && visit.target < port->Targets.size()) {
                Node* candidate = port->Targets[visit.target++]->Node;
                if (candidate && mayEnter(candidate)) next = candidate;
            } else {
                ++visit.step;
                visit.target = 0;
            }
        }
        if (!next) {
            onPath.erase(onPath.find(visit.node));
            path.pop_back();
            continue;
        }
        if (IsInstance(*next)) instances.push_back(next);
        if (!ResolveAndSettle(*next)) {
            path.push_back({next});
            onPath.insert(next);
        }
    }
    // Inner instances first, so that an outer one sees what its insides want.
    std::unordered_set<const Node*> shown;
    for (auto instance = instances.rbegin(); instance != instances.rend(); ++instance)
        if (shown.insert(*instance).second) ShowWantedTypes(**instance);
}

bool CanTakeType(const Port* port, int type) {
    // An instance's input can take what every node its pin feeds inside can, at any depth: the
    // ports to ask are gathered on a list of their own.
    std::vector<const Port*> asked{port};
    while (!asked.empty()) {
        const Port* next = asked.back();
        asked.pop_back();
        const Node* node = next->Node;
        if (!node || !node->Function) return false;
        if (IsInstance(*node)) {
            // An output's type is known only once what feeds the instance is.
            if (next->Id == kTimesPortId && (next->Direction & Direction::In)) {
                if (type != PortType::Integer) return false;
                continue;
            }
            if (!(next->Direction & Direction::In) || !next->Relay) continue;
            for (const Port* target : next->Relay->Targets)
                if (target->Type != type) asked.push_back(target);
            continue;
        }
        const Int number = PortIndex(next);
        if (number == 0) return false;
        const auto& implementations = node->Function->Implementations;
        if (std::none_of(implementations.begin(), implementations.end(), [&](const auto& impl) {
                return std::size_t(number) < impl->Types.size() &&
                       impl->Types[std::size_t(number)] == type;
            }))
            return false;
    }
    return true;
}

ConnectionFault WhyCannotConnect(const Port* a, const Port* b) {
    if (!a || !b) return ConnectionFault::NoPort;
    const int directions = a->Direction | b->Direction;
    if (!(directions & Direction::In) || !(directions & Direction::Out))
        return ConnectionFault::Directions;
    if (b->Source && b->Source != a) return ConnectionFault::SecondFeeder;
    if (a->Type == b->Type) return ConnectionFault::None;
    if (a->Type == PortType::Generic && CanTakeType(a, b->Type)) return ConnectionFault::None;
    if (b->Type == PortType::Generic && CanTakeType(b, a->Type)) return ConnectionFault::None;
    return ConnectionFault::Types;
}

bool CanConnect(const Port* a, const Port* b) {
    return WhyCannotConnect(a, b) == ConnectionFault::None;
}

} // namespace flow
