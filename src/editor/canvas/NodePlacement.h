#pragma once
// Placing the node the placement preview holds (filled by the add-node menu or the type-to-place
// popup) into a circuit, optionally wired to a port, as one step of the circuit's history.

#include "model/Records.h"

namespace flow {

// Whether a wire between the two ports would be valid once made, with its ends ordered as
// ConnectPorts orders them.
bool WireWouldFit(const Port* from, const Port* to);
// The first port of the node that a wire from `from` would fit; none when no port does.
Port* FirstFittingPort(const Node& node, const Port* from);

// Adds a node like the preview, with its constant value, at (x, y); when `wireFrom` is given,
// wires it to the new node's first fitting port in the same step. Returns the new node.
Node* PlacePreviewNode(Circuit& circuit, const Node& preview, Int x, Int y,
                       Port* wireFrom = nullptr);

} // namespace flow
