#include "editor/canvas/EditingHidden.h"

#include "editor/canvas/EditorState.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "render/ValueLabels.h"

namespace flow {

namespace {

// The never-fired outline marks the latest run, as the value labels do: neither is the circuit.
constexpr int kEditingFlags = ObjectFlag::Hovered | ObjectFlag::Selected | ObjectFlag::NeverFired;

// Calls `visit` with the Flags of every comment, node, port and wire of the frame.
template <typename Visit> void ForEachFlags(Frame& frame, Visit visit) {
    for (const auto& comment : frame.Comments)
        visit(comment->Flags);
    for (const auto& node : frame.Nodes) {
        visit(node->Flags);
        for (const auto& port : node->Ports)
            visit(port->Flags);
    }
    for (const auto& wire : frame.Wires)
        visit(wire->Flags);
}

// The edited object is laid out again from what it holds, not from the edit buffer.
void RelayOutEdited(const EditorState& editor) {
    if (editor.EditComment) editor.EditComment->Flags |= ObjectFlag::NeedsLayout;
    if (editor.EditNode) editor.EditNode->Flags |= ObjectFlag::NeedsLayout;
}

} // namespace

EditingHidden::EditingHidden(Circuit& circuit)
    : circuit_(circuit), editor_(std::make_unique<EditorState>(Editor())),
      pending_(PreviewNode().Function), values_(ValueLabelsShown()) {
    RelayOutEdited(*editor_);
    ForEachFlags(ShownFrame(circuit), [this](int& flags) {
        flags_.insert(&flags, flags);
        flags &= ~kEditingFlags;
    });
    // A fresh state: nothing under the mouse, nothing edited, dragged, banded or wired.
    Editor() = EditorState();
    PreviewNode().Function = nullptr;
    ShowValueLabels(false);
}

EditingHidden::~EditingHidden() {
    ForEachFlags(ShownFrame(circuit_), [this](int& flags) {
        flags = (flags & ~kEditingFlags) | (flags_.value(&flags) & kEditingFlags);
    });
    Editor() = *editor_;
    RelayOutEdited(*editor_);
    PreviewNode().Function = pending_;
    ShowValueLabels(values_);
}

} // namespace flow
