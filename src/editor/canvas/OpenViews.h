#pragma once
// The views of the open windows, one per window and so one per circuit shown: how the editor's
// commands, history steps and run reports find what a circuit's window shows. A window lists its
// view while it shows its circuit; nothing else needs forgetting when it goes.

#include "editor/canvas/OpenViews.h"
#include "render/CircuitView.h"

namespace flow {

void ListView(CircuitView& view);
void UnlistView(const CircuitView& view);

// The view of the window that shows the circuit; none while no window does.
CircuitView* ViewOf(const Circuit& circuit);

// The frame the circuit's window shows and edits: the main frame, or the body of the sub-circuit
// opened last; the main frame for a circuit without a window.
Frame& ShownFrame(const Circuit& circuit);

// Lets go of what the view of the object's circuit holds of a node or comment about to go
// (CircuitView.h).
void ForgetNode(const Node* node);
void ForgetComment(const Comment* comment);

} // namespace flow
