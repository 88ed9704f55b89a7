#pragma once
// The marks of Edit → Find's matches among the objects in sight, in circuit units (the camera
// transform is already applied to the painter).

#include "render/SceneIndex.h"

class QPainter;

namespace flow {

struct CircuitView;

// Marks every visible node and comment of the shown frame that holds the view's FindText.
void DrawFindHighlights(QPainter& painter, const CircuitView& view, const SceneObjects& visible);

} // namespace flow
