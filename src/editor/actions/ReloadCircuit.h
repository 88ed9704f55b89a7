#pragma once
// A circuit read again from its file, after another program changed the file.

#include "model/Records.h"

namespace flow {

// Replaces what the circuit holds, sub-circuits included, by what its file holds now, as one
// step of its history, so that Undo brings back what it held; the window goes out to the main
// frame first. False, changing nothing, when the file cannot be read or its read would leave
// anything out: half a file written over a whole circuit would lose it.
bool ReloadCircuit(Circuit& circuit);

} // namespace flow
