#include "engine/TypeResolution.h"

#include "engine/Expansion.h"
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

std::vector<int> PortTypes(const Node& node) {
    std::vector<int> types;
    for (const auto& port : node.Ports)
        types.push_back(port->Type);
    return types;
}

// The implementation of a pin that passes values of the type on; none for Generic.
Implementation* PinImplementation(const Node& pin, int type) {
    for (const auto& implementation : pin.Function->Implementations)
        if (implementation->Types.size() > 1 && implementation->Types[1] == type)
            return implementation.get();
    return nullptr;
}

// An instance resolves as its expansion does when fed what feeds the instance: each input pin
// inside passes on its input's type, and each output takes the type its pin inside receives.
// An input that the insides cannot take a fed type at shows the type they want instead, so
// that the wire into it shows as invalid. Returns whether every port kept its type.
bool ResolveInstance(Node& node) {
    ExpandInstance(node);
    const std::vector<int> before = PortTypes(node);
    for (const auto& port : node.Ports) {
        if (!(port->Direction & Direction::In)) continue;
        const int fed = port->Source ? port->Source->Type : PortType::Generic;
        port->Type = fed;
        Port* pinOut = port->Relay;
        if (!pinOut) continue;
        Node& pin = *pinOut->Node;
        Implementation* wanted = PinImplementation(pin, fed);
        if (pin.Implementation != wanted || pinOut->Type != fed) {
            pin.Implementation = wanted;
            pinOut->Type = fed;
            for (Port* target : std::vector<Port*>(pinOut->Targets))
                ResolveImplementation(target->Node);
        }
        if (fed == PortType::Generic) continue;
        for (const Port* target : pinOut->Targets)
            if (target->Source == pinOut && !CanConnect(pinOut, target) &&
                target->Type != PortType::Generic) {
                port->Type = target->Type;
                break;
            }
    }
    if (node.Expansion)
        for (const auto& inner : node.Expansion->Nodes)
            if (IsOutputPin(*inner) && !inner->Ports.empty())
                if (Port* out = inner->Ports.front()->Relay) {
                    const Port* source = inner->Ports.front()->Source;
                    out->Type = source ? source->Type : PortType::Generic;
                }
    return PortTypes(node) == before;
}

// Chooses the node's implementation and sets its port types. Returns whether the node kept the
// implementation it had, in which case nothing downstream can change.
bool ResolveOne(Node& node) {
    const FunctionDef* function = node.Function;
    if (!function) return true;
    if (IsInstance(node)) return ResolveInstance(node);
    if (!node.Implementation) {
        // A constant's implementation is its value type, given by the menu or the file; a
        // constant read without a value keeps none, and Random has none to give. An input pin
        // has one only in an expansion whose instance is fed.
        if (IsConstant(node) || IsInputPin(node) || function->Implementations.empty()) {
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
    const Implementation* before = node.Implementation;
    const std::vector<int> typesBefore = FedTypes(node);
    return ResolveOne(node) || (node.Implementation == before && FedTypes(node) == typesBefore);
}

} // namespace

void ResolveImplementation(Node* start) {
    if (!start || ResolveAndSettle(*start)) return;
    // Depth-first travel downstream, port by port and target by target, on an explicit stack
    // so that long chains cannot exhaust the thread's stack. A node already on the current path
    // is not entered again: on a cycle the travel stops where it came back to itself. An
    // instance is the exception, once: a path out of it may come back into another of its
    // inputs without any node feeding itself (a sub-circuit made of nodes that an outside node
    // lies between), and the nodes inside behind that input must learn the type it brings.
    struct Visit {
        Node* node;
        std::size_t port = 0;
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
        while (!next && visit.port < visit.node->Ports.size()) {
            const Port* port = visit.node->Ports[visit.port].get();
            if (visit.target < port->Targets.size()) {
                Node* candidate = port->Targets[visit.target++]->Node;
                if (candidate && mayEnter(candidate)) next = candidate;
            } else {
                ++visit.port;
                visit.target = 0;
            }
        }
        if (!next) {
            onPath.erase(onPath.find(visit.node));
            path.pop_back();
        } else if (!ResolveAndSettle(*next)) {
            path.push_back({next});
            onPath.insert(next);
        }
    }
}

bool CanTakeType(const Port* port, int type) {
    const Node* node = port->Node;
    if (!node || !node->Function) return false;
    if (IsInstance(*node)) {
        // An input can take what every node its pin feeds inside can; an output's type is
        // known only once what feeds the instance is.
        if (!(port->Direction & Direction::In) || !port->Relay) return true;
        return std::all_of(port->Relay->Targets.begin(), port->Relay->Targets.end(),
                           [&](const Port* target) {
                               return target->Type == type || CanTakeType(target, type);
                           });
    }
    std::size_t number = 0;
    for (std::size_t i = 0; i < node->Ports.size(); ++i)
        if (node->Ports[i].get() == port) number = i + 1;
    if (number == 0) return false;
    for (const auto& impl : node->Function->Implementations)
        if (number < impl->Types.size() && impl->Types[number] == type) return true;
    return false;
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
