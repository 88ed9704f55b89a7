#pragma once
// Edit → Find: the find bar over the canvas, and going to one of its matches.

#include "editor/canvas/FindMatches.h"

namespace flow {

class FindBar;

// Opens the window's find bar, or gives it the keyboard again; none without a window.
FindBar* OpenFindBar(Circuit& circuit);

// Shows the frame the object is in, opening the instances of its path, centres the view on the
// object and makes it the selection alone.
void ShowFound(Circuit& circuit, const FoundObject& found);

} // namespace flow
