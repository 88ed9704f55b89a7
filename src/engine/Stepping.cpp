#include "engine/Stepping.h"

#include "engine/NodeThread.h"

#include <algorithm>
#include <unordered_set>

namespace flow {

namespace {

// Whether the node's thread has all it needs to fire and has not reached the gate yet: its
// start and a value on every fed input are there, untaken. A thread takes them under the lock
// and arrives at the gate before it lets go of it, so one look under the lock tells.
bool OnItsWay(const Node& node, const NodeRun& run) {
    if (run.Start.Available() == 0) return false;
    for (std::size_t i = 1; i < node.PortArray.size(); ++i) {
        const Port* port = node.PortArray[i];
        if (const PortRun* slot = run.Slot(i); port && port->Source && slot)
            if (slot->Semaphore.Available() == 0) return false;
    }
    return true;
}

} // namespace

PauseOutlook LookAtPause(RunSession& session) {
    std::lock_guard lock(session.FiringLock());
    const RunGate::State gate = session.Watch.Gate().Look();
    PauseOutlook outlook;
    outlook.Paused = gate.Paused;
    outlook.AtRest = gate.UnderWay == 0;
    const std::unordered_set<const Node*> waiting(gate.Waiting.begin(), gate.Waiting.end());
    for (const auto& [node, run] : session.Entries()) {
        const NodeThread* thread = run->Thread;
        if (!thread) continue;
        if (waiting.contains(node)) {
            outlook.Waiting.push_back(node);
            continue;
        }
        if (thread->Fired >= thread->Started) continue; // done with every start it was given
        // A loop's instance passes the gate uncounted: once it has taken its start it is busy
        // (beginning, between iterations, sending its results) except while it waits for its
        // body.
        const LoopRun* loop = run->Loop.get();
        const bool loopBusy =
            loop && run->Start.Available() == 0 && (!loop->Iterating || loop->BodyDone());
        if (loopBusy || OnItsWay(*node, *run)) outlook.AtRest = false;
    }
    const auto paused =
        std::find(outlook.Waiting.begin(), outlook.Waiting.end(), gate.PausedBefore);
    outlook.Next = paused != outlook.Waiting.end() ? *paused
                   : outlook.Waiting.empty()       ? nullptr
                                                   : outlook.Waiting.front();
    return outlook;
}

bool StepRun(RunSession& session, const PauseOutlook& outlook) {
    if (!outlook.Next) return false;
    session.Watch.Gate().Let(outlook.Next);
    return true;
}

} // namespace flow
