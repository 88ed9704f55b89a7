#pragma once
// The first pass of every redraw: lays out comments and constants, applies the selection
// requests of the last event, and finds what lies under the mouse.

#include "model/Records.h"

namespace flow {

class RunSession;

void HitTestPass(Circuit& circuit, const RunSession* run = nullptr);

// Whether the pass, run now, would find under the mouse what the last pass found, in the same
// circuit with nothing moved or waiting for layout: then a redraw would change nothing.
bool HoverWouldStay(const Circuit& circuit);

} // namespace flow
