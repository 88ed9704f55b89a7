#pragma once
// Edit → Rename Sub-circuit… and the instance menu's item: a sub-circuit and all its instances
// take a new name, asked for in the sub-circuit name dialog.

#include "model/Records.h"

namespace flow {

// What the menu command renames: the sub-circuit of the one selected node when it is an
// instance, else the one whose body the window shows; none otherwise.
FunctionDef* SubCircuitToRename(const Circuit& circuit);
// Asks for the new name and renames as one step; what cannot be done is told in the status bar.
void RenameSubCircuitAsking(Circuit& circuit, FunctionDef& definition);
// The menu command.
void RenameChosenSubCircuit(Circuit& circuit);

} // namespace flow
