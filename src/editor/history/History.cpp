#include "editor/history/History.h"

#include "editor/canvas/OpenViews.h"
#include "editor/history/CompoundEdit.h"
#include "editor/history/DefinitionSteps.h"
#include "editor/history/HistorySteps.h"
#include "model/Expansion.h"
#include "model/Model.h"
#include "model/SubCircuits.h"

#include <QUndoStack>

#include <algorithm>

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

// The wires, frame by frame, that end at a port of an instance standing for one of the pins
// about to be removed from the frame.
std::vector<std::pair<Frame*, FrameObjects>> WiresToPinsGoing(Circuit& circuit, const Frame& frame,
                                                              const FrameObjects& removing) {
    std::vector<std::pair<Frame*, FrameObjects>> found;
    const FunctionDef* definition = frame.Definition;
    std::vector<Int> pins;
    for (const Node* node : removing.Nodes)
        if (IsPin(*node)) pins.push_back(node->Id);
    if (!definition || pins.empty()) return found;
    std::vector<Frame*> frames{&circuit.MainFrame};
    for (const auto& other : circuit.SubCircuits)
        frames.push_back(&BodyOf(*other));
    for (Frame* holder : frames) {
        FrameObjects wires;
        for (const auto& node : holder->Nodes) {
            if (node->Function != definition) continue;
            for (const auto& port : node->Ports)
                if (std::find(pins.begin(), pins.end(), port->Id) != pins.end())
                    wires.Wires.insert(wires.Wires.end(), port->Wires.begin(), port->Wires.end());
        }
        // A wire between two such ports is found at both ends.
        std::sort(wires.Wires.begin(), wires.Wires.end());
        wires.Wires.erase(std::unique(wires.Wires.begin(), wires.Wires.end()), wires.Wires.end());
        if (!wires.Wires.empty()) found.emplace_back(holder, std::move(wires));
    }
    return found;
}

} // namespace

void RecordStep(Circuit& circuit, std::unique_ptr<HistoryStep> step) {
    if (QUndoStack* history = HistoryOf(circuit))
        Push(*history, step.release());
    else
        step->redo();
}

void RemoveSubCircuit(Circuit& circuit, FunctionDef& definition) {
    RecordStep(circuit,
               std::make_unique<SubCircuitStep>(circuit, QStringLiteral("Delete Sub-circuit"),
                                                definition, SubCircuitStep::Change::Removed));
}

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

QUndoStack* HistoryOf(const Circuit& circuit) {
    const CircuitView* view = ViewOf(circuit);
    return view ? view->History : nullptr;
}

void RecordGroupEdit(Circuit& circuit, const QString& name, const FrameObjects& removing,
                     const std::function<FrameObjects()>& edit) {
    QUndoStack* history = HistoryOf(circuit);
    if (!history) {
        edit();
        return;
    }
    Frame& frame = ShownFrame(circuit);
    const auto outside = WiresToPinsGoing(circuit, frame, removing);
    if (!outside.empty()) {
        CompoundEdit compound(circuit, name);
        for (const auto& [holder, wires] : outside)
            compound.Edit(*holder, wires, [&wires = wires] {
                for (Wire* wire : wires.Wires)
                    DeleteWire(wire);
                return FrameObjects{};
            });
        compound.Edit(frame, removing, edit);
        compound.Commit();
        return;
    }
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

void TakeOut(const FrameObjects& objects) {
    for (Wire* wire : objects.Wires)
        DeleteWire(wire);
    for (Node* node : objects.Nodes) {
        LeaveInstance(*node);
        ForgetNode(node);
        DeleteNode(node);
    }
    for (Comment* comment : objects.Comments) {
        ForgetComment(comment);
        DeleteComment(comment);
    }
}

void DeleteObjects(Circuit& circuit, const QString& name, const FrameObjects& objects) {
    RecordGroupEdit(circuit, name, objects, [&] {
        TakeOut(objects);
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
    RecordStep(circuit, std::make_unique<MoveStep>(circuit, name, std::move(shifts), mergeable));
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
    RecordStep(*circuit, std::make_unique<ValueStep>(*circuit, name, node.Id,
                                                     ValueStep::Value{port->Value, port->Text},
                                                     ValueStep::Value{value, text}));
}

void ChangeInputValues(Circuit& circuit, const std::vector<NewInputValue>& values) {
    std::vector<ValueStep::Change> changes;
    for (const NewInputValue& value : values) {
        const Port* port = FirstPort(*value.Input);
        if (port && (port->Value != value.Number || port->Text != value.Text))
            changes.push_back(
                {value.Input->Id, {port->Value, port->Text}, {value.Number, value.Text}});
    }
    if (changes.empty()) return;
    RecordStep(circuit, std::make_unique<ValueStep>(circuit, QStringLiteral("Set Inputs"),
                                                    circuit.MainFrame, std::move(changes)));
}

void ChangeCommentText(Comment& comment, const QString& text) {
    Circuit* circuit = comment.Frame ? comment.Frame->Owner : nullptr;
    if (!circuit || comment.Text == text) return;
    RecordStep(*circuit,
               std::make_unique<CommentTextStep>(*circuit, comment.Id, comment.Text, text));
}

} // namespace flow
