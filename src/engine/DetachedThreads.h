#pragma once
// The registry of node threads that did not stop in time and were detached: until such a thread
// ends, its node (and the circuit it belongs to) must stay alive, even after a new thread took
// the node over.

#include "model/Records.h"

namespace flow {

void NoteDetached(const Node* node);
// Called by the detached thread itself as it leaves.
void NoteDetachedEnded(const Node* node);
bool HasDetachedThread(const Node* node);
// Whether a detached thread still runs on a node of the circuit.
bool DetachedThreadRunsIn(const Circuit& circuit);

} // namespace flow
