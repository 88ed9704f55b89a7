#pragma once
// The edit buffer under the caret: typing, deleting, moving the caret or the selection, and the
// text clipboard while a comment or constant is edited.

#include "editor/canvas/EditorState.h"

namespace flow {

// Whether a comment or a constant's value is being edited.
bool EditingText();
// Whether Enter breaks the line in the edited text: in comments and String constants.
bool LineBreaksAllowed();

// Applies an editing key (VirtualKey code, KeyModifier bits) to Editor().EditBuffer. Returns
// false for keys without a meaning there.
bool ApplyEditKey(int key, int modifiers);
// Replaces the selection by the text and puts the caret after it.
void InsertAtCaret(const QString& text);

// The text clipboard of the edited text. A paste into a constant takes the first line only.
void SelectAllText();
void CopySelectedText();
void CutSelectedText();
void PasteText();

// Text as an edited text may take it, whether typed or from outside the keyboard: line ends
// become line feeds (or, for a single line, end it), other control characters go, and so do
// the characters a circuit file cannot hold (half a surrogate pair, U+FFFE, U+FFFF), which a
// save would otherwise turn into U+FFFD.
QString PastableText(const QString& text, bool multiLine);

} // namespace flow
