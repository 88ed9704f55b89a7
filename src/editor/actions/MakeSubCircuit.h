#pragma once
// Edit → Make Sub-circuit: the selected nodes and comments of the shown frame become the body of
// a new sub-circuit, and one instance of it takes their place, wired as they were, so that the
// circuit computes what it did.

#include "model/Records.h"

#include <QString>

namespace flow {

// Asks for a name and makes the sub-circuit; a selection that cannot become one is refused in
// the status bar.
void MakeSubCircuitFromSelection(Circuit& circuit);
// Makes it under this name, as one step. Returns the new instance, or none with the reason in
// *refusal.
Node* MakeSubCircuit(Circuit& circuit, const QString& name, QString* refusal = nullptr);
// Why the selection cannot become a sub-circuit, whatever its name; empty when it can.
QString SelectionProblem(const Circuit& circuit);

} // namespace flow
