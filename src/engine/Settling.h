#pragma once
// When a run is over: every node that can fire has fired. Which nodes can fire follows from the
// wiring alone, so a run with a cycle is over too once the rest has fired. `--run` waits for
// that moment; the editor is told of it without waiting.

#include "engine/RunSession.h"

#include <vector>

namespace flow {

struct FiringOutlook {
    std::vector<Node*> CanFire;   // in an order in which they can fire
    std::vector<Node*> NeverFire; // on a cycle, downstream of one, or without a thread
};

// Which nodes of a prepared circuit can fire in a run of the session, leaving out those inside
// loops.
FiringOutlook OutlookOf(const RunSession& session);
// Which of the nodes can fire once the seeds have sent on every output: those of a loop's
// body, given its pins.
FiringOutlook OutlookAmong(const RunSession& session, const std::vector<Node*>& nodes,
                           const std::vector<Node*>& seeds);
// The settling test: every node that can fire has fired for every Start it was given.
bool HasSettled(const RunSession& session, const FiringOutlook& outlook);

// Before ExecuteCircuit: have the session's observer told (RunMaySettle) when the firings of the
// coming run reach the number after which it may have settled, at once when that is none.
void WatchSettling(RunSession& session);
// Counts a firing of the session's current run; called by node threads after each firing.
void NoteFiring(RunSession& session, std::uint64_t runNumber);

} // namespace flow
