#include "engine/ModelEffects.h"

#include "engine/Expansion.h"
#include "engine/NodeThreads.h"
#include "engine/TypeResolution.h"

namespace flow {

void RetypeAfterRewiring(Node* node) {
    ResolveImplementation(node);
}

bool StopThreadBeforeRemoval(Node* node) {
    // An instance's threads run on its expansion, which goes with it.
    const bool expansionEnded = CollapseInstance(*node);
    return StopNodeThread(node) && expansionEnded;
}

void StopThreadsOfCircuit(Circuit& circuit) {
    StopCircuitThreads(circuit);
}

} // namespace flow
