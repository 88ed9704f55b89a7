#pragma once
// Running a prepared circuit: every node fires once per Start, in data order.

#include "engine/RunSession.h"

#include <vector>

namespace flow {

// Releases every node once and returns at once; the nodes compute in the background.
void ExecuteCircuit(RunSession& session);

// A node firing: what its routine computes with.
struct Firing {
    RunSession& Session;
    flow::Node& Node;
    NodeRun& Run;
    std::uint64_t RunNumber;
};

// Delivers a value of the given type from the firing node's output (its place in PortArray) to
// every receiver, each before its semaphore is released; the output and every receiver keep it
// in their slots as the value of the firing's run. Routines call it with the FiringLock held.
void SendToTargets(const Firing& firing, std::size_t output, Int value, int type);
void SendToTargets(const Firing& firing, std::size_t output, const QString& text);

struct RunReport {
    std::size_t Fired = 0;        // nodes that fired in this run
    std::vector<Node*> NeverFire; // nodes that can never fire: on a cycle or downstream of one
};

// After ExecuteCircuit: waits until every node that can fire in this run has fired, without
// waiting for the nodes that never can.
RunReport RunToCompletion(RunSession& session);

} // namespace flow
