#pragma once
// The Edit menu's clipboard commands. While a comment or constant is edited they act on its
// text; otherwise on the objects of the circuit, each change one step of its history.

#include "file/CircuitFragment.h"
#include "file/ReadLosses.h"

#include <QPointF>
#include <QString>

#include <optional>
#include <string_view>

namespace flow {

void CopySelection(Circuit& circuit);
void CutSelection(Circuit& circuit);
// The clipboard's circuit under the pointer, or beside where it was copied from when the pointer
// is not on the canvas. Anything else pastes nothing and says so in the status bar, as does a
// text beyond kLargestPaste; a text that stops being well-formed pastes the part before.
void PasteFromClipboard(Circuit& circuit);
// A copy of the selection beside it, leaving the clipboard alone.
void DuplicateSelection(Circuit& circuit);
void SelectAllObjects(Circuit& circuit);
// Deletes the selection as one step; while a text is edited, the character after the caret.
void DeleteSelectedObjects(Circuit& circuit);

// Pastes circuit text as one step of the circuit's history (see PasteCircuitText); what the
// read left out goes to *losses, and why nothing could be pasted to *refusal, if given.
FrameObjects PasteAsStep(Circuit& circuit, const QString& name, std::string_view text,
                         std::optional<QPointF> centre, ReadLosses* losses = nullptr,
                         QString* refusal = nullptr);

// Clipboard texts larger than this are refused: a circuit file that large is not copied from
// an editor, and reading it would hold the window for long.
constexpr qsizetype kLargestPaste = qsizetype(64) << 20;

} // namespace flow
