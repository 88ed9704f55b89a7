#pragma once
// What an edit of the model sets off in the engine: the one header through which the model calls
// up into the engine. Its operations cannot be done right without it. A node that goes must not
// leave a thread running on it, and a circuit that closes or is freed stops its threads; a wire
// that comes or goes changes which implementation its nodes take, and so their port types, which
// the canvas shows at once. This is why model and engine build as one library. Nothing else in
// the model calls the engine (the records hold the engine's semaphores and the catalogue names
// its routines: types and data, not calls).

#include "model/Records.h"

namespace flow {

// Re-chooses the node's implementation and port types after its wiring changed.
void RetypeAfterRewiring(Node* node);
// Stops the thread of a node about to be deleted, and those of an instance's expansion; false while a thread that did not stop in time
// still runs on it, which must then stay alive.
bool StopThreadBeforeRemoval(Node* node);
// Stops every thread of a circuit that is closed or freed.
void StopThreadsOfCircuit(Circuit& circuit);

} // namespace flow
