#pragma once
// Shows a step of a run: the circuit's run state, the status text and a redraw.

#include "model/Records.h"

namespace flow {

void ShowRunState(Circuit& circuit, int state, const QString& status);

} // namespace flow
