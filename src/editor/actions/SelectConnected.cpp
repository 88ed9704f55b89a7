#include "editor/actions/SelectConnected.h"

#include "editor/canvas/OpenViews.h"
#include "model/SubCircuits.h"

#include <QSet>

#include <vector>

namespace flow {

void SelectConnected(Circuit& circuit) {
    Frame& frame = ShownFrame(circuit);
    std::vector<Node*> waiting;
    QSet<Node*> reached;
    const auto reach = [&](Node* node) {
        if (node && !reached.contains(node)) {
            reached.insert(node);
            waiting.push_back(node);
        }
    };
    for (const auto& node : frame.Nodes) {
        if (node->Flags & ObjectFlag::Selected) reach(node.get());
        for (std::size_t i = 1; i < node->PortArray.size(); ++i)
            if (node->PortArray[i]->Flags & ObjectFlag::Selected) reach(node.get());
    }
    for (const auto& wire : frame.Wires)
        if (wire->Flags & ObjectFlag::Selected) {
            reach(wire->Source->Node);
            reach(wire->Destination->Node);
        }
    while (!waiting.empty()) {
        Node* node = waiting.back();
        waiting.pop_back();
        for (const auto& port : node->Ports)
            for (const Wire* wire : port->Wires) {
                reach(wire->Source->Node);
                reach(wire->Destination->Node);
            }
    }
    for (Node* node : reached)
        node->Flags |= ObjectFlag::Selected;
    for (const auto& wire : frame.Wires)
        if (reached.contains(wire->Source->Node)) wire->Flags |= ObjectFlag::Selected;
}

} // namespace flow
