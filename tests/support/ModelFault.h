#pragma once
// The cross-references every edit, read and paste must leave consistent in a circuit.

#include "model/Records.h"

#include <string>

namespace flow::test {

// Empty when the circuit's cross-references are consistent, else a description of the first
// fault: owners, unique increasing IDs, ports against their functions, wires against the lists
// of both their ports, in the main frame and every sub-circuit's body; and the camera's zoom
// against its magnification.
std::string ModelFault(const Circuit& circuit);

} // namespace flow::test
