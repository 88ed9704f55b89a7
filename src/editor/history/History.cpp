#include "editor/history/History.h"

#include "editor/canvas/EditorState.h"
#include "editor/history/HistorySteps.h"
#include "engine/Expansion.h"
#include "model/Model.h"
#include "model/SubCircuits.h"

#include <QUndoStack>

namespace flow {

namespace {

HistoryStep* StepAt(const QUndoStack& history, int index) {
    // Every step on a circuit's history is made here, and the history lets it be changed.
    return const_cast<HistoryStep*>(dynamic_cast<const HistoryStep*>(history.command(index)));
}

// Forgets the oldest steps beyond the memory budget.
void KeepWithinBudget(QUndoStack& history) {
    std::size_t kept = 0;
    for (int i = history.count() - 1; i >= 0; --i) {
        HistoryStep* step = StepAt(history, i);
        if (!step || step->isObsolete()) return;
        kept += step->Bytes();
        if (kept <= HistoryBudget() || i == history.count() - 1) continue;
        for (int older = i; older >= 0; --older) {
            HistoryStep* forgotten = StepAt(history, older);
            if (!forgotten || forgotten->isObsolete()) break;
            forgotten->Forget();
        }
        return;
    }
}

void Push(QUndoStack& history, QUndoCommand* step) {
    history.push(step);
    KeepWithinBudget(history);
}

// The step goes on the circuit's history, which carries it out; without one it is just made.
void Record(Circuit& circuit, std::unique_ptr<QUndoCommand> step) {
    if (QUndoStack* history = HistoryOf(circuit))
        Push(*history, step.release());
    else
        step->redo();
}

} // namespace

std::size_t& HistoryBudget() {
    static std::size_t budget = kHistoryBudget;
    return budget;
}

std::size_t HistoryBytes(const QUndoStack& history) {
    std::size_t bytes = 0;
    for (int i = 0; i < history.count(); ++i)
        if (const HistoryStep* step = StepAt(history, i)) bytes += step->Bytes();
    return bytes;
}

QUndoStack* CreateHistory(Circuit& circuit, QObject* window) {
    auto* history = new QUndoStack(window);
    history->setUndoLimit(kHistoryLimit);
    circuit.History = history;
    return history;
}

QUndoStack* HistoryOf(const Circuit& circuit) {
    return qobject_cast<QUndoStack*>(circuit.History);
}

void RecordGroupEdit(Circuit& circuit, const QString& name, const FrameObjects& removing,
                     const std::function<FrameObjects()>& edit) {
    QUndoStack* history = HistoryOf(circuit);
    if (!history) {
        edit();
        return;
    }
    Frame& frame = ShownFrame(circuit);
    TypesById before = CaptureTypes(frame);
    auto removed = std::make_unique<GroupSnapshot>(frame, removing);
    const FrameObjects added = edit();
    auto made = std::make_unique<GroupSnapshot>(frame, added);
    if (removed->Empty() && made->Empty()) return;
    TypesById after = CaptureTypes(frame);
    FollowDefinitions(circuit);
    TypesById changedBefore = ChangedTypes(before, after);
    TypesById changedAfter = ChangedTypes(after, before);
    Push(*history, new GroupStep(circuit, name, std::move(removed), std::move(made),
                                 std::move(changedBefore), std::move(changedAfter)));
}

void DeleteObjects(Circuit& circuit, const QString& name, const FrameObjects& objects) {
    RecordGroupEdit(circuit, name, objects, [&] {
        for (Wire* wire : objects.Wires)
            DeleteWire(wire);
        for (Node* node : objects.Nodes) {
            ForgetNode(node);
            DeleteNode(node);
        }
        for (Comment* comment : objects.Comments) {
            ForgetComment(comment);
            DeleteComment(comment);
        }
        return FrameObjects{};
    });
}

namespace {

std::vector<MoveStep::Shift> AllBy(const FrameObjects& objects, Int dx, Int dy) {
    std::vector<MoveStep::Shift> shifts;
    if (dx == 0 && dy == 0) return shifts;
    for (const Node* node : objects.Nodes)
        shifts.push_back({node->Id, dx, dy});
    for (const Comment* comment : objects.Comments)
        shifts.push_back({comment->Id, dx, dy});
    return shifts;
}

void RecordMove(Circuit& circuit, const QString& name, std::vector<MoveStep::Shift> shifts,
                bool mergeable) {
    std::erase_if(shifts, [](const MoveStep::Shift& s) { return s.DX == 0 && s.DY == 0; });
    if (shifts.empty()) return;
    Record(circuit, std::make_unique<MoveStep>(circuit, name, std::move(shifts), mergeable));
}

} // namespace

void MoveObjects(Circuit& circuit, const FrameObjects& objects, Int dx, Int dy) {
    RecordMove(circuit, QStringLiteral("Move"), AllBy(objects, dx, dy), false);
}

void NudgeObjects(Circuit& circuit, const FrameObjects& objects, Int dx, Int dy) {
    RecordMove(circuit, QStringLiteral("Move"), AllBy(objects, dx, dy), true);
}

void ShiftObjects(Circuit& circuit, const QString& name, std::vector<MoveStep::Shift> shifts) {
    RecordMove(circuit, name, std::move(shifts), false);
}

void ChangeConstantValue(Node& node, const QString& name, Int value, const QString& text) {
    Circuit* circuit = OwnerCircuit(node);
    const Port* port = node.PortArray.size() > 1 ? node.PortArray[1] : nullptr;
    if (!circuit || !port || (port->Value == value && port->Text == text)) return;
    Record(*circuit, std::make_unique<ValueStep>(*circuit, name, node.Id,
                                                 ValueStep::Value{port->Value, port->Text},
                                                 ValueStep::Value{value, text}));
}

void ChangeCommentText(Comment& comment, const QString& text) {
    Circuit* circuit = comment.Frame ? comment.Frame->Owner : nullptr;
    if (!circuit || comment.Text == text) return;
    Record(*circuit, std::make_unique<CommentTextStep>(*circuit, comment.Id, comment.Text, text));
}

} // namespace flow
