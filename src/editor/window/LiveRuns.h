#pragma once
// Run → Run on Every Change: once the edits of a circuit pause for a moment, it runs again, so
// that its output and the values on its wires follow the editing. One choice for every window,
// kept in the editor's settings; off until turned on.

#include "model/Records.h"

namespace flow {

bool RunOnEveryChangeOn();
void SetRunOnEveryChange(bool on);

// How long the edits must pause before the run.
constexpr int kLiveRunDelayMs = 150;

// A step of the circuit's history was done, undone or redone: a run still going is stopped,
// and, with the choice on, a new one follows once the edits pause.
void NoteEditForLiveRun(Circuit& circuit);

} // namespace flow
