#pragma once
// What sub-circuits add to a node's drawing: a pin's name beside it (the label of its
// instances' port), and inside an instance's box the label of each port next to it.

#include "model/Records.h"

#include <QFont>

class QPainter;
class QTransform;

namespace flow {

struct CircuitView;
struct EditorState;

QFont PinNameFont();
// Where a pin's name starts, from the pin's origin: left of an input pin, whose wires leave on
// the right, and right of an output pin.
QPointF PinNameOrigin(const Node& pin, const QString& name);
// The box of the name as drawn now (the edited text while it is edited), from the pin's origin.
QRectF PinNameBox(const Node& pin, const EditorState* editing);
// While the name is edited, the caret follows the mouse over it.
void LayoutPinName(const Node& pin, CircuitView& view);
// Pins and instances: the texts over their bodies, with the painter in device space and
// `local` the node's transform.
void DrawNodeLabels(QPainter& painter, const QTransform& local, const Node& node,
                    const CircuitView& view);

} // namespace flow
