#include "editor/canvas/EditorState.h"

namespace flow {

EditorState& Editor() {
    static EditorState state;
    return state;
}

void ResetEditorState() {
    Editor() = EditorState();
}

namespace {
void DropEdit(EditorState& editor) {
    editor.Set(InteractionFlag::Editing, false);
    editor.EditComment = nullptr;
    editor.EditNode = nullptr;
    editor.EditBuffer.clear();
    editor.Caret = editor.SelectionLength = 0;
}
} // namespace

void ForgetNode(const Node* node) {
    EditorState& editor = Editor();
    if (editor.WireSource && editor.WireSource->Node == node) editor.WireSource = nullptr;
    if (editor.HoveredPort && editor.HoveredPort->Node == node) editor.HoveredPort = nullptr;
    if (editor.HoveredNode == node) editor.HoveredNode = nullptr;
    if (editor.EditNode == node) DropEdit(editor);
}

void ForgetComment(const Comment* comment) {
    EditorState& editor = Editor();
    if (editor.HoveredComment == comment) editor.HoveredComment = nullptr;
    if (editor.EditComment == comment) DropEdit(editor);
}

} // namespace flow
