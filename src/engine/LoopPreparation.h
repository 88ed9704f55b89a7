#pragma once
// Before a run: what each loop's instance needs to run its iterations (engine/LoopRun.h), and
// which loop starts each node of a loop's body.

#include "engine/RunSession.h"

#include <vector>

namespace flow {

// Gives every loop instance of the run frames a fresh LoopRun and every node its Driver. Fails
// with the session's defect when a carried value would change its type between iterations.
// After every node of the frames was checked, so that each has its slots and thread.
bool PrepareLoops(RunSession& session, const std::vector<Frame*>& frames);

} // namespace flow
