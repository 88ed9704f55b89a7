#pragma once
// The long-lived worker thread of each prepared node, kept by the node's run session.

#include "engine/RunSession.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace flow {

// What the node's thread runs: its implementation's routine, or a loop's; none for a node that
// cannot run.
const Routine* RoutineOf(const Node& node);
// Starts the node's thread on its routine; false when the system refuses one.
bool StartNodeThread(RunSession& session, Node& node, NodeRun& run);
// Asks the node's thread to end and waits up to 1000 ms; the releases that woke it are then
// taken back, so a later thread of the node starts from empty semaphores. Returns false while a
// thread of the node that did not end in time, and was detached, still runs: it may still
// touch the node and its entry, which must then stay alive.
bool StopNodeThread(RunSession& session, Node* node);
// The same for many nodes at once, all asked first and then waited for; every node must have a
// thread. True when all ended.
bool StopNodeThreads(RunSession& session, const std::vector<std::pair<Node*, NodeRun*>>& nodes);
// Stops every node thread of the session (asking all first, then waiting for all).
void StopCircuitThreads(RunSession& session);
// Whether a thread of the session that did not stop in time still runs: it may still touch its
// node, the session and its lock, which must then stay alive.
bool ThreadsStillRunIn(const RunSession& session);

// New threads a run would start: one for each node that can run and has no thread of the right
// routine yet.
std::size_t ThreadsNeeded(const RunSession& session);

// Ends what is left of the previous run before a new one: stops the threads of the nodes that
// have not fired for every Start they were given (still waiting for inputs, or on a cycle).
void StopUnfinishedThreads(RunSession& session);
// Drops every count of the session's semaphores, so that no start, value or stop release of an
// earlier run reaches the next one. Only while every thread waits for its start.
void ClearSemaphoreCounts(RunSession& session);

} // namespace flow
