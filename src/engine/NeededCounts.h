#pragma once
// What one firing of a node takes: a count of the semaphore of every fed input, then a count of
// its start. The node's thread and a thread that fires the node in its place (InlineFirings)
// look at the same semaphores in the same order.

#include "engine/RunSession.h"

namespace flow {

// Calls visit(semaphore) for each, in that order, while it returns true; returns whether every
// call did.
template <typename Visit> bool ForEachNeeded(const Node& node, NodeRun& run, Visit&& visit) {
    const auto& ports = node.PortArray;
    for (std::size_t i = 1; i < ports.size(); ++i) {
        const Port* port = ports[i];
        if (PortRun* slot = run.Slot(i); port && port->Source && slot)
            if (!visit(slot->Semaphore)) return false;
    }
    return visit(run.Start);
}

// Whether every count the node's next firing takes is there.
inline bool ReadyToFire(const Node& node, NodeRun& run) {
    return ForEachNeeded(node, run, [](const CountingSemaphore& s) { return s.Available() != 0; });
}

} // namespace flow
