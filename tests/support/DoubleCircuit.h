#pragma once
// A circuit with a sub-circuit: "Double" adds its input pin "x" to itself, prints it and hands
// the sum out through "x + x". Instance 4 at (0, -40) doubles the Integer 21, instance 5 at
// (0, 40) the Real 1.25; Print nodes 6 and 7 print what they give.

#include "model/Records.h"

#include <QString>

namespace flow::test {

// Writes the circuit as "double.xml" into the folder and loads it, bound to that file. Without the
// wire into the Plus node's second input, every instance misses that input.
Circuit* LoadDoubleCircuit(const QString& folder, bool missingInput = false);

} // namespace flow::test
