#pragma once
// Checking a circuit before a run: every input connected, every wire valid; node threads and
// semaphores are created on the way.

#include "engine/RunSession.h"

namespace flow {

// True when the session's circuit is ready to run; false with the defect recorded in the
// session (RunSession::Fault).
bool PrepareCircuit(RunSession& session);
bool CheckNode(RunSession& session, Node* node);

} // namespace flow
