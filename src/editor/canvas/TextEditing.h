#pragma once
// The edit buffer under the caret: typing, deleting, moving the caret or the selection, and the
// text clipboard while a comment or constant is edited.

#include "editor/canvas/OpenViews.h"

namespace flow {

// Whether a comment or a constant's value is being edited.
bool EditingText(const EditorState& editor);
// Whether Enter breaks the line in the edited text: in comments and String constants.
bool LineBreaksAllowed(const EditorState& editor);

// Applies an editing key (VirtualKey code, KeyModifier bits) to the edit buffer. Returns
// false for keys without a meaning there.
bool ApplyEditKey(EditorState& editor, int key, int modifiers);
// Replaces the selection by the text and puts the caret after it.
void InsertAtCaret(EditorState& editor, const QString& text);

// The text clipboard of the edited text. A paste into a constant takes the first line only.
void SelectAllText(EditorState& editor);
void CopySelectedText(EditorState& editor);
void CutSelectedText(EditorState& editor);
void PasteText(EditorState& editor);

// Text as an edited text may take it, whether typed or from outside the keyboard: line ends
// become line feeds (or, for a single line, end it), other control characters go, and so do
// the characters a circuit file cannot hold (half a surrogate pair, U+FFFE, U+FFFF), which a
// save would otherwise turn into U+FFFD.
QString PastableText(const QString& text, bool multiLine);

} // namespace flow
