#pragma once
// What the canvas shows about the latest run beyond its output: the defect marker with its
// message, and the nodes that never fired. Both stand until the circuit is edited or run again.

#include "model/Records.h"

namespace flow {

// Run → Start draws a fresh seed for the Random nodes; Run → Repeat Last Seed runs with the one
// the last Start drew (a fresh one if there was none).
enum class SeedChoice { Fresh, Repeat };

// A run goes at once, or pauses before its first firing (Run → Step with no run going).
enum class RunStart { Going, Paused };
// A defect found by a Start the user asked for is shown close up; one found by a run that
// follows the editing is only marked, where the user is looking.
enum class DefectCamera { Moves, Stays };

// Run → Start: forgets the last run's marks, prepares the circuit and, when it is ready, runs it
// with its settling watched and its breakpoints set.
void StartRun(Circuit& circuit, SeedChoice seed = SeedChoice::Fresh,
              RunStart start = RunStart::Going, DefectCamera camera = DefectCamera::Moves);
// Run → Stop: ends the circuit's run in progress, an endless loop's too.
void StopCircuitRun(Circuit& circuit);
// A firing after which the run may have settled (or a run with nothing to wait for): when the
// run is still the latest and has settled, status field 1 says how it ended and the nodes that
// never fired are marked. Runs on the user-interface thread.
void OnRunMaySettle(Circuit& circuit, std::uint64_t runNumber);
// Any step of the history: the defect marker, its message and "Defect!" go, and the marks of
// nodes that never fired.
void ForgetRunMarks(Circuit& circuit);

} // namespace flow
