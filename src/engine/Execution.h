#pragma once
// Running a prepared circuit: every node fires once per Start, in data order.

#include "engine/RunSession.h"
#include "engine/Token.h"

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
    // The run is recorded: what it delivers is stamped with the time it arrives.
    bool Recorded = false;
};

// Delivers a value of the given type from the firing node's output (its place in PortArray) to
// every receiver, each before its semaphore is released; the output and every receiver keep it
// in their slots as the value of the firing's run. Routines call it with the FiringLock held.
void SendToTargets(const Firing& firing, std::size_t output, Int value, int type);
void SendToTargets(const Firing& firing, std::size_t output, const QString& text);
// Delivers nothing: every receiver fires without computing, but Merge, which looks past it.
void SendNothing(const Firing& firing, std::size_t output);

Token TokenIn(const PortRun& slot);
// Sends the token as it is: its value with its type, or nothing.
void SendToken(const Firing& firing, std::size_t output, const Token& token);

// One firing of the node by its routine: computes, or, when an input carried nothing and the
// routine does not look past it, sends nothing on every output and notes the node skipped.
// With the FiringLock held.
void FireOrSkip(const Routine& routine, const Firing& firing);
// Whether the firing would skip: some fed input carried nothing.
bool ReceivedNothing(const Firing& firing);

// Ends the run in progress, if one is: every node still waiting or firing stops, loops
// included, and the status says so; the next Start begins afresh. Returns whether anything
// was still going.
bool StopRun(RunSession& session);

struct RunReport {
    std::size_t Fired = 0;        // nodes that fired in this run
    std::vector<Node*> NeverFire; // nodes that can never fire: on a cycle or downstream of one
};

// After ExecuteCircuit: waits until every node that can fire in this run has fired, without
// waiting for the nodes that never can.
RunReport RunToCompletion(RunSession& session);

} // namespace flow
