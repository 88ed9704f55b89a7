#pragma once
// The one header through which drawing reaches up into the editor. Every redraw starts with the
// editor's hit test, which lays out what is being edited, applies the selection requests of the
// last event and decides what lies under the mouse before anything is drawn; and drawing shows
// the interaction state as it is (hover, selection, the text being edited with its caret, the
// drag offset, the wire being drawn, the node being placed, on the grid when snapping). render
// and editor build as one library for this reason; nothing else in render includes an editor
// header.

#include "editor/canvas/EditorState.h"
#include "editor/canvas/GridSnap.h"
#include "editor/canvas/HitTestPass.h"
