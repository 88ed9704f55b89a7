#pragma once
// The tooltip of a node resting under the pointer: what its function does and its ports with
// their types (render/NodeReference). It is shown only while nothing is under way.

class QHelpEvent;
class QWidget;

namespace flow {

struct CircuitView;

// Answers the canvas's tooltip event: the reference of the node under the pointer (or of the
// node whose port it is), shown until the pointer leaves the node; else no tooltip.
void ShowNodeToolTip(QWidget& canvas, const CircuitView& view, QHelpEvent& event);

} // namespace flow
