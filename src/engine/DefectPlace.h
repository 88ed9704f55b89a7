#pragma once
// Where a recorded defect is, in the words of its file: functions and positions, not IDs, which
// change between loads. The command line and the window's status bar say the same.

#include "engine/RunSession.h"

namespace flow {

// For example "the wire from the Constant node at -100, -40 to the Plus node at 0, 0" or
// "input 2 \"y\" of the Plus node at 0, 0"; "" when the defect names no object.
QString DefectPlace(const Defect& defect);
// A node as the status texts name it: "Plus at 0, 0", with the instances around it for a node
// of an expansion ("Plus at 0, 0 inside Adder, instance at 120, 40").
QString NodePlace(const Node& node);

} // namespace flow
