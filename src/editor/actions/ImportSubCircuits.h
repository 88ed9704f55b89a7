#pragma once
// File → Import Sub-circuits…: the sub-circuits of another circuit file, those ticked in a list
// with every one they use, come into the circuit as one step, as a paste brings them: one of the
// same name and body is the circuit's own already, one of the same name and another body comes
// as "Name 2". Nothing is placed, so no sub-circuit can come to contain itself.

#include "model/Records.h"

namespace flow {

// Asks for the file (ChooseFileName) and for the sub-circuits to take (PickSubCircuits); what
// came in, or why nothing did, is told in the status bar, and a file that cannot be read whole
// in a message.
void ImportSubCircuitsAsking(Circuit& circuit);

} // namespace flow
