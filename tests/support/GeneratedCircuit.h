#pragma once
// Large circuits for benchmarks and tests: nodes on a square grid cycling through the
// catalogue, a two-line comment below each node, and as many wires as nodes where free inputs
// allow. The same count always gives the same circuit.

#include "model/Catalogue.h"
#include "model/Model.h"

#include <cmath>
#include <vector>

namespace flow {

constexpr Int kGeneratedSpacing = 120;

inline int GeneratedColumns(int count) {
    return static_cast<int>(std::ceil(std::sqrt(count)));
}

// Fills the circuit and puts the camera on its middle.
inline void GenerateCircuit(Circuit& circuit, int count, int comments = -1) {
    if (comments < 0) comments = count;
    const auto& functions = Catalogue().InOrder;
    const int columns = GeneratedColumns(count);
    std::vector<Node*> nodes;
    for (int i = 0; i < count; ++i) {
        FunctionDef* function = functions[std::size_t(i) % functions.size()];
        Implementation* implementation =
            function == Catalogue().Constant ? Catalogue().ConstantInteger : nullptr;
        Node* node = AddNode(&circuit.MainFrame, function, implementation);
        node->X = (i % columns) * kGeneratedSpacing;
        node->Y = (i / columns) * kGeneratedSpacing;
        nodes.push_back(node);
        // Spread the comments evenly when there are fewer of them than nodes.
        if (comments > 0 && (Int(i) * comments) % count < comments)
            AddComment(&circuit.MainFrame, QStringLiteral("Note %1\nline two").arg(i), node->X + 10,
                       node->Y + 50);
    }
    auto output = [](Node* node) -> Port* {
        for (const auto& port : node->Ports)
            if (port->Direction & Direction::Out) return port.get();
        return nullptr;
    };
    auto freeInput = [](Node* node) -> Port* {
        for (const auto& port : node->Ports)
            if ((port->Direction & Direction::In) && !port->Source) return port.get();
        return nullptr;
    };
    // Outputs feed free inputs of the next few nodes, a second round where one wire per
    // output is not enough to reach the count.
    int made = 0;
    for (int round = 0; round < 2 && made < count; ++round) {
        for (int i = 0; i < count && made < count; ++i) {
            Port* out = output(nodes[std::size_t(i)]);
            for (int step = 1; out && step <= 8; ++step) {
                Port* in = freeInput(nodes[std::size_t((i + step) % count)]);
                if (in && ConnectPorts(out, in)) {
                    ++made;
                    break;
                }
            }
        }
    }
    const Int extent = columns * kGeneratedSpacing;
    circuit.Saved.CameraX = extent / 2;
    circuit.Saved.CameraY = extent / 2;
}

// The zoom level, in quarter notches, at which the whole generated circuit fits `pixels`.
inline float WholeCircuitZoom(int count, double pixels) {
    const double extent = GeneratedColumns(count) * double(kGeneratedSpacing) + kGeneratedSpacing;
    return static_cast<float>(std::floor(4 * std::log2(pixels / extent)) / 4);
}

} // namespace flow
