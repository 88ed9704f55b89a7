#pragma once
// View → Snap to Grid: placing, dragging and pasting put nodes and comments on the finest grid
// lines the canvas shows (render/Grid's FinestGridStep), so what lands on the grid is what the
// user sees lined up. Off by default, so that circuits keep the places the user gave them.

#include "file/CircuitFragment.h"

namespace flow {

// Remembered in the settings; read once, the first time it is asked for.
bool SnapToGridOn();
void SetSnapToGrid(bool on);

// A place or an offset in circuit units.
struct UnitPair {
    Int X = 0, Y = 0;
};

// The nearest multiple of the step (halves away from zero).
Int SnapToStep(Int value, Int step);

// Where an object placed at (x, y) lands: (x, y) itself while snapping is off.
UnitPair SnappedPlace(const Circuit& circuit, Int x, Int y);
// The offset nearest to (dx, dy) that puts the group's first node (else its first comment) on
// the grid; the group moves as one, so the others keep their places relative to it.
UnitPair SnappedGroupOffset(const Circuit& circuit, const FrameObjects& group, Int dx, Int dy);
// Moves a group just made (pasted, duplicated) onto the grid, keeping its layout.
void SnapNewGroup(const Circuit& circuit, const FrameObjects& group);

} // namespace flow
