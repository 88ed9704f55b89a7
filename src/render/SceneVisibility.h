#pragma once
// Which objects can put a pixel on the canvas. Drawing skips the others.

#include "model/Records.h"
#include "render/SceneIndex.h"

namespace flow {

struct CircuitView;

// Whether drawing and the hit test consult the scene index; on unless a test compares them
// with the full computation, which visits every object.
bool& SkipHiddenObjects();

// Everything that drawing an object can cover, in circuit units, where the object stands (a
// drag in progress not counted). A wire is measured only when both its ends are on nodes.
QRectF DrawnBounds(const Wire& wire);
QRectF DrawnBounds(const Node& node);
QRectF DrawnBounds(const Comment& comment);

// The objects whose drawing may reach the canvas, or the part of it given in canvas pixels, each
// kind in list order. During a drag, the objects it moves count where they are drawn.
void VisibleObjects(const CircuitView& view, const SceneIndex& index, SceneObjects& visible,
                    const QRectF* part = nullptr);

// Whether a wire is drawn away from the curve the index keeps: a drag moves one of its nodes.
bool MovedByDrag(const Wire& wire, const CircuitView& view);

} // namespace flow
