#pragma once
// Edit → Align and Distribute: the selected nodes and comments lined up or spaced evenly by
// their boxes, each command one step of the history. Fewer than two objects stay where they are.

#include "model/Records.h"

namespace flow {

enum class Alignment { Left, Right, Top, Bottom, Centres };
enum class Spread { Horizontally, Vertically };

// Centres line the objects up along the way the selection runs: a selection wider than it is
// tall becomes a row with one middle height, any other a column with one middle line.
void AlignSelection(Circuit& circuit, Alignment alignment);
// Keeps the outermost two in place and makes the gaps between neighbouring boxes equal.
void DistributeSelection(Circuit& circuit, Spread spread);

} // namespace flow
