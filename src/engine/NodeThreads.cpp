#include "engine/NodeThreads.h"

namespace flow {

bool StopNodeThread(Node*) { return true; }
void StopCircuitThreads(Circuit&) {}

} // namespace flow
