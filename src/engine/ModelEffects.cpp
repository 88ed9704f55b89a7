#include "engine/ModelEffects.h"

#include "engine/NodeThreads.h"
#include "engine/TypeResolution.h"

namespace flow {

void RetypeAfterRewiring(Node* node) {
    ResolveImplementation(node);
}

bool StopThreadBeforeRemoval(Node* node) {
    return StopNodeThread(node);
}

void StopThreadsOfCircuit(Circuit& circuit) {
    StopCircuitThreads(circuit);
}

} // namespace flow
