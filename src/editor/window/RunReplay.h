#pragma once
// Run → Replay: the latest run played back on the canvas from its recording, one firing per
// step in the order they ended: each node lights as it fires, its values appear on its wires,
// and the output panel fills line by line. Any key or click ends it. A run that was not
// recorded is run again with the last seed, recorded, and then played.

#include "model/Records.h"

namespace flow {

// The time between two firings, at 1×.
constexpr int kReplayStepMs = 200;
// Run → Replay Speed: ½×, 1× or 2×, for every window.
enum class ReplaySpeed { Half, Normal, Double };
ReplaySpeed CurrentReplaySpeed();
void SetReplaySpeed(ReplaySpeed speed);

void ReplayLatestRun(Circuit& circuit);
bool Replaying(const Circuit& circuit);
// Ends the replay: the panel shows the run's whole output, the canvas the run's last values.
void EndReplay(Circuit& circuit);
// The run asked for by Replay has settled: its playing begins.
void OnReplayRunSettled(Circuit& circuit);

} // namespace flow
