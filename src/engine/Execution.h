#pragma once
// Running a prepared circuit: every node fires once per Start, in data order.

#include "model/Records.h"

#include <vector>

namespace flow {

// Releases every node once and returns at once; the nodes compute in the background.
void ExecuteCircuit(Circuit& circuit);

// Delivers a value of the given type to every target of an output port, each before its
// semaphore is released; the output and every target keep it as the value of run `runNumber`.
// Node routines call it with the circuit's FiringLock held.
void SendToTargets(Port* port, Int value, int type = PortType::Generic,
                   std::uint64_t runNumber = 0);
void SendToTargets(Port* port, const QString& text, std::uint64_t runNumber = 0);

struct RunReport {
    std::size_t Fired = 0;        // nodes that fired in this run
    std::vector<Node*> NeverFire; // nodes that can never fire: on a cycle or downstream of one
};

// After ExecuteCircuit: waits until every node that can fire in this run has fired, without
// waiting for the nodes that never can.
RunReport RunToCompletion(Circuit& circuit);

} // namespace flow
