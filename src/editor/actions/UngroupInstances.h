#pragma once
// Edit → Ungroup: each selected instance is replaced by a copy of what its sub-circuit holds
// (nodes, comments and wires, not the pins), where the instance stood and wired as it was. The
// sub-circuit stays in the circuit, used or not.

#include "file/CircuitFragment.h"

namespace flow {

// Ungroups the selected instances of the shown frame as one step; without any, says so.
void UngroupSelection(Circuit& circuit);
// Ungroups these instances of the shown frame as one step, returning what took their place.
FrameObjects UngroupInstances(Circuit& circuit, const std::vector<Node*>& instances);

} // namespace flow
