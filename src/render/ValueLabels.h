#pragma once
// View → Show Values: the value each valid wire carried in the latest run, in a small label
// near the input it arrives at.

#include "model/Records.h"

#include <vector>

class QPainter;

namespace flow {

struct CircuitView;
class RunSession;

// Whether the canvases show value labels: one choice for every window, off until turned on.
bool ValueLabelsShown();
void ShowValueLabels(bool shown);

// Draws the labels of the given wires of the frame (indexes into its wire list), in circuit
// units through the painter's camera transform; none where they would be too small to read.
void DrawValueLabels(QPainter& painter, const CircuitView& view, const std::vector<int>& wires);

} // namespace flow
