#pragma once
// The long-lived worker thread of each prepared node.

#include "model/Records.h"

namespace flow {

// Asks the node's thread to end and waits up to 1000 ms. Returns false when the thread did not
// end in time and was detached: it may still touch the node, which must then stay alive.
bool StopNodeThread(Node* node);
// Stops every node thread of the circuit (asking all first, then waiting for all).
void StopCircuitThreads(Circuit& circuit);

} // namespace flow
