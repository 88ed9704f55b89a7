#pragma once
// The Edit menu's clipboard commands. While a comment or constant is edited they act on its
// text; otherwise on the objects of the circuit, each change one step of its history.

#include "model/Records.h"

namespace flow {

void CopySelection(Circuit& circuit);
void CutSelection(Circuit& circuit);
// The clipboard's circuit under the pointer, or beside where it was copied from when the pointer
// is not on the canvas. Anything else pastes nothing and says so in the status bar.
void PasteFromClipboard(Circuit& circuit);
// A copy of the selection beside it, leaving the clipboard alone.
void DuplicateSelection(Circuit& circuit);
void SelectAllObjects(Circuit& circuit);

} // namespace flow
