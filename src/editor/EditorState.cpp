#include "editor/EditorState.h"

namespace flow {

EditorState& Editor() {
    static EditorState state;
    return state;
}

void ResetEditorState() {
    Editor() = EditorState();
}

} // namespace flow
