#pragma once
// Edit → Select Connected: the selected nodes (and the nodes of selected wires and ports) with
// every node wired to them, directly or through others, and the wires between them.

#include "model/Records.h"

namespace flow {

void SelectConnected(Circuit& circuit);

} // namespace flow
