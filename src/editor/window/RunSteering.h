#pragma once
// Steering a window's run: breakpoints (F9), Pause (F6), Step (F10), Continue (F5 while
// paused). The engine holds the run at its pause gate (engine/RunGate.h); this side tells it
// what to hold, and shows where the run waits once every thread that could reach the gate has.

#include "model/Records.h"

#include <cstdint>

namespace flow {

// Toggles a breakpoint on the selected nodes of the shown frame: all get one unless all had
// one. Breakpoints are the window's (CircuitView::Stepping), not the circuit's file's.
void ToggleBreakpoints(Circuit& circuit);
// Hands the session the nodes that run in the breakpoints' places; at every Start, and at every
// toggle during a run.
void ApplyBreakpoints(Circuit& circuit);

// Whether the window's run is held at its gate, or about to be.
bool RunHeld(Circuit& circuit);
// Run → Pause: the run in progress pauses before its next firing.
void PauseCircuitRun(Circuit& circuit);
// Run → Step: a paused run lets one node fire, the one the status names, and pauses again; a
// run in progress pauses; with none, a run starts paused before its first firing.
void StepCircuitRun(Circuit& circuit);
// Run → Start while paused: the run goes on to its end or its next breakpoint.
void ContinueCircuitRun(Circuit& circuit);
// A node just made the run pause (posted from its thread).
void OnRunPaused(Circuit& circuit, std::uint64_t runNumber);
// An edit while the run is held stops it first, and says so.
void StopHeldRunForEdit(Circuit& circuit);
// The run ended, was stopped or starts again: nothing is marked as waiting any more.
void ForgetPauseMarks(Circuit& circuit);

} // namespace flow
