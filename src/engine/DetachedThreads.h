#pragma once
// The registry of node threads that did not stop in time and were detached: until such a thread
// ends, its node's entry (and the session that holds it) must stay alive, even after a new
// thread took the node over.

#include "engine/RunSession.h"

namespace flow {

void NoteDetached(const NodeRun* run, const RunSession* session);
// Called by the detached thread itself as it leaves.
void NoteDetachedEnded(const NodeRun* run);
bool HasDetachedThread(const NodeRun* run);
// Whether a detached thread still runs on a node of the session.
bool DetachedThreadRunsIn(const RunSession& session);

} // namespace flow
