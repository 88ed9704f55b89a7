#include "render/CaretPlacement.h"

#include "render/CircuitView.h"
#include "render/TextLayout.h"

namespace flow {

void PlaceCaret(EditorState& editor, const QFont& font, double originX, double originY) {
    const bool click = editor.LastEvent == CanvasEvent::LeftDown ||
                       editor.LastEvent == CanvasEvent::LeftDoubleClick;
    const bool drag = editor.LastEvent == CanvasEvent::MouseMove && editor.LastEventLeftHeld;
    if (!click && !drag) return;
    const int index = TextIndexAt(font, editor.EditBuffer, double(editor.MouseX) - originX,
                                  double(editor.MouseY) - originY);
    if (click) {
        editor.Caret = index;
        editor.SelectionLength = 0;
    } else {
        editor.SelectionLength = index - editor.Caret;
    }
}

} // namespace flow
