#pragma once
// Steering a run held at its pause gate (engine/RunGate.h): which nodes wait there, which one a
// Step lets fire, and whether the run has come to rest, so that a step is repeatable: it is
// chosen only once no thread is still on its way to the gate.

#include "engine/RunSession.h"

#include <vector>

namespace flow {

struct PauseOutlook {
    bool Paused = false; // the run is held
    // No firing is under way and no thread that has all it needs is still on its way to the
    // gate: the nodes waiting are all that can fire next.
    bool AtRest = false;
    std::vector<Node*> Waiting; // in the order of the run's nodes
    // What a step lets fire: the breakpoint the run paused at while it waits, else the first
    // node waiting.
    Node* Next = nullptr;
};

// Takes the session's FiringLock.
PauseOutlook LookAtPause(RunSession& session);
// Lets the outlook's next node fire, and only it; false when none waits.
bool StepRun(RunSession& session, const PauseOutlook& outlook);

} // namespace flow
