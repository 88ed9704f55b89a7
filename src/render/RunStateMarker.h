#pragma once
// The marker in the canvas's top-left corner that shows how far a run has come.

#include "engine/RunSession.h"

class QPainter;

namespace flow {

struct CircuitView;

// Draws in pixels, over everything else; nothing for a circuit that is ready or never ran.
void DrawRunStateMarker(QPainter& painter, const CircuitView& view);

} // namespace flow
