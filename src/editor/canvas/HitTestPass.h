#pragma once
// The first pass of every redraw of a window: lays out comments and constants, applies the
// selection requests of the last event, finds what lies under the mouse, and puts the node being
// placed under it. Drawing then reads what it left in the view.

#include "render/CircuitView.h"

namespace flow {

void HitTestPass(CircuitView& view);

// Whether the pass, run now, would find under the mouse what the last pass found, with nothing
// moved or waiting for layout: then a redraw would change nothing.
bool HoverWouldStay(const CircuitView& view);

} // namespace flow
