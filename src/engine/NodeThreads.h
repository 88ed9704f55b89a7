#pragma once
// The long-lived worker thread of each prepared node.

#include "model/Records.h"

#include <cstddef>
#include <vector>

namespace flow {

// Starts the node's thread on its implementation's routine; false when the system refuses one.
bool StartNodeThread(Node* node);
// Asks the node's thread to end and waits up to 1000 ms; the releases that woke it are then
// taken back, so a later thread of the node starts from empty semaphores. Returns false while a
// thread of the node that did not end in time, and was detached, still runs: it may still
// touch the node, which must then stay alive.
bool StopNodeThread(Node* node);
// The same for many nodes at once, all asked first and then waited for; every node must have a
// thread. True when all ended.
bool StopNodeThreads(const std::vector<Node*>& nodes);
// Stops every node thread of the circuit (asking all first, then waiting for all).
void StopCircuitThreads(Circuit& circuit);
// Whether a thread that did not stop in time still runs on a node of the circuit: it may still
// touch the node and the circuit's lock, which must then stay alive.
bool ThreadsStillRunIn(const Circuit& circuit);

// New threads a run of the circuit would start: one for each node that can run and has no
// thread of the right routine yet.
std::size_t ThreadsNeeded(const Circuit& circuit);

// Ends what is left of the previous run before a new one: stops the threads of the nodes that
// have not fired for every Start they were given (still waiting for inputs, or on a cycle).
void StopUnfinishedThreads(Circuit& circuit);
// Drops every count of the circuit's node and port semaphores, so that no start, value or stop
// release of an earlier run reaches the next one. Only while every thread waits for its start.
void ClearSemaphoreCounts(Circuit& circuit);

} // namespace flow
