#pragma once
// The edit buffer under the caret: typing, deleting and moving the caret or the selection.

#include "editor/EditorState.h"

namespace flow {

// Applies an editing key to Editor().EditBuffer. Returns false for keys without a meaning
// there. Enter breaks the line only where line breaks are allowed.
bool ApplyEditKey(int key, bool shift, bool lineBreaksAllowed);
// Replaces the selection by the text and puts the caret after it.
void InsertAtCaret(const QString& text);

} // namespace flow
