#include "support/ModelFault.h"

#include "model/SubCircuits.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace flow::test {

namespace {

template <typename T> bool Holds(const std::vector<T*>& list, const T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::string PortFault(const Port& port, const std::set<const Wire*>& wires) {
    for (const Wire* wire : port.Wires) {
        if (!wires.count(wire)) return "a port lists a wire of no frame";
        if (wire->Source != &port && wire->Destination != &port)
            return "a port lists a wire that does not touch it";
    }
    if (port.Source && !Holds(port.Feeders, port.Source))
        return "a port's source is not among its feeders";
    if (!port.Feeders.empty() && !port.Source) return "a fed port has no source";
    if (port.Targets.size() + port.Feeders.size() != port.Wires.size())
        return "a port's targets and feeders do not match its wires";
    return {};
}

// IDs are unique across all frames of the circuit: `ids` collects them frame by frame.
std::string FrameFault(const Circuit& circuit, const Frame& frame, std::set<Int>& ids,
                       std::set<const Node*>& nodes) {
    if (frame.Owner != &circuit) return "frame owner wrong";
    Int lastCommentId = 0, lastNodeId = 0;
    for (const auto& comment : frame.Comments) {
        if (comment->Frame != &frame || comment->Kind != ObjectKind::Comment)
            return "comment record wrong";
        if (comment->Id < 1 || comment->Id > circuit.NextId || !ids.insert(comment->Id).second ||
            comment->Id <= lastCommentId)
            return "comment ids not unique and increasing";
        lastCommentId = comment->Id;
    }
    std::set<const Wire*> wires;
    for (const auto& wire : frame.Wires)
        wires.insert(wire.get());
    for (const auto& node : frame.Nodes) {
        nodes.insert(node.get());
        if (node->Frame != &frame || !node->Function || node->Kind != ObjectKind::Node)
            return "node record wrong";
        if (node->Id < 1 || node->Id > circuit.NextId || !ids.insert(node->Id).second ||
            node->Id <= lastNodeId)
            return "node ids not unique and increasing";
        lastNodeId = node->Id;
        if (node->Ports.size() != node->Function->Ports.size() ||
            node->PortArray.size() != node->Ports.size() + 1)
            return "node ports do not match its function";
        if (node->Implementation) {
            bool known = false;
            for (const auto& impl : node->Function->Implementations)
                known = known || impl.get() == node->Implementation;
            if (!known) return "node implementation not of its function";
        }
        for (std::size_t i = 0; i < node->Ports.size(); ++i) {
            const Port& port = *node->Ports[i];
            if (node->PortArray[i + 1] != &port || port.Node != node.get())
                return "port array or port owner wrong";
            std::string fault = PortFault(port, wires);
            if (!fault.empty()) return fault;
        }
    }
    for (const auto& wire : frame.Wires) {
        const Port* a = wire->Source;
        const Port* b = wire->Destination;
        if (wire->Frame != &frame || !a || !b || !nodes.count(a->Node) || !nodes.count(b->Node))
            return "wire ends not in the frame";
        if (!Holds(a->Wires, wire.get()) || !Holds(b->Wires, wire.get()) || !Holds(a->Targets, b) ||
            !Holds(b->Feeders, a))
            return "wire not listed by its ports";
    }
    return {};
}

} // namespace

std::string ModelFault(const Circuit& circuit) {
    if (!(circuit.Saved.Magnification > 0.0f) || !std::isfinite(circuit.Saved.Magnification) ||
        !std::isfinite(circuit.Saved.ZoomLevel) ||
        std::fabs(std::exp2(circuit.Saved.ZoomLevel) / circuit.Saved.Magnification - 1.0) > 1e-4)
        return "camera magnification unusable or not 2 to the zoom level";
    std::set<Int> ids;
    std::set<const Node*> nodes;
    std::string fault = FrameFault(circuit, circuit.MainFrame, ids, nodes);
    if (!fault.empty()) return fault;
    for (const auto& definition : circuit.SubCircuits) {
        if (definition->Frames.size() != 1 || BodyOf(*definition).Definition != definition.get())
            return "sub-circuit without its one body";
        std::set<const Node*> bodyNodes;
        fault = FrameFault(circuit, BodyOf(*definition), ids, bodyNodes);
        if (!fault.empty()) return "in " + definition->Name.toStdString() + ": " + fault;
    }
    for (Node* node : circuit.FileIdTable)
        if (!nodes.count(node)) return "file id table names a node of no frame";
    return {};
}

} // namespace flow::test
