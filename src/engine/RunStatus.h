#pragma once
// Shows a step of a run: the session's run state, the status text and a redraw.

#include "engine/RunSession.h"

namespace flow {

void ShowRunState(RunSession& session, RunState state, const QString& status);

} // namespace flow
