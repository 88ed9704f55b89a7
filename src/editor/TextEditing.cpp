#include "editor/TextEditing.h"

#include "editor/CanvasInteraction.h"

#include <algorithm>

namespace flow {

namespace {

// The caret and the selection end always lie within the buffer, whatever happened to it.
void ClampCaret(EditorState& editor) {
    const int length = static_cast<int>(editor.EditBuffer.size());
    editor.Caret = std::clamp(editor.Caret, 0, length);
    editor.SelectionLength =
        std::clamp(editor.SelectionLength, -editor.Caret, length - editor.Caret);
}

void DeleteSelection(EditorState& editor) {
    ClampCaret(editor);
    if (editor.SelectionLength > 0) {
        editor.EditBuffer.remove(editor.Caret, editor.SelectionLength);
    } else if (editor.SelectionLength < 0) {
        editor.Caret += editor.SelectionLength;
        editor.EditBuffer.remove(editor.Caret, -editor.SelectionLength);
    }
    editor.SelectionLength = 0;
}

} // namespace

void InsertAtCaret(const QString& text) {
    EditorState& editor = Editor();
    DeleteSelection(editor);
    editor.EditBuffer.insert(editor.Caret, text);
    editor.Caret += static_cast<int>(text.size());
    editor.SelectionLength = 0;
}

bool ApplyEditKey(int key, bool shift, bool lineBreaksAllowed) {
    EditorState& editor = Editor();
    ClampCaret(editor);
    const int length = static_cast<int>(editor.EditBuffer.size());
    switch (key) {
    case VirtualKey::Enter:
        if (lineBreaksAllowed) InsertAtCaret(QStringLiteral("\n"));
        return true;
    case VirtualKey::Backspace:
        if (editor.SelectionLength != 0) {
            DeleteSelection(editor);
        } else if (editor.Caret >= 1) {
            editor.EditBuffer.remove(--editor.Caret, 1);
        }
        editor.SelectionLength = 0;
        return true;
    case VirtualKey::Delete:
        if (editor.SelectionLength != 0) {
            DeleteSelection(editor);
        } else if (editor.Caret < length) {
            editor.EditBuffer.remove(editor.Caret, 1);
        }
        editor.SelectionLength = 0;
        return true;
    case VirtualKey::Left:
        if (shift) {
            if (editor.Caret + editor.SelectionLength >= 1) --editor.SelectionLength;
        } else {
            if (editor.Caret >= 1) --editor.Caret;
            editor.SelectionLength = 0;
        }
        return true;
    case VirtualKey::Right:
        if (shift) {
            if (editor.Caret + editor.SelectionLength < length) ++editor.SelectionLength;
        } else {
            if (editor.Caret < length) ++editor.Caret;
            editor.SelectionLength = 0;
        }
        return true;
    default:
        return false;
    }
}

} // namespace flow
