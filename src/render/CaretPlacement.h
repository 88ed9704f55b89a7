#pragma once
// Places the caret of the edited text from the mouse, during the layout of the edited comment
// or constant node.

#include <QFont>

namespace flow {

struct EditorState;

// A click puts the caret at the nearest position and clears the selection; dragging with the
// left button held extends the selection to the nearest position. (originX, originY) is the
// circuit position of the edited text's origin.
void PlaceCaret(EditorState& editor, const QFont& font, double originX, double originY);

} // namespace flow
