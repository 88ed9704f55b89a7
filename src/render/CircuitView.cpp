#include "render/CircuitView.h"

#include "model/SubCircuits.h"

namespace flow {

CircuitView::CircuitView(flow::Circuit& circuit) : Circuit(&circuit) {
    Index.FollowEditing(this);
}

Frame& ShownFrame(const CircuitView& view) {
    return view.OpenPath.empty() ? view.Circuit->MainFrame
                                 : BodyOf(*view.OpenPath.back()->Function);
}

namespace {
void DropEdit(EditorState& editor) {
    editor.Set(InteractionFlag::Editing, false);
    editor.EditComment = nullptr;
    editor.EditNode = nullptr;
    editor.EditName = false;
    editor.EditBuffer.clear();
    editor.Caret = editor.SelectionLength = 0;
}
} // namespace

void ForgetNode(CircuitView& view, const Node* node) {
    if (view.WireSource && view.WireSource->Node == node) view.WireSource = nullptr;
    if (view.HoveredPort && view.HoveredPort->Node == node) view.HoveredPort = nullptr;
    if (view.HoveredNode == node) view.HoveredNode = nullptr;
    if (view.EditNode == node) DropEdit(view);
}

void ForgetComment(CircuitView& view, const Comment* comment) {
    if (view.HoveredComment == comment) view.HoveredComment = nullptr;
    if (view.EditComment == comment) DropEdit(view);
}

} // namespace flow
