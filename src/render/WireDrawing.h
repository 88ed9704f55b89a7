#pragma once
// Wires, in circuit units (the camera transform is already applied to the painter): valid,
// invalid, or dangling to the mouse.

#include "model/Records.h"

#include <QPainterPath>

class QPainter;

namespace flow {

struct CircuitView;

void DrawWire(QPainter& painter, const Wire& wire, const CircuitView& view);
// The same along a curve already made (a connected wire).
void DrawWire(QPainter& painter, const Wire& wire, const QPainterPath& curve,
              const CircuitView& view);

} // namespace flow
