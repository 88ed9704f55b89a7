#pragma once
// The first pass of every redraw: lays out comments and constants, applies the selection
// requests of the last event, and finds what lies under the mouse.

#include "model/Records.h"

namespace flow {

void HitTestPass(Circuit& circuit);

} // namespace flow
