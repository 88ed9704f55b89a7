#include "editor/canvas/TextEditing.h"

#include "editor/canvas/CanvasInteraction.h"
#include "render/CommentDrawing.h"
#include "render/NodeDrawing.h"
#include "render/TextLayout.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>

namespace flow {

namespace {

// U+FFFE and U+FFFF: XML has no way to write them, even escaped.
bool IsNonCharacter(QChar c) {
    return c.unicode() >= 0xFFFE;
}

const QChar kLineFeed(u'\n');

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

// The moving end of the selection: Caret stays where the selection began.
int ActiveEnd(const EditorState& editor) {
    return editor.Caret + editor.SelectionLength;
}

void MoveCaretTo(EditorState& editor, int index, bool extend) {
    if (extend) {
        editor.SelectionLength = index - editor.Caret;
    } else {
        editor.Caret = index;
        editor.SelectionLength = 0;
    }
}

int LineStart(const QString& text, int index) {
    return index == 0 ? 0 : int(text.lastIndexOf(kLineFeed, index - 1)) + 1;
}

int LineEnd(const QString& text, int index) {
    const qsizetype end = text.indexOf(kLineFeed, index);
    return end < 0 ? int(text.size()) : int(end);
}

// Up and Down aim at the column where a run of them began, so that passing a short line does
// not pull the caret to its end for good. The aim holds while the buffer and the caret are as
// the last vertical move left them.
struct VerticalAim {
    QString Buffer;
    int Index = -1;
    double X = 0.0;
};
VerticalAim& LastAim() {
    static VerticalAim aim;
    return aim;
}

// The caret placement of a click, one line above (lines < 0) or below the caret.
int IndexOnOtherLine(const EditorState& editor, int lines) {
    const QFont font = editor.EditComment ? CommentFont() : ConstantFont();
    const int from = ActiveEnd(editor);
    const QPointF point = CaretPoint(font, editor.EditBuffer, from);
    VerticalAim& aim = LastAim();
    const bool sameRun = aim.Index == from && aim.Buffer == editor.EditBuffer;
    const double x = sameRun ? aim.X : point.x();
    const int index = TextIndexAt(font, editor.EditBuffer, x, point.y() + lines * LineHeight(font));
    aim = {editor.EditBuffer, index, x};
    return index;
}

QString SelectedText(const EditorState& editor) {
    const int start = std::min(editor.Caret, ActiveEnd(editor));
    return editor.EditBuffer.mid(start, std::abs(editor.SelectionLength));
}

} // namespace

bool EditingText(const EditorState& editor) {
    return editor.Has(InteractionFlag::Editing) && (editor.EditComment || editor.EditNode);
}

bool LineBreaksAllowed(const EditorState& editor) {
    if (editor.EditComment) return true;
    const Node* node = editor.EditNode;
    if (editor.EditName) return false;
    const Port* port = node && node->PortArray.size() > 1 ? node->PortArray[1] : nullptr;
    return port && port->Type == PortType::String;
}

void InsertAtCaret(EditorState& editor, const QString& text) {
    DeleteSelection(editor);
    editor.EditBuffer.insert(editor.Caret, text);
    editor.Caret += static_cast<int>(text.size());
    editor.SelectionLength = 0;
}

bool ApplyEditKey(EditorState& editor, int key, int modifiers) {
    ClampCaret(editor);
    const bool shift = modifiers & KeyModifier::Shift;
    const bool ctrl = modifiers & KeyModifier::Ctrl;
    const QString& text = editor.EditBuffer;
    const int length = static_cast<int>(text.size());
    switch (key) {
    case VirtualKey::Enter:
        if (LineBreaksAllowed(editor)) InsertAtCaret(editor, QStringLiteral("\n"));
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
            if (ActiveEnd(editor) >= 1) --editor.SelectionLength;
        } else {
            if (editor.Caret >= 1) --editor.Caret;
            editor.SelectionLength = 0;
        }
        return true;
    case VirtualKey::Right:
        if (shift) {
            if (ActiveEnd(editor) < length) ++editor.SelectionLength;
        } else {
            if (editor.Caret < length) ++editor.Caret;
            editor.SelectionLength = 0;
        }
        return true;
    case VirtualKey::Home:
        MoveCaretTo(editor, ctrl ? 0 : LineStart(text, ActiveEnd(editor)), shift);
        return true;
    case VirtualKey::End:
        MoveCaretTo(editor, ctrl ? length : LineEnd(text, ActiveEnd(editor)), shift);
        return true;
    case VirtualKey::Up:
        MoveCaretTo(editor, IndexOnOtherLine(editor, -1), shift);
        return true;
    case VirtualKey::Down:
        MoveCaretTo(editor, IndexOnOtherLine(editor, 1), shift);
        return true;
    }
    if (!ctrl) return false;
    switch (key) {
    case VirtualKey::A:
        SelectAllText(editor);
        return true;
    case VirtualKey::C:
        CopySelectedText(editor);
        return true;
    case VirtualKey::X:
        CutSelectedText(editor);
        return true;
    case VirtualKey::V:
        PasteText(editor);
        return true;
    default:
        return false;
    }
}

void SelectAllText(EditorState& editor) {
    editor.Caret = 0;
    editor.SelectionLength = int(editor.EditBuffer.size());
}

void CopySelectedText(EditorState& editor) {
    ClampCaret(editor);
    // Copying nothing keeps what the clipboard held.
    if (editor.SelectionLength != 0) QGuiApplication::clipboard()->setText(SelectedText(editor));
}

void CutSelectedText(EditorState& editor) {
    CopySelectedText(editor);
    DeleteSelection(editor);
}

void PasteText(EditorState& editor) {
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty()) InsertAtCaret(editor, PastableText(text, editor.EditComment != nullptr));
}

QString PastableText(const QString& text, bool multiLine) {
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == kLineFeed) {
            if (!multiLine) break;
            // CR LF and a lone CR end a line as LF does.
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == kLineFeed) ++i;
            kept.append(kLineFeed);
        } else if (c.isSurrogate()) {
            // A pair is one character; half of one is nothing a file can hold.
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                kept.append(c);
                kept.append(text[++i]);
            }
        } else if (c == u'\t' || (c.unicode() >= 32 && c.unicode() != 127 && !IsNonCharacter(c))) {
            kept.append(c);
        }
    }
    return kept;
}

} // namespace flow
