#pragma once
// Checking a circuit before a run: every input connected, every wire valid; node threads and
// semaphores are created on the way.

#include "model/Records.h"

namespace flow {

// True when the circuit is ready to run; false with the error recorded in the circuit.
bool PrepareCircuit(Circuit& circuit);
bool CheckNode(Node* node);

} // namespace flow
