#include "editor/history/ClipboardText.h"

#include "editor/canvas/OpenViews.h"
#include "editor/history/CompoundEdit.h"
#include "editor/history/ObjectCopy.h"
#include "editor/history/PastedDefinitions.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"
#include "model/Coordinates.h"
#include "model/Inputs.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"
#include "render/CommentDrawing.h"
#include "render/NodeDrawing.h"

#include <QMimeData>

#include <cmath>

namespace flow {

namespace {

bool IsSelected(int flags) {
    return (flags & ObjectFlag::Selected) != 0;
}

void MoveGroup(const FrameObjects& objects, Int dx, Int dy) {
    for (Comment* comment : objects.Comments)
        MoveObject(*comment, SaturatedSum(comment->X, dx), SaturatedSum(comment->Y, dy));
    for (Node* node : objects.Nodes)
        MoveObject(*node, SaturatedSum(node->X, dx), SaturatedSum(node->Y, dy));
}

} // namespace

void SelectOnly(Frame& frame, const FrameObjects& objects) {
    const auto deselect = [](int& flags) { flags &= ~ObjectFlag::Selected; };
    for (const auto& comment : frame.Comments)
        deselect(comment->Flags);
    for (const auto& node : frame.Nodes) {
        deselect(node->Flags);
        for (const auto& port : node->Ports)
            deselect(port->Flags);
    }
    for (const auto& wire : frame.Wires)
        deselect(wire->Flags);
    for (Comment* comment : objects.Comments)
        comment->Flags |= ObjectFlag::Selected;
    for (Node* node : objects.Nodes)
        node->Flags |= ObjectFlag::Selected;
}

FrameObjects SelectedObjectsWithInnerWires(const Frame& frame) {
    FrameObjects selected;
    for (const auto& comment : frame.Comments)
        if (IsSelected(comment->Flags)) selected.Comments.push_back(comment.get());
    for (const auto& node : frame.Nodes)
        if (IsSelected(node->Flags)) selected.Nodes.push_back(node.get());
    const auto selectedNode = [](const Port* port) {
        return port && port->Node && IsSelected(port->Node->Flags);
    };
    for (const auto& wire : frame.Wires)
        if (selectedNode(wire->Source) && selectedNode(wire->Destination))
            selected.Wires.push_back(wire.get());
    return selected;
}

FrameObjects SelectedObjectsWithSelectedWires(const Frame& frame) {
    FrameObjects objects;
    for (const auto& wire : frame.Wires)
        if (IsSelected(wire->Flags)) objects.Wires.push_back(wire.get());
    for (const auto& node : frame.Nodes)
        if (IsSelected(node->Flags)) objects.Nodes.push_back(node.get());
    for (const auto& comment : frame.Comments)
        if (IsSelected(comment->Flags)) objects.Comments.push_back(comment.get());
    return objects;
}

QMimeData* CircuitMimeData(const std::string& text) {
    auto* data = new QMimeData;
    const QByteArray bytes(text.data(), qsizetype(text.size()));
    data->setData(QString::fromLatin1(kCircuitMimeType), bytes);
    data->setText(QString::fromUtf8(bytes));
    return data;
}

QByteArray CircuitTextOf(const QMimeData* data, qsizetype largest, bool* tooLarge) {
    if (tooLarge) *tooLarge = false;
    if (!data) return {};
    const auto fits = [&](qsizetype size) {
        const bool fit = largest < 0 || size <= largest;
        if (tooLarge) *tooLarge = !fit;
        return fit;
    };
    const QString type = QString::fromLatin1(kCircuitMimeType);
    if (data->hasFormat(type)) {
        QByteArray bytes = data->data(type);
        return fits(bytes.size()) ? bytes : QByteArray();
    }
    if (!data->hasText()) return {};
    const QString text = data->text();
    return fits(text.size()) ? text.toUtf8() : QByteArray();
}

std::string CopiedCircuitText(const Circuit& circuit, const FrameObjects& objects) {
    return CircuitFragmentText(objects, DefinitionsNeeded(circuit, objects));
}

FrameObjects PasteCircuitText(Circuit& circuit, std::string_view text,
                              std::optional<QPointF> centre, Int offset, ReadLosses* losses,
                              const PasteStep& step) {
    // The text is read on its own first: its sub-circuits are matched to the circuit's before
    // anything of it is placed.
    Frame& frame = ShownFrame(circuit);
    // Pins are read only into a sub-circuit's body; the text's frame stands for the one shown.
    FunctionDef shownBody;
    Circuit read;
    read.MainFrame.Owner = &read;
    if (DefinitionOf(frame)) read.MainFrame.Definition = &shownBody;
    ReadLosses ignored;
    ReadLosses& account = losses ? *losses : ignored;
    ReadCircuitText(read, text, account);
    if (account.InputsInBodies > 0) {
        if (step.Refusal)
            *step.Refusal = QStringLiteral("Nothing pasted: inputs belong to the main frame; a "
                                           "sub-circuit's body takes its values through its pins");
        return {};
    }
    const FrameObjects objects = AllObjectsOf(read.MainFrame);
    if (objects.Empty()) return {};
    PastePlan plan = PlanPastedDefinitions(read, circuit);
    if (const QString refusal = PasteRecursion(read, plan, frame); !refusal.isEmpty()) {
        if (step.Refusal) *step.Refusal = refusal;
        return {};
    }
    const auto choose = [&plan](FunctionDef* function) { return TargetOf(plan, function); };
    CompoundEdit edit(circuit, step.Name);
    AddPlannedDefinitions(circuit, plan, edit);
    const FrameObjects pasted = edit.Edit(frame, {}, [&] {
        const FrameObjects made = CopyObjects(objects, frame, 0, 0, choose).Made;
        // Each input is known by its name alone: a pasted one takes a free one.
        for (Node* node : made.Nodes)
            if (IsInput(*node)) SetInputName(*node, FreeInputName(frame, InputName(*node), node));
        if (centre) {
            const QPointF shift = *centre - ObjectsBox(made).center();
            // Boxes read from text may lie anywhere an Int reaches.
            MoveGroup(made, NearestUnit(shift.x()), NearestUnit(shift.y()));
        } else {
            MoveGroup(made, offset, offset);
        }
        if (step.Arrange) step.Arrange(made);
        SelectOnly(frame, made);
        return made;
    });
    edit.Commit();
    return pasted;
}

} // namespace flow
